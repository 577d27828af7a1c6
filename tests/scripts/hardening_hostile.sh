#!/bin/bash
# Hostile documents: a 1 GB data record streamed through a pipe, 100,000
# levels of nesting through every mode (reports, translation, browser), a
# million attributes on one element, a million siblings, NUL bytes and
# invalid UTF-8 in data, CR-LF line ends.  Each run ends with a defined
# exit status and, where the input is unusable, a clear message, within
# bounded time and memory.  QLX_HARDENING_SKIP_HUGE=1 skips the 1 GB case.
# Usage: hardening_hostile.sh path/to/qlx
set -eu
here=$(cd "$(dirname "$0")" && pwd)
exec python3 - "$1" "$here" <<'PYTHON'
import os, re, sys
sys.path.insert(0, sys.argv[2])
from hardening import Runner

r = Runner(sys.argv[1])
N = 100000
M = 1000000

def size_of(name):
    return os.path.getsize(r.path(name))

def output_has(name, pattern):
    # Line by line: this process stays small, and the peak memory that
    # wait4 reports for a case includes what its parent held at the fork.
    def check():
        with open(r.path(name), "rb") as f:
            for line in f:
                if re.search(pattern, line.decode("latin-1").rstrip("\n")):
                    return None
        return f"{name} lacks /{pattern}/"
    return check

# --- One data record of 1 GB, never stored: generated into the pipe.
GB = 1 << 30
r.case("1 GB data record through a pipe (-S)",
       f"{{ printf '(DOC\\n-'; head -c {GB} /dev/zero | tr '\\0' a; printf '\\n)DOC\\n'; }}"
       " | $QLX -S >huge.out", 0, None, 120, 2 * 1024 + 512,
       check=output_has("huge.out", rf"^DOC +1 +inf% +{GB} +{GB}$"), huge=True)

# --- 100,000 levels: E inside E ..., the deepest a D with an ID and data.
with open(r.path("deep.esis"), "w") as f:
    f.write("(E\n" * (N - 1))
    f.write("AID TOKEN DEEP\nATYPE CDATA last\n(D\n-deepest data\n)D\n")
    f.write(")E\n" * (N - 1))
r.write("deep.ts",
        "GI: D\nAttValue: TYPE last\nStartText: [${_gi} ${_nchild} ${TYPE} ${_path}]\n"
        "EndText: ${_relation parent E 2}\n-\n"
        "GI: E\nContext: E E\nStartText: <\nEndText: >\n-\n"
        "GI: E\nStartText: {\nEndText: }\n-\n"
        "SpecID: 2\nGI: _named\nIgnore: all\nStartText: ^\n-\n")
r.case("100,000 levels: -u -x -S -I", "$QLX -u -x -S -I deep.esis >deep.out", 0, None, 30, 256,
       check=output_has("deep.out", r"^Maximum element depth: 99999\.$"))
r.case("100,000 levels: -h (quadratic report)", "$QLX -h deep.esis >/dev/null", 0, None,
       90, 256)
r.case("100,000 levels: translation", "$QLX -t deep.ts deep.esis >deep.tr", 0, None, 30, 256,
       check=lambda: None if size_of("deep.tr") > 2 * N else "short translation")
r.case("100,000 levels: translation from -i DEEP", "$QLX -t deep.ts -i DEEP deep.esis >deep.i",
       0, None, 30, 256, check=output_has("deep.i", r"^\[D 0 last (E\(0\) ){99999}D\]deepest data"))
r.case("100,000 levels: validation", "$QLX -v -t deep.ts deep.esis", 0, None, 30, 256)
r.write("deep.cmd", "cd id DEEP\nls\nwhere\npwd\nsum .\ntree .\nstat .\ncont .\n"
        "q ancestor E\nfind gi D\nfind . gi D\nid -l DEEP\ntran deep.ts\ncd /\nls\nsum\nstat\ncont\n"
        "tran deep.ts\nquit\n")
r.case("100,000 levels: browser", "$QLX -b -Z deep.esis <deep.cmd >deep.br", 0, None, 60, 256,
       check=output_has("deep.br", r"^Yes, 'E' is ancestor of 'D'\.$"))

# --- A million attributes on one element.
with open(r.path("atts.esis"), "w") as f:
    for i in range(M):
        f.write(f"AA{i} CDATA v{i}\n")
    f.write("(E\n-x\n)E\n")
r.write("atts.ts", "GI: E\nAttValue: A999999 v9+\nStartText: [${A999999}][${_attval A0 v0 2}]\n"
        "EndText: ${_allatts}\n-\nSpecID: 2\nGI: _named\nIgnore: all\nStartText: (two)\n-\n")
