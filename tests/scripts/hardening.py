#!/usr/bin/env python3
"""Runs fault-injection and hostile-document cases against qlx.

Each case is a shell command line run by bash (so it can use pipes and
redirections) with QLX naming the binary.  A case passes when the exit
status is the expected one, standard error matches the expected message
(a regular expression, searched), an optional check of the output holds,
and the run stays within its time and peak-memory bounds (the largest
resident set of any process of the case, from GNU time where it is
installed, else from wait4).  One table line per case is printed: case,
status, seconds, peak MB, and the line where the expected message starts.

Environment: QLX_HARDENING_SKIP_HUGE=1 skips the cases marked huge (the
1 GB stream); QLX_HARDENING_SCALE multiplies the time bounds (default 1;
raised automatically for a binary built with AddressSanitizer).
"""

import os
import re
import subprocess
import sys
import tempfile
import time


class Runner:
    def __init__(self, qlx):
        self.qlx = os.path.abspath(qlx)
        self.tmp = tempfile.mkdtemp(prefix="qlx-hardening-")
        self.failures = []
        self.passed = 0
        self.skipped = 0
        scale = float(os.environ.get("QLX_HARDENING_SCALE", "0") or 0)
        if scale <= 0:
            with open(self.qlx, "rb") as f:
                scale = 4.0 if b"__asan_init" in f.read() else 1.0
        self.scale = scale
        self.sanitized = scale > 1
        print(f"{'case':44} {'status':>6} {'seconds':>8} {'peak MB':>8}  message")

    def path(self, name):
        return os.path.join(self.tmp, name)

    def write(self, name, text, mode="w"):
        with open(self.path(name), mode) as f:
            f.write(text)
        return self.path(name)

    def case(self, name, command, status, message, seconds, megabytes,
             check=None, huge=False, stdin=subprocess.DEVNULL):
        if huge and os.environ.get("QLX_HARDENING_SKIP_HUGE") == "1":
            print(f"{name:44} skipped (QLX_HARDENING_SKIP_HUGE=1)")
            self.skipped += 1
            return
        env = dict(os.environ, QLX=self.qlx, T=self.tmp)
        err_path = self.path("stderr")
        limit = seconds * self.scale
        start = time.monotonic()
        # A child forked from this Python process would inherit its resident
        # size as its peak; GNU time, where there is one, forks from a small
        # process and reports the largest peak of the case's processes.
        peak_path = self.path("peak")
        argv = ["bash", "-c", command]
        if os.path.exists("/usr/bin/time"):
            argv = ["/usr/bin/time", "-q", "-f", "%M", "-o", peak_path] + argv
        if os.path.exists(peak_path):
            os.remove(peak_path)
        with open(err_path, "wb") as err:
            proc = subprocess.Popen(argv, stdin=stdin,
                                    stdout=subprocess.DEVNULL, stderr=err,
                                    cwd=self.tmp, env=env,
                                    start_new_session=True)
            timed_out = False
            while True:
                pid, wstatus, usage = os.wait4(proc.pid, os.WNOHANG)
                if pid:
                    break
                if time.monotonic() - start > limit:
                    os.killpg(proc.pid, 9)
                    pid, wstatus, usage = os.wait4(proc.pid, 0)
                    timed_out = True
                    break
                time.sleep(0.01)
            proc.returncode = os.waitstatus_to_exitcode(wstatus)
        elapsed = time.monotonic() - start
        peak = usage.ru_maxrss / 1024.0
        try:
            with open(peak_path) as f:
                peak = int(f.read().split()[-1]) / 1024.0
        except (OSError, ValueError, IndexError):
            pass
        with open(err_path, "rb") as f:
            stderr = f.read().decode("utf-8", "replace")
        # The table shows the line where the expected message starts (a
        # message may be preceded by the system's error-number line).
        found = re.search(message, stderr, re.M) if message is not None else None
        if found:
            start_line = stderr.rfind("\n", 0, found.start()) + 1
            first = stderr[start_line:].split("\n", 1)[0]
        else:
            first = next((l for l in stderr.splitlines() if l.strip()), "")
        problems = []
        if timed_out:
            problems.append(f"took longer than {limit:.0f} s")
        if proc.returncode != status:
            problems.append(f"status {proc.returncode}, expected {status}")
        if message is not None and not found:
            problems.append(f"stderr lacks /{message}/")
        if message is None and stderr.strip():
            problems.append("unexpected messages")
        # The sanitizers' shadow memory makes peak sizes meaningless there.
        if not self.sanitized and peak > megabytes:
            problems.append(f"peak {peak:.0f} MB over {megabytes} MB")
        if check and not problems:
            why = check()
            if why:
                problems.append(why)
        print(f"{name:44} {proc.returncode:>6} {elapsed:>8.2f} {peak:>8.1f}  {first[:90]}")
        if problems:
            print(f"  FAILED: {'; '.join(problems)}")
            for line in stderr.splitlines()[:10]:
                print(f"  | {line[:200]}")
            self.failures.append(name)
        else:
            self.passed += 1

    def finish(self):
        subprocess.run(["rm", "-rf", self.tmp])
        print(f"hardening: {self.passed} passed, {len(self.failures)} failed"
              + (f", {self.skipped} skipped" if self.skipped else ""))
        return 1 if self.failures else 0
