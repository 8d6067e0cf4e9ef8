#!/usr/bin/env python3
"""The command line of a real program, with no display: the records of files,
programming a pseudo-terminal with the pauses, exit codes.

usage: command_line_test.py PROGRAM              (korvelconfig)
       command_line_test.py wine KorvelConfig.exe (COMn linked to the pseudo-terminal)
"""
import os
import pty
import select
import subprocess
import sys
import tempfile
import time

R0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 "
R1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 "
WIDE = ("$#Pe040,100,156,158,134,130,152,152,114,174,146,136,138,100,64,5,3,240,96,0,6,11,62,47,0,"
        "84,101,115,116,0,10,35 ")


def run(program, args, env, master):
    """Exit code, output, error output, and the bytes that reached the line with their times."""
    start = time.monotonic()
    process = subprocess.Popen(program + args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    arrived, finished = [], None
    while finished is None or time.monotonic() < finished + 0.2:
        if select.select([master], [], [], 0.05)[0]:
            arrived.append((time.monotonic() - start, os.read(master, 4096)))
        if finished is None and process.poll() is not None:
            finished = time.monotonic()
    out, err = process.communicate()
    return process.returncode, out.decode(), err.decode(), arrived, finished - start


def main(argv):
    program = argv[1:]
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    folder = tempfile.mkdtemp()
    files = {}
    for name, text in [("empty", b""), ("typo", b"[config0]\ncalsign = X\n"), ("binary", bytes(range(256)) * 4),
                       ("wide", b"secondConfig = off\n[config0]\npathType = WIDEn-n\ndigiHops = 2\ncomment = Test\n")]:
        files[name] = os.path.join(folder, name + ".korvel")
        with open(files[name], "wb") as f:
            f.write(text)
    master, slave = pty.openpty()
    port, absent, link = os.ttyname(slave), "/dev/korvel-no-such-port", None
    if len(program) > 1:  # under Wine: the pseudo-terminal as a free COM number, another left free
        env["WINEPREFIX"] = (env.get("WINEPREFIX") or env.get("KORVEL_WINEPREFIX")
                             or os.path.expanduser("~/.cache/korvelconfig/wineprefix"))
        dosdevices = os.path.join(env["WINEPREFIX"], "dosdevices")
        free = [n for n in range(9, 0, -1) if not os.path.lexists(os.path.join(dosdevices, "com%d" % n))]
        link = os.path.join(dosdevices, "com%d" % free[0])
        os.symlink(port, link)
        port, absent = "COM%d" % free[0], "COM%d" % free[1]
    cases = [  # arguments, exit code, output, last line of the error output, records on the line
        (["--version"], 0, "KorvelConfig 1.12.0\n", None, []),
        (["--records", files["empty"]], 0, R0 + "\n" + R1 + "\n", None, []),
        (["--records", files["wide"]], 0, WIDE + "\n", None, []),
        (["--records", files["typo"]], 1, "", files["typo"] + ', line 2, "calsign": unknown key in [config0]', []),
        (["--records", files["binary"]], 1, "", files["binary"] + ", line 1: not UTF-8 text", []),
        (["--program", files["wide"], "--port", port], 0, WIDE + "\n", "done.", [WIDE]),
        (["--program", files["empty"], "--port", port, "--baud", "9600"], 0, R0 + "\n" + R1 + "\n", "done.", [R0, R1]),
        (["--program", files["empty"], "--port", absent], 1, "", "cannot open selected COM-Port!", []),
    ]
    failures = 0
    try:
        for args, code, out, last, records in cases:
            got = run(program, args, env, master)
            lines = got[2].splitlines()
            line = b"".join(chunk for _, chunk in got[3]).decode()
            problems = [what for what, bad in [
                ("exit code %d" % got[0], got[0] != code), ("output %r" % got[1], got[1] != out),
                ("error output %r" % got[2], (lines[-1] if lines else None) != last and not (
                    last and lines and lines[-1].startswith(last))),
                ("one line of error output", code == 1 and "--records" in args and len(lines) != 1),
                ("line %r" % line, line != "".join(records))] if bad]
            if records:  # 500 ms after the open, between the records and before the close
                times = [t for t, _ in got[3]]
                gap = next((t for t, c in got[3] if c.startswith(b"$#Pe1")), None)
                if len(records) == 2 and (gap is None or gap - times[0] < 0.45):
                    problems.append("no pause between the records")
                if times[0] < 0.45 or got[4] - times[-1] < 0.45:
                    problems.append("no pause after the open or before the close: %s, end %.2f" % (times, got[4]))
            print("%s %s%s" % ("FAIL" if problems else "ok  ", " ".join(args[:1]), "".join("\n    " + p for p in problems)))
            failures += bool(problems)
    finally:
        if link:
            os.unlink(link)
    print("%d passed, %d failed" % (len(cases) - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
