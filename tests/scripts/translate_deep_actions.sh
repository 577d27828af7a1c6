#!/bin/bash
# Named actions nest as deep as memory allows: a chain of 1,500 linked
# elements and one of 100,000, each element running the next one's action
# from inside its own, translate completely (no fixed limit cuts them
# off), with no message and status 0.
# Usage: translate_deep_actions.sh path/to/qlx
set -eu
exec python3 - "$1" <<'PYTHON'
import os, subprocess, sys, tempfile

qlx = os.path.abspath(sys.argv[1])
tmp = tempfile.mkdtemp(prefix="qlx-deep-")

def write(name, text):
    path = os.path.join(tmp, name)
    with open(path, "w") as f:
        f.write(text)
    return path

spec = write("chain.ts",
             "GI: DOC\nStartText: ${_id I0 10t}^\nIgnore: all\n-\n"
             # each link writes its ID, then runs the same action on the next
             "GI: _last\nSpecID: 10\nAttValue: ID ^END$\nIgnore: all\nStartText: end\n-\n"
             "GI: _link\nSpecID: 10\nIgnore: all\nStartText: ${ID},${_followlink NEXT 10t}\n-\n"
             "GI: *\n-\n")
failures = 0
for n in (1500, 100000):
    parts = ["(DOC\n"]
    for i in range(n):
        parts.append("AID TOKEN I%d\nANEXT CDATA %s\n(LINK\n)LINK\n" % (i, "I%d" % (i + 1) if i + 1 < n else "END"))
    parts.append("AID TOKEN END\n(LINK\n)LINK\n)DOC\n")
    doc = write("chain%d.esis" % n, "".join(parts))
    p = subprocess.run([qlx, "-t", spec, doc], capture_output=True, timeout=600,
                       stdin=subprocess.DEVNULL)
    want = "".join("I%d," % i for i in range(n)) + "end\n"
    if p.returncode != 0 or p.stderr or p.stdout.decode() != want:
        failures += 1
        print("FAIL chain of %d: status %d, %d bytes out (want %d), messages: %s"
              % (n, p.returncode, len(p.stdout), len(want), p.stderr[:300]))
    else:
        print("ok   chain of %d: %d bytes out" % (n, len(p.stdout)))
sys.exit(1 if failures else 0)
PYTHON
