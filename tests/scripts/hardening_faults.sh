#!/bin/bash
# Fault injection: every way the world around a run can fail ends in a
# clear message and a defined exit status (1 where output is lost or the
# input is unusable), within bounded time and memory.
# Usage: hardening_faults.sh path/to/qlx
set -eu
here=$(cd "$(dirname "$0")" && pwd)
exec python3 - "$1" "$here" <<'PYTHON'
import os, sys
sys.path.insert(0, sys.argv[2])
from hardening import Runner

r = Runner(sys.argv[1])
doc = r.write("doc.esis", "(DOC\n(P\n-hello\n)P\n)DOC\n")
r.write("one.esis", "(DOC\n-hello\n)DOC\n")
r.write("spec.ts", "GI: DOC\nStartText: <doc>\nEndText: </doc>\n-\nGI: P\nStartText: <p>\n-\n")
os.mkdir(r.path("adir"))

# Output lost: a full device, a file in a missing directory, a closed
# standard output.
r.case("stdout on /dev/full (translation)", '$QLX -t spec.ts doc.esis >/dev/full', 1,
       r"error writing output 'standard output': No space left on device", 10, 64)
r.case("stdout on /dev/full (reports)", '$QLX -u -h -S -x -I doc.esis >/dev/full', 1,
       r"error writing output 'standard output': No space left on device", 10, 64)
r.case("-o /dev/full", '$QLX -t spec.ts -o /dev/full doc.esis', 1,
       r"error writing output '/dev/full': No space left on device", 10, 64)
r.case("-o in a missing directory", '$QLX -t spec.ts -o missing/dir/out doc.esis', 1,
       r"^Could not open output 'missing/dir/out' file for writing\.\nNo such file or directory",
       10, 64)
# A reader that goes away: the rest of the output cannot be written (a
# broken pipe is reported, not a silent death by SIGPIPE).  The output is
# larger than the pipe and the output buffer together.
with open(r.path("long.esis"), "w") as f:
    f.write("(DOC\n")
    for i in range(40000):
        f.write("(P\n-paragraph %d of a long document, written to a reader that stops\n)P\n" % i)
    f.write(")DOC\n")
r.case("reader of a pipe gone (translation)",
       '$QLX -t spec.ts long.esis | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}', 1,
       r"error writing output 'standard output': Broken pipe", 10, 64)
r.case("reader of a pipe gone (reports)",
       '$QLX -u -h -x long.esis | head -c 1 >/dev/null; exit ${PIPESTATUS[0]}', 1,
       r"error writing output 'standard output': Broken pipe", 10, 64)
r.case("standard output closed (translation)", '$QLX -t spec.ts doc.esis >&-', 1,
       r"error writing output 'standard output': Bad file descriptor", 10, 64)
r.case("standard output closed (reports)", '$QLX -S doc.esis >&-', 1,
       r"error writing output 'standard output': Bad file descriptor", 10, 64)
r.case("standard output closed (browser)", 'echo ls | $QLX -b doc.esis >&-', 1,
       r"error writing output 'standard output': Bad file descriptor", 10, 64)

# Unusable input: a directory as the document, a directory as the spec
# file or the maps (as root nothing is unreadable by its mode, so a
# directory stands for the unreadable file).  The translation goes on
# without what it could not read and the run ends with status 1.
r.case("directory as the input", '$QLX -S adir', 1, r"^adir: Is a directory", 10, 64)
r.case("directory as the input (browser)", 'echo ls | $QLX -b adir', 1,
       r"^adir: Is a directory", 10, 64)
r.case("directory as the spec file", '$QLX -t adir doc.esis', 1,
       r"^adir: Is a directory", 10, 64)
r.case("directory as the SDATA map", '$QLX -t spec.ts -s adir doc.esis', 1,
       r"^Can not open SDATA file 'adir': Is a directory", 10, 64)
r.case("directory as the character map", '$QLX -t spec.ts -c adir doc.esis', 1,
       r"^Can not open character mapping file 'adir'\.\nIs a directory", 10, 64)
if os.geteuid() != 0:
    r.write("secret.cmap", "a b\n")
    os.chmod(r.path("secret.cmap"), 0)
    r.case("unreadable character map", '$QLX -t spec.ts -c secret.cmap doc.esis', 1,
           r"^Can not open character mapping file 'secret\.cmap'\.\nPermission denied", 10, 64)
r.write("include.ts", "GI: DOC\nStartText: [${_include adir}]\n-\n")
r.case("_include of a directory", '$QLX -t include.ts one.esis', 1,
       r"^Can not open included file 'adir': Is a directory", 10, 64)

# Commands that fail, and commands that print 100 MB.
r.write("fail.ts", "GI: DOC\nVar: v !exit 3\nStartText: [${_!false}][${_!no-such-command-qlx}][${v}]\n-\n")
r.case("commands that fail", '$QLX -t fail.ts one.esis', 0,
       r"^Warning: command 'false' exited with status 1\n"
       r"(.|\n)*no-such-command-qlx: not found\n"
       r"Warning: command 'no-such-command-qlx' exited with status 127\n", 10, 64)
r.case("command value that fails (-D)", "$QLX -D 'x=!exit 4' one.esis", 0,
       r"^Warning: command 'exit 4' exited with status 4$", 10, 64)
r.write("big.ts", "GI: DOC\nStartText: ${_!yes a | tr -d '\\n' | head -c 100000000}\n-\n")
out = r.path("big.out")
r.case("${_!command} printing 100 MB", '$QLX -t big.ts one.esis >big.out', 0, None, 60, 64,
       check=lambda: None if os.path.getsize(out) == 100000000 + len("hello")
       else f"output of {os.path.getsize(out)} bytes")
r.write("bigvar.ts", "GI: DOC\nVar: v !yes a | tr -d '\\n' | head -c 100000000\nStartText: ${v}\n-\n")
r.case("\"!\" value printing one 100 MB line", '$QLX -t bigvar.ts one.esis >bigvar.out', 0, None,
       60, 700,
       check=lambda: None if os.path.getsize(r.path("bigvar.out")) == 100000000 + len("hello")
       else "wrong output size")
r.write("yes.ts", "GI: DOC\nVar: v !yes | head -c 100000000\nStartText: [${v}]\n-\n")
r.case("\"!\" value printing 100 MB of lines", '$QLX -t yes.ts one.esis >yes.out', 0, None, 60, 64,
       check=lambda: None if open(r.path("yes.out")).read() == "[y]hello"
       else "not the first line")
sys.exit(r.finish())
PYTHON
