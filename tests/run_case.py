#!/usr/bin/env python3
"""Runs one end-to-end case of qlx and compares what it wrote.

A case is a directory holding:
  args      the command-line arguments, split like a shell would (shlex);
            @QLX@ stands for the program's path, @SRC@ for the source tree
            (for the bundled examples)
  stdin     optional: fed to standard input (else /dev/null)
  env       optional: NAME=value lines added to the environment (such as
            XML_CATALOG_FILES; relative paths are taken in the case folder)
  stdout    expected standard output, byte for byte (missing = empty)
  stderr    expected standard error (missing = empty); a line written as
            `~ <regex>` matches one line by pattern (used only for the
            system's own error texts and dates)
  status    expected exit status (missing = 0)
  files/    optional: files qlx must have written, compared byte for byte
            with the file of the same name in the working directory
  absent    optional: names of files qlx must not have created

The program runs as "qlx" (its argv[0]), with USER=tester, TZ=UTC and
LC_ALL=C, and without QLX_LIB.

The case runs in a scratch copy of its suite (the parent folder, so cases
can share files such as ../common/doc.esis), and written files never land
in the source tree.  `run_case.py --bless QLX DIR` rewrites the
expected files from an actual run, for review before committing.
"""
import os
import re
import shlex
import shutil
import subprocess
import sys
import tempfile


def read(path, default=b""):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return default


def stderr_matches(expected, actual):
    exp_lines = expected.split(b"\n")
    act_lines = actual.split(b"\n")
    if len(exp_lines) != len(act_lines):
        return False
    for e, a in zip(exp_lines, act_lines):
        if e.startswith(b"~ "):
            if not re.fullmatch(e[2:], a):
                return False
        elif e != a:
            return False
    return True


def show(label, expected, actual):
    sys.stdout.write("--- expected %s\n" % label)
    sys.stdout.write(expected.decode("utf-8", "replace"))
    sys.stdout.write("\n--- actual %s\n" % label)
    sys.stdout.write(actual.decode("utf-8", "replace"))
    sys.stdout.write("\n")


def main():
    argv = sys.argv[1:]
    bless = False
    if argv and argv[0] == "--bless":
        bless = True
        argv = argv[1:]
    qlx, case = os.path.abspath(argv[0]), os.path.abspath(argv[1])
    args = shlex.split(read(os.path.join(case, "args")).decode())
    src = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    args = [a.replace("@QLX@", qlx).replace("@SRC@", src) for a in args]
    env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "USER": "tester",
           "TZ": "UTC", "LC_ALL": "C", "HOME": "/nonexistent"}
    for k in ("ASAN_OPTIONS", "UBSAN_OPTIONS"):
        if k in os.environ:
            env[k] = os.environ[k]
    with tempfile.TemporaryDirectory() as tmp:
        # The whole suite folder is copied, so that cases may share input
        # files kept beside them (../common/doc.esis).
        suite = os.path.dirname(case)
        shutil.copytree(suite, os.path.join(tmp, "suite"))
        work = os.path.join(tmp, "suite", os.path.basename(case))
        for line in read(os.path.join(case, "env")).decode().splitlines():
            if "=" in line:
                k, v = line.split("=", 1)
                env[k.strip()] = v.strip()
        stdin_path = os.path.join(work, "stdin")
        stdin = open(stdin_path, "rb") if os.path.exists(stdin_path) else subprocess.DEVNULL
        proc = subprocess.run(["qlx"] + args, executable=qlx, cwd=work, stdin=stdin,
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                              env=env, timeout=240)
        status = int(read(os.path.join(case, "status"), b"0").strip() or 0)
        exp_out = read(os.path.join(case, "stdout"))
        exp_err = read(os.path.join(case, "stderr"))
        if bless:
            with open(os.path.join(case, "stdout"), "wb") as f:
                f.write(proc.stdout)
            with open(os.path.join(case, "stderr"), "wb") as f:
                f.write(proc.stderr)
            if proc.returncode:
                with open(os.path.join(case, "status"), "w") as f:
                    f.write("%d\n" % proc.returncode)
            print("blessed %s (status %d)" % (case, proc.returncode))
            return 0
        ok = True
        if proc.returncode != status:
            print("status: expected %d, got %d" % (status, proc.returncode))
            ok = False
        if proc.stdout != exp_out:
            show("stdout", exp_out, proc.stdout)
            ok = False
        if not stderr_matches(exp_err, proc.stderr):
            show("stderr", exp_err, proc.stderr)
            ok = False
        files = os.path.join(case, "files")
        if os.path.isdir(files):
            for name in sorted(os.listdir(files)):
                want = read(os.path.join(files, name))
                got = read(os.path.join(work, name), None)
                if got != want:
                    show("file " + name, want, got or b"<missing>")
                    ok = False
        for name in read(os.path.join(case, "absent")).decode().split():
            if os.path.exists(os.path.join(work, name)):
                print("file %s should not exist" % name)
                ok = False
        return 0 if ok else 1


if __name__ == "__main__":
    sys.exit(main())
