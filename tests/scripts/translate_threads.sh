#!/bin/bash
# The translation of a document large enough to be worked on by two
# threads must be the same, byte for byte on both streams and in its exit
# status, as with one (QLX_THREADS=1): block and inline texts, links
# followed forwards and backwards, warnings in the middle of the walk, the
# report of unprocessed elements.
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
        parts.append("ASKIP CDATA %s\n(PARA\n-text %d.%d & more\n" % ("yes" if p % 11 == 10 else "no", s, p))
        if p % 4 == 0:
            parts.append("ALINKEND CDATA S%d\n(XREF\n)XREF\n" % ((s * 7 + 5) % sections))
        if p % 3 == 1:
            parts.append("AROLE CDATA strong\n(EMPH\n-bold\n)EMPH\n")
        if p % 9 == 4:
            parts.append("?pi %d\n" % p)
        parts.append(")PARA\n")
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
}

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
        elif one[0] != 0 or not one[1]:
            failures += 1
            print("FAIL %s: status %d, %d bytes out" % (label, one[0], len(one[1])))
        else:
            print("ok   %s: %d bytes out, %d bytes of messages" % (label, len(one[1]), len(one[2])))
sys.exit(1 if failures else 0)
PYTHON
