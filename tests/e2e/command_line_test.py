#!/usr/bin/env python3
"""The command line of a real program with no display: records of files, programming a
pseudo-terminal with the pauses, exit codes. usage: command_line_test.py korvelconfig | wine KorvelConfig.exe"""
import os, pty, select, shutil, subprocess, sys, tempfile, time

R0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 "
R1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 "
WIDE = "$#Pe040,100,156,158,134,130,152,152,114,174,146,136,138,100,64,5,3,240,96,0,6,11,62,47,0,84,101,115,116,0,10,35 "


def run(program, args, env, master):
    """Exit code, output, error output, [(time, bytes)] that reached the line, time of the end."""
    start = time.monotonic()
    process = subprocess.Popen(program + args, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    arrived, end = [], None
    while end is None or time.monotonic() < start + end + 0.2:
        if select.select([master], [], [], 0.05)[0]:
            arrived.append((time.monotonic() - start, os.read(master, 4096)))
        if end is None and process.poll() is not None:
            end = time.monotonic() - start
    out, err = process.communicate()
    return process.returncode, out.decode(), err.decode().splitlines(), arrived, end


def main(program):
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    files, folder = {}, tempfile.mkdtemp()
    for name, text in [("empty", b""), ("typo", b"[config0]\ncalsign = X\n"), ("binary", bytes(range(256)) * 4),
                       ("wide", b"secondConfig = off\n[config0]\npathType = WIDEn-n\ndigiHops = 2\ncomment = Test\n")]:
        files[name] = os.path.join(folder, name + ".korvel")
        open(files[name], "wb").write(text)
    master, slave = pty.openpty()
    port, absent, link = os.ttyname(slave), "/dev/korvel-no-such-port", None
    if len(program) > 1:  # Wine: the pseudo-terminal as a free COM number, the next one left free
        env.setdefault("WINEPREFIX", os.path.expanduser("~/.cache/korvelconfig/wineprefix"))
        free = [n for n in range(9, 0, -1) if not os.path.lexists("%s/dosdevices/com%d" % (env["WINEPREFIX"], n))]
        link = "%s/dosdevices/com%d" % (env["WINEPREFIX"], free[0])
        os.symlink(port, link)
        port, absent = "COM%d" % free[0], "COM%d" % free[1]
    cases = [  # arguments, exit code, output, last line of error output (part), records on the line
        (["--version"], 0, "KorvelConfig 1.12.0\n", None, []),
        (["--records", files["empty"]], 0, R0 + "\n" + R1 + "\n", None, []),
        (["--program", files["wide"], "--port", port], 0, WIDE + "\n", "done.", [WIDE]),
        (["--program", files["empty"], "--port", port, "--baud", "9600"], 0, R0 + "\n" + R1 + "\n", "done.", [R0, R1]),
        (["--program", files["typo"], "--port", port], 1, "", files["typo"] + ', line 2, "calsign": unknown key', []),
        (["--program", files["binary"], "--port", port], 1, "", files["binary"] + ", line 1: not UTF-8 text", []),
        (["--program", files["empty"], "--port", absent], 1, "", "cannot open selected COM-Port!", []),
        (["--bogus"], 1, "", ": unknown option --bogus (see --help)", []),
    ]
    failures = 0
    try:
        for args, code, out, last, records in cases:
            got = run(program, args, env, master)
            line = b"".join(chunk for _, chunk in got[3]).decode()
            times = [t for t, _ in got[3]] or [0]
            second = [t for t, c in got[3] if c.startswith(b"$#Pe1")] or [9]
            errors = [e for e in got[2] if not e.startswith(("please make sure that gps", "otherwise to much power"))]
            problems = [what for what, bad in [
                ("exit code %d" % got[0], got[0] != code), ("output %r" % got[1], got[1] != out),
                ("error output %r" % got[2], last is not None and not (errors and last in errors[-1])),
                ("one line of error output", code == 1 and len(errors) != 1),
                ("line %r" % line, line != "".join(records)),
                ("no pause after the open", records and times[0] < 0.45),
                ("no pause between the records", len(records) == 2 and second[0] - times[0] < 0.45),
                ("no pause before the close", records and got[4] - times[-1] < 0.45)] if bad]
            print("%s %s%s" % ("FAIL" if problems else "ok  ", " ".join(args), "".join("\n  " + p for p in problems)))
            failures += bool(problems)
    finally:
        shutil.rmtree(folder)
        if link:
            os.unlink(link)
    print("%d passed, %d failed" % (len(cases) - failures, failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
