#!/usr/bin/env python3
# count-state.py LIB.a: the process-wide mutable objects (OBJECT symbols in
# writable data sections .data*/.bss*, not .data.rel.ro; no vtable, type
# info, guard variable or DW.ref) and the thread-locals (TLS symbols) that
# the objects of a static library define, by object file.
# Usage: scripts/count-state.py build/release/src/libqlxcore.a
import os, re, shutil, subprocess, sys, tempfile
lib = os.path.abspath(sys.argv[1])
tmp = tempfile.mkdtemp()
subprocess.run(["ar", "x", lib], cwd=tmp, check=True)
glob_n = tls_n = 0
rows = []
for obj in sorted(os.listdir(tmp)):
    secs = {}
    for line in subprocess.run(["readelf", "-SW", os.path.join(tmp, obj)], capture_output=True, text=True).stdout.splitlines():
        m = re.match(r"\s*\[\s*(\d+)\]\s+(\S+)", line)
        if m: secs[m.group(1)] = m.group(2)
    for line in subprocess.run(["readelf", "-sW", os.path.join(tmp, obj)], capture_output=True, text=True).stdout.splitlines():
        f = line.split()
        if len(f) < 8 or not f[0].endswith(":"): continue
        typ, ndx, name = f[3], f[6], f[7]
        if typ not in ("OBJECT", "TLS") or not ndx.isdigit(): continue
        if re.match(r"_ZT[VIS]|_ZGV|__|DW\.ref\.", name): continue
        sec = secs.get(ndx, "")
        if typ == "TLS":
            tls_n += 1; rows.append(("thread_local", obj, name))
        elif (sec.startswith(".data") or sec.startswith(".bss")) and not sec.startswith(".data.rel.ro"):
            glob_n += 1; rows.append(("process-wide", obj, name))
names = subprocess.run(["c++filt"], input="\n".join(r[2] for r in rows), capture_output=True, text=True).stdout.split("\n")
for (kind, obj, _), n in zip(rows, names):
    print("%-13s %-18s %s" % (kind, obj, n))
print("process-wide objects: %d, thread-locals: %d" % (glob_n, tls_n))
shutil.rmtree(tmp)
