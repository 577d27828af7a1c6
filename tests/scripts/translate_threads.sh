#!/bin/bash
# The translation of a document large enough to be worked on by two
# threads must be the same, byte for byte on both streams and in its exit
# status, as with one (QLX_THREADS=1): block and inline texts, links
# followed forwards and backwards, warnings in the middle of the walk, the
# report of unprocessed elements, and specs that write messages in the
# middle of the walk (an unset each_A, unknown SDATA names, transpecs not
# found, Message texts, CALS tables, _set, gathered blanks, a Quit near
# the end); then the same on the real documents of tests/realdocs (read by
# onsgmls, where installed), repeated to 30,000+ elements, with those
# specs and the library's.
# Usage: translate_threads.sh path/to/qlx
set -eu
exec python3 - "$1" "$(cd "$(dirname "$0")/../.." && pwd)" <<'PYTHON'
import glob, os, shutil, subprocess, sys, tempfile

qlx = os.path.abspath(sys.argv[1])
src = sys.argv[2]
tmp = tempfile.mkdtemp(prefix="qlx-threads-")

def write(name, text):
    path = os.path.join(tmp, name)
    with open(path, "w") as f:
        f.write(text)
    return path

parts = ["(DOC\n"]
sections = 600  # 30,000 elements: enough for the second thread
for s in range(sections):
    parts.append("AID TOKEN S%d\n(SEC\n(TITLE\n- Section %d\n)TITLE\n" % (s, s))
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
    "blanks": "Var: _blanks drop\nGI: SEC\nEndText: </sec>\n-\n"
              "GI: PARA\nStartText: ^<p>\n-\n"
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
# Messages every run must write: a spec whose messages went missing on
# both runs alike would pass the comparison.
expected_messages = {"each_A": 9000}

def run(threads, args):
    env = dict(os.environ, QLX_THREADS=str(threads))
    p = subprocess.run([qlx] + args, env=env, capture_output=True, timeout=300,
                       stdin=subprocess.DEVNULL)
    return p.returncode, p.stdout, p.stderr

failures = 0
def check(label, args, status=0, messages=None):
    global failures
    one = run(1, args)
    two = run(2, args)
    if one != two:
        failures += 1
        which = [k for k, a, b in zip(("status", "stdout", "stderr"), one, two) if a != b]
        print("FAIL %s: %s differ" % (label, ", ".join(which)))
    elif one[0] != status or not one[1]:
        failures += 1
        print("FAIL %s: status %d, %d bytes out" % (label, one[0], len(one[1])))
    elif messages is not None and one[2].count(b"\n") < messages:
        failures += 1
        print("FAIL %s: %d message lines, %d expected" % (label, one[2].count(b"\n"), messages))
    else:
        print("ok   %s: %d bytes out, %d bytes of messages" % (label, len(one[1]), len(one[2])))

for name, text in specs.items():
    spec = write(name + ".ts", text)
    for extra in ([], ["-V"], ["-W"]):
        check(" ".join([name] + extra), extra + ["-t", spec, doc], expected_status.get(name, 0),
              expected_messages.get(name) if not extra else None)

# The real documents, each read as its directory's build reads it.
if shutil.which("onsgmls") and os.path.isdir("/usr/share/xml/docbook/schema/dtd/4.3"):
    body = []
    for path in sorted(glob.glob(src + "/tests/realdocs/books/*") + glob.glob(src + "/tests/realdocs/man/*")):
        if path.endswith(".sgml"):
            cmd, env = ["onsgmls", "-b", "utf-8", path], os.environ
        elif path.endswith(".xml"):
            cmd = ["onsgmls", "-b", "utf-8", src + "/lib/xml-esis.dcl", path]
            env = dict(os.environ, SP_CHARSET_FIXED="YES", SP_ENCODING="XML")
        else:
            continue
        esis = subprocess.run(cmd, cwd=os.path.dirname(path), env=env, capture_output=True).stdout
        body += [l for l in esis.decode("utf-8", "replace").split("\n") if l and l != "C"]
    elements = sum(1 for l in body if l.startswith("("))
    copies = 30000 // max(elements, 1) + 1
    real = write("real.esis", "\n".join(["(ALL"] + body * copies + [")ALL", "C", ""]))
    print("real documents: %d elements" % (elements * copies))
    real_specs = {
        "each_A": "GI: PARA\nStartText: <${each_A}>\n-\nGI: *\n-\n",
        "warnings": "GI: PARA\nStartText: ^<p>\nEndText: </p>^\n-\nGI: TITLE\nStartText: ^\n-\n",
        "tables": specs["tables"],
        "set": "GI: TITLE\nStartText: ^${_set last ${_gi}}\n-\nGI: PARA\nStartText: ${last}:\n-\nGI: *\n-\n",
    }
    for name, text in real_specs.items():
        check("real " + name, ["-t", write("real-" + name + ".ts", text), real])
    for ts in ("docbook-html.ts", "docbook-man.ts", "docbook-latex.ts"):
        check("real " + ts, ["-l", src + "/lib", "-t", ts, real])
else:
    print("real documents: onsgmls or the DocBook DTDs are not installed; skipped")
sys.exit(1 if failures else 0)
PYTHON
