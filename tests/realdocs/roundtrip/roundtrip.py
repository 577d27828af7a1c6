#!/usr/bin/env python3
"""Round trip of real documents: what qlx reads from onsgmls's ESIS must be
what the same parser writes back as XML.

For each document under sgml/ and xml/ (XML goes through lib/xml-esis.dcl),
onsgmls's ESIS is written back by qlx under identity.ts (every element as a
tag with all its attributes, raw, and its data), and osx writes the source
as XML.  Both are brought to one form (tags with the attributes as ESIS
holds them, data as is, no processing instructions) and must be equal.
SDATA entity texts map to themselves, as osx writes them.

usage: roundtrip.py QLX
"""
import os
import re
import subprocess
import sys
import tempfile
import xml.parsers.expat

HERE = os.path.dirname(os.path.abspath(__file__))
LIB = os.path.join(HERE, "..", "..", "..", "lib")


def parser_command(tool, path):
    if path.endswith(".html") or "/sgml/" in path:
        return [tool, "-b", "utf-8", path], os.environ
    env = dict(os.environ, SP_CHARSET_FIXED="YES", SP_ENCODING="XML")
    return [tool, "-b", "utf-8", os.path.join(LIB, "xml-esis.dcl"), path], env


def esis_value(v):
    return v.replace("\\", "\\\\").replace("\n", "\\n")


def canonical(xml_bytes):
    """osx's XML in the form that identity.ts writes."""
    out = []
    p = xml.parsers.expat.ParserCreate()
    p.ordered_attributes = True

    def start(name, attrs):
        pairs = ['%s="%s"' % (attrs[i], esis_value(attrs[i + 1]))
                 for i in range(0, len(attrs), 2)]
        out.append("<%s %s>" % (name, " ".join(pairs)))

    p.StartElementHandler = start
    p.EndElementHandler = lambda name: out.append("</%s>" % name)
    p.CharacterDataHandler = out.append
    p.Parse(xml_bytes, True)
    return "".join(out).encode("utf-8")


def sdata_map(esis, path):
    """Each SDATA entity text of the ESIS, mapped to itself."""
    texts = set(re.findall(rb"\\\|(.*?)\\\|", esis))
    with open(path, "wb") as f:
        for t in sorted(texts):
            f.write(t + b"\t" + t.replace(b"\\", b"\\\\").replace(b"^", b"\\^") + b"\n")


def first_difference(a, b):
    i = next((k for k in range(min(len(a), len(b))) if a[k] != b[k]), min(len(a), len(b)))
    return "osx: %r\nqlx: %r" % (a[max(0, i - 60):i + 60], b[max(0, i - 60):i + 60])


def main():
    qlx = sys.argv[1]
    docs = sorted(os.path.join(HERE, kind, name)
                  for kind in ("sgml", "xml") for name in os.listdir(os.path.join(HERE, kind)))
    failed = 0
    with tempfile.TemporaryDirectory() as tmp:
        for doc in docs:
            name = os.path.relpath(doc, HERE)
            cmd, env = parser_command("onsgmls", doc)
            esis = subprocess.run(cmd, env=env, capture_output=True).stdout
            cmd, env = parser_command("osx", doc)
            xml_out = subprocess.run(cmd, env=env, capture_output=True).stdout
            if not esis or not xml_out:
                print("FAIL %s: the parser gave no complete document" % name)
                failed += 1
                continue
            esis_file = os.path.join(tmp, "doc.esis")
            map_file = os.path.join(tmp, "doc.sdata")
            with open(esis_file, "wb") as f:
                f.write(esis)
            sdata_map(esis, map_file)
            run = subprocess.run([qlx, "-W", "-t", os.path.join(HERE, "identity.ts"),
                                  "-s", map_file, esis_file], capture_output=True)
            try:
                expected = canonical(xml_out)
            except xml.parsers.expat.ExpatError as e:
                print("FAIL %s: osx wrote no well-formed XML (%s)" % (name, e))
                failed += 1
                continue
            if run.returncode != 0 or run.stderr or run.stdout != expected:
                print("FAIL %s (status %d)\n%s%s" % (name, run.returncode,
                      run.stderr.decode("utf-8", "replace"), first_difference(expected, run.stdout)))
                failed += 1
            else:
                print("ok   %s (%d bytes)" % (name, len(expected)))
    print("%d passed, %d failed" % (len(docs) - failed, failed))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
