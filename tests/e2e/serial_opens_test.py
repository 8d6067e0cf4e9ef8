#!/usr/bin/env python3
"""strace of the Linux program's start and port list (its start-up with printed boxes, under a
lock of its own) and of --program: no serial device is opened but the one programmed. As root a
pseudo-terminal stands in as /dev/ttyUSB9n, a USB adapter to list on any machine.
usage: serial_opens_test.py START_PROBE KORVELCONFIG"""
import os
import pty
import re
import stat
import subprocess
import sys
import tempfile

OPEN = re.compile(r'\b(?:open|openat|openat2|creat)\((?:AT_FDCWD, )?"([^"]*)"')


def devices_opened(args, log):
    """The output, and the character devices opened (names of serial kinds that are none count too)."""
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ASAN_OPTIONS="detect_leaks=0")  # LSan stops under ptrace
    got = subprocess.run(["strace", "-f", "-qq", "-e", "trace=open,openat,openat2,creat", "-o", log] + args,
                         env=env, capture_output=True, text=True, timeout=120)
    paths = {m.group(1) for m in map(OPEN.search, open(log)) if m and "O_DIRECTORY" not in m.string}
    kind = lambda p: stat.S_ISCHR(os.stat(p).st_mode) if os.path.exists(p) else re.match("/dev/(tty|serial|pts/)", p)
    harmless = {"/dev/null", "/dev/zero", "/dev/full", "/dev/random", "/dev/urandom"}
    return got, {p for p in paths if kind(p) and os.path.realpath(p) not in harmless}


def main(probe, program):
    folder, (_, chosen), (_, planted), plant = tempfile.mkdtemp(), pty.openpty(), pty.openpty(), None
    for n in range(90, 100) if os.geteuid() == 0 else ():
        try:
            os.symlink(os.ttyname(planted), "/dev/ttyUSB%d" % n)
            plant = "ttyUSB%d" % n
            break
        except OSError:
            pass
    try:
        log, settings, port = os.path.join(folder, "log"), os.path.join(folder, "empty.korvel"), os.ttyname(chosen)
        got, opened = devices_opened([probe, "list", "KorvelConfig-test-opens-%d" % os.getpid()], log)
        rows = [line[5:] for line in got.stdout.splitlines() if line.startswith("row: ")]
        print("start and port list: listed %s, opened %s" % (rows, sorted(opened)))
        failures = ["no list: " + got.stderr[-300:]] if "shown" not in got.stdout or plant not in rows + [None] else []
        failures += ["the start or the list opened %s" % sorted(opened)] if opened else []
        open(settings, "w").close()
        got, opened = devices_opened([program, "--program", settings, "--port", port, "--baud", "115200"], log)
        print("--program --port %s: exit code %d, opened %s" % (port, got.returncode, sorted(opened)))
        failures += ["--program opened %s" % sorted(opened)] if got.returncode or opened != {port} else []
    finally:
        if plant:
            os.unlink("/dev/" + plant)
        subprocess.run(["rm", "-rf", folder])
    print("\n".join("FAIL: " + f for f in failures) or "passed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) == 3 else print(__doc__) or 2)