r.case("1,000,000 attributes: -u -S -x -I", "$QLX -u -S -x -I atts.esis >atts.out", 0, None, 30, 1024,
       check=output_has("atts.out", r"^ +999999: A999999 = v999999$"))
r.case("1,000,000 attributes: translation", "$QLX -t atts.ts atts.esis >atts.tr", 0, None, 30, 1024,
       check=output_has("atts.tr", r'^\[v999999\]\[\(two\)\]x.* A999999="v999999"$'))
r.case("1,000,000 attributes: browser", "printf 'ls\\nquit\\n' | $QLX -b atts.esis >atts.br", 0,
       None, 30, 1024, check=output_has("atts.br", r"^1000000 attributes:$"))

# --- A million siblings.
with open(r.path("wide.esis"), "w") as f:
    f.write("(R\n")
    for i in range(M):
        f.write(f"AID TOKEN I{i}\n(E\n-{i}\n)E\n" if i % 1000 == 0 else "(E\n)E\n")
    f.write(")R\n")
r.write("wide.ts", "GI: E\nNthChild: -1\nStartText: [last of ${_nchild}]\n-\n"
        "GI: E\nContext: R\nStartText: ${_gi L}\nEndText: ${_relation sibling-1 E 2}\n-\n"
        "GI: R\nStartText: ${_nchild} ${_nchild E} children^\nEndText: ^${_find gi E 3}\n-\n"
        "SpecID: 2\nGI: _named\nIgnore: all\nStartText: ,\n-\n"
        "SpecID: 3\nGI: _named\nIgnore: all\nStartText: ${ID}\n-\n")
r.case("1,000,000 siblings: all reports", "$QLX -u -h -S -x -I wide.esis >wide.out", 0, None, 60, 1024,
       check=output_has("wide.out", r"^I999000:E:-:-?\d+$|^Total of 1000000 elements used, 2 different ones\.$"))
r.case("1,000,000 siblings: translation", "$QLX -t wide.ts wide.esis >wide.tr", 0, None, 60, 1024,
       check=output_has("wide.tr", r"^1000000 1000000 children$"))
r.write("wide.cmd", "ls -n\ncd 999999\nls\nwhere\nq sibling E\ncd /\nfind gi E\nid I999000\n"
        "stat\nquit\n")
r.case("1,000,000 siblings: browser", "$QLX -b -Z wide.esis <wide.cmd >wide.br", 0, None, 60, 1024,
       check=output_has("wide.br", r"^My order among my siblings: 999999$"))

# --- Bytes that are not text.
r.write("nul.esis", "(DOC\n-before\nA\x00\n)DOC\n".replace("A\x00", "-a\x00b"))
r.case("NUL byte in data", "$QLX -S nul.esis", 1,
       r"^Error: NUL character in ESIS record 3\.$", 10, 128)
r.case("NUL byte in data (standard input)", "$QLX -S <nul.esis", 1,
       r"^Error: NUL character in ESIS record 3\.$", 10, 128)
r.write("bin.esis", b"(DOC\n-caf\xc3 \xff\xfe \xed\xa0\x80 \xc0\xaf end\n)DOC\n", "wb")
r.write("bin.ts", "GI: DOC\nStartText: <\nEndText: >\n-\n")
r.case("invalid UTF-8 in data", "$QLX -t bin.ts bin.esis >bin.out", 0, None, 10, 128,
       check=lambda: None if open(r.path("bin.out"), "rb").read() ==
       b"<caf\xc3 \xff\xfe \xed\xa0\x80 \xc0\xaf end>" else "bytes changed")

# --- CR-LF line ends read as LF ones.
lf = "sx.sgml\nEent NDATA gif\nAID TOKEN D1\n(DOC\nL3\n-one\\ntwo\n(P\n-x\n)P\n?pi\n)DOC\n"
r.write("lf.esis", lf)
r.write("crlf.esis", lf.replace("\n", "\r\n"), "w")
r.write("crlf.ts", "GI: DOC\nStartText: <${_gi}:${ID}>\n-\nGI: P\nStartText: [\nEndText: ]\n-\n"
        "GI: _pi\nReplace: (pi)\n-\n")
r.case("CR-LF line ends (translation)", "$QLX -t crlf.ts crlf.esis >crlf.out && "
       "$QLX -t crlf.ts lf.esis >lf.out && cmp crlf.out lf.out", 0, None, 10, 128,
       check=output_has("crlf.out", r"^<DOC:D1>one$"))
r.case("CR-LF line ends (reports)", "$QLX -u -S -x -I <crlf.esis >crlf.rep && "
       "$QLX -u -S -x -I <lf.esis >lf.rep && cmp crlf.rep lf.rep", 0, None, 10, 128,
       check=output_has("crlf.rep", r"^D1:DOC:-:0$"))
sys.exit(r.finish())
PYTHON
