#!/usr/bin/env python3
"""No serial device is opened but the one chosen, when it is programmed: strace of the Linux
program's start and of opening its port list (its start-up with printed boxes, under a lock
name of its own), and of --program. As root a pseudo-terminal is linked as /dev/ttyUSB9n for
the time of the test, so that there is a USB adapter to list on any machine.
usage: serial_opens_test.py START_PROBE KORVELCONFIG"""
import os
import pty
import re
import stat
import subprocess
import sys
import tempfile

HARMLESS = {"/dev/null", "/dev/zero", "/dev/full", "/dev/random", "/dev/urandom"}
OPEN = re.compile(r'\b(?:open|openat|openat2|creat)\((?:AT_FDCWD, )?"([^"]*)"')
SERIAL_NAME = re.compile(r"^/dev/(tty|serial|rfcomm|pts/)")


def traced(args, log):
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen", ASAN_OPTIONS="detect_leaks=0")  # LSan stops under ptrace
    got = subprocess.run(["strace", "-f", "-qq", "-e", "trace=open,openat,openat2,creat", "-o", log] + args,
                         env=env, capture_output=True, text=True, timeout=120)
    opened = [m.group(1) for m in map(OPEN.search, open(log)) if m and "O_DIRECTORY" not in m.string]
    return got, len(opened), devices(opened)


def devices(paths):
    """The character devices among the paths, or names of serial kinds that are none now."""
    found = set()
    for path in paths:
        try:
            is_device = stat.S_ISCHR(os.stat(path).st_mode)
        except OSError:
            is_device = bool(SERIAL_NAME.match(path))
        if is_device and os.path.realpath(path) not in HARMLESS and not path.startswith("/dev/dri/"):
            found.add(path)
    return found


def main(probe, program):
    failures = []
    chosen_master, chosen = pty.openpty()
    planted_master, planted = pty.openpty()
    plant = None
    if os.geteuid() == 0:
        for n in range(90, 100):
            try:
                os.symlink(os.ttyname(planted), "/dev/ttyUSB%d" % n)
                plant = "/dev/ttyUSB%d" % n
                break
            except OSError:
                pass
    folder = tempfile.mkdtemp()
    try:
        log = os.path.join(folder, "strace.log")
        got, count, opened = traced([probe, "list", "KorvelConfig-test-opens-%d" % os.getpid()], log)
        rows = [line[5:] for line in got.stdout.splitlines() if line.startswith("row: ")]
        print("start and port list: %d opens, serial devices opened %s; listed %s" % (count, sorted(opened), rows))
        if got.returncode != 0 or "shown" not in got.stdout or (plant and os.path.basename(plant) not in rows):
            failures.append("the start did not list the ports: %r %r" % (got.stdout, got.stderr[-500:]))
        if opened:
            failures.append("the start or the port list opened " + ", ".join(sorted(opened)))

        settings = os.path.join(folder, "empty.korvel")
        open(settings, "w").close()
        port = os.ttyname(chosen)
        got, count, opened = traced([program, "--program", settings, "--port", port, "--baud", "115200"], log)
        print("--program: %d opens, serial devices opened %s" % (count, sorted(opened)))
        if got.returncode != 0 or opened != {port}:
            failures.append("--program --port %s opened %s, exit code %d: %r" % (port, sorted(opened), got.returncode,
                                                                                  got.stderr[-500:]))
    finally:
        if plant:
            os.unlink(plant)
        for fd in (chosen_master, chosen, planted_master, planted):
            os.close(fd)
        subprocess.run(["rm", "-rf", folder])
    for failure in failures:
        print("FAIL: " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) == 3 else print(__doc__) or 2)
