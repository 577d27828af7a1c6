#!/bin/bash
# The translation of a document large enough to be worked on by two
# threads must be the same, byte for byte on both streams and in its exit
# status, as with one (QLX_THREADS=1): block and inline texts, links
# followed forwards and backwards, warnings in the middle of the walk, the
# report of unprocessed elements, and specs that write messages in the
# middle of the walk (an unset each_A, unknown SDATA names, transpecs not
# found, Message texts, CALS tables, _set, a Quit near the end).
# Usage: translate_threads.sh path/to/qlx
set -eu
exec python3 - "$1" <<'PYTHON'
import os, subprocess, sys, tempfile

qlx = os.path.abspath(sys.argv[1])
tmp = tempfile.mkdtemp(prefix="qlx-threads-")

def write(name, text):
    path = os.path.join(tmp, name)
    with open(path, "w") as f:
        f.write(text)
    return path

parts = ["(DOC\n"]
sections = 600  # 30,000 elements: enough for the second thread
for s in range(sections):
    parts.append("AID TOKEN S%d\n(SEC\n(TITLE\n-Section %d\n)TITLE\n" % (s, s))
    for p in range(30):
        role = "AROLE CDATA x\n" if p % 2 == 0 else ""
        parts.append("ASKIP CDATA %s\n%s(PARA\n-text %d.%d & more\n" % ("yes" if p % 11 == 10 else "no", role, s, p))
        if p % 13 == 6:
            parts.append("-\\|[zzz]\\| and \\|[amp]\\|\n")
        if p % 4 == 0:
            parts.append("ALINKEND CDATA S%d\n(XREF\n)XREF\n" % ((s * 7 + 5) % sections))
        if p % 3 == 1:
            parts.append("AROLE CDATA strong\n(EMPH\n-bold\n)EMPH\n")
        if p % 9 == 4:
            parts.append("?pi %d\n" % p)
        parts.append(")PARA\n")
    if s % 40 == 7:
        parts.append("(TABLE\nACOLS CDATA 2\n(TGROUP\n(TBODY\n")
        for r in range(3):
            parts.append("(ROW\n(ENTRY\n-a%d\n)ENTRY\n(ENTRY\n-b%d\n)ENTRY\n)ROW\n" % (r, r))
        parts.append(")TBODY\n)TGROUP\n)TABLE\n")
    parts.append(")SEC\n")
parts.append(")DOC\n")
doc = write("doc.esis", "".join(parts))

specs = {
    "block": "GI: DOC\nStartText: <doc>^\nEndText: ^</doc>^\n-\n"
             "GI: SEC\nStartText: ^<sec id=\"${ID:l}\">^\nEndText: ^</sec>^\n-\n"
             "GI: TITLE\nStartText: ^<h2>\nEndText: </h2>^\n-\n"
             "GI: PARA\nAttValue: SKIP yes\nIgnore: all\n-\n"
             "GI: PARA\nStartText: ^<p>\nEndText: </p>^\n-\n"
             "GI: EMPH\nStartText: <b>\nEndText: </b>\n-\n"
             "GI: XREF\nStartText: <a>${_followlink LINKEND 10}</a>\n-\n"
             "GI: _x\nSpecID: 10\nIgnore: all\nStartText: ${_followrel child TITLE 11}\n-\n"
             "GI: _t\nSpecID: 11\n-\n"
             "GI: _pi\nStartText: ^<?\nEndText: ?>^\n-\n"
             "GI: *\n-\n",
    "inline": "GI: SEC\nStartText: [${_gi l} ${_nchild PARA}\nEndText: ]\n-\n"
              "GI: PARA\nStartText: (\nEndText: )^\n-\n"
              "GI: EMPH\nVerbatim: yes\nStartText: *\nEndText: *\n-\n"
              "GI: XREF\nStartText: ${_id ${LINKEND} 11}\n-\n"
              "GI: _t\nSpecID: 11\nIgnore: all\nStartText: ->${ID}^\n-\n",
    # no spec for the processing instructions and no "*": warnings
    "warnings": "GI: SEC\nStartText: ^<sec>^\nEndText: ^</sec>^\n-\n"
                "GI: PARA\nAttValue: SKIP yes\nIgnore: all\n-\n"
                "GI: PARA\nStartText: ^<p>\nEndText: </p>^\n-\n"
                "GI: EMPH\nStartText: <b>\nEndText: </b>\n-\n",
    # ${each_A} outside a loop: a message for every other paragraph
    "each_A": "GI: PARA\nAttValue: ROLE x\nStartText: <${each_A}>\n-\n"
              "GI: SEC\nStartText: ^<sec>^\nEndText: ^</sec>^\n-\n"
              "GI: *\n-\n",
    "message": "GI: PARA\nAttValue: SKIP yes\nMessage: skipped ${_gi} ${_path}\\n\nIgnore: all\n-\n"
               "GI: PARA\nStartText: ^<p>\nEndText: </p>^\n-\n"
               "GI: TITLE\nStartText: ^\nMessage: title\n-\n"
               "GI: *\n-\n",
    "quit": "GI: SEC\nAttValue: ID S590\nQuit: stopped at the last sections\n-\n"
            "GI: SEC\nStartText: ^<sec>^\nEndText: ^</sec>^\n-\n"
            "GI: *\n-\n",
    "set": "GI: SEC\nStartText: ^<sec ${_set last ${ID}}>^\nEndText: ^</sec>^\n-\n"
           "GI: TITLE\nStartText: ${last}:\n-\n"
           "GI: *\n-\n",
    "tables": "GI: TABLE\nStartText: ${_calstable tbl tablestart}\nEndText: ${_calstable tbl tableend}\n-\n"
              "GI: TGROUP\nStartText: ${_calstable tbl tablegroup}\nEndText: ${_calstable tbl tablegroupend}\n-\n"
              "GI: ROW\nStartText: ${_calstable tbl rowstart}\nEndText: ${_calstable tbl rowend}\n-\n"
              "GI: ENTRY\nStartText: ${_calstable tbl entrystart}\nEndText: ${_calstable tbl entryend}\n-\n"
              "GI: SEC\nStartText: ^<sec>^\nEndText: ^</sec>^\n-\n"
              "GI: PARA\nStartText: ^<p>\n-\n"
              "GI: *\n-\n",
}
expected_status = {"quit": 1}

def run(threads, args):
    env = dict(os.environ, QLX_THREADS=str(threads))
    p = subprocess.run([qlx] + args, env=env, capture_output=True, timeout=300,
                       stdin=subprocess.DEVNULL)
    return p.returncode, p.stdout, p.stderr

failures = 0
for name, text in specs.items():
    spec = write(name + ".ts", text)
    for extra in ([], ["-V"], ["-W"]):
        args = extra + ["-t", spec, doc]
        one = run(1, args)
        two = run(2, args)
        label = " ".join([name] + extra)
        if one != two:
            failures += 1
            which = [k for k, a, b in zip(("status", "stdout", "stderr"), one, two) if a != b]
            print("FAIL %s: %s differ" % (label, ", ".join(which)))
        elif one[0] != expected_status.get(name, 0) or not one[1]:
            failures += 1
            print("FAIL %s: status %d, %d bytes out" % (label, one[0], len(one[1])))
        else:
            print("ok   %s: %d bytes out, %d bytes of messages" % (label, len(one[1]), len(one[2])))
sys.exit(1 if failures else 0)
PYTHON
