#!/usr/bin/env python3
"""The command line of a real program with no display: records of files, programming a
pseudo-terminal with the pauses, exit codes, and a port refused for the reasons the dialog
gives, in its words. usage: command_line_test.py korvelconfig | wine KorvelConfig.exe"""
import fcntl
import grp
import os
import shutil
import subprocess
import sys
import tempfile
import termios
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import windows_e2e as e2e  # noqa: E402

R0 = "$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 "
R1 = "$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 "


def main(program):
    files, folder = {}, tempfile.mkdtemp(suffix=" \u0141\u00f3d\u017a \u03a9mega")  # names outside Windows-1252
    # Windows-1252's letters of 0x80-0x9F as Python has them, and one it lacks (the "?").
    c1252 = "a\u0141b" + bytes(range(0x80, 0xA0)).decode("cp1252", "ignore")
    for name, text in [("empty", b""), ("typo", b"[config0]\ncalsign = X\n"),
                       ("c1252", ("secondConfig = off\n[config0]\ncomment = %s\n" % c1252).encode())]:
        files[name] = os.path.join(folder, name + ".korvel")
        open(files[name], "wb").write(text)
    files["fifo"] = os.path.join(folder, "fifo.korvel")  # no writer: reading it would wait for ever
    os.mkfifo(files["fifo"])
    device, made = e2e.Device(), []
    cannot = "cannot open selected COM-Port! "
    port, absent, no_line, refusal = device.path, "ttyUSB99", "/dev/null", "/dev/null: "
    if len(program) > 1:  # Wine: COM ports linked to the pseudo-terminal and to /dev/null, one left free
        links = e2e.dosdevices(program[:1] + ["cmd", "/c", "exit"])
        free = e2e.free_com_numbers(links)
        for n, target in ((free[-1], device.path), (free[1], "/dev/null")):
            made.append(os.path.join(links, "com%d" % n))
            os.symlink(target, made[-1])
        port, absent, no_line, refusal = "COM%d" % free[-1], "COM%d" % free[0], "COM%d" % free[1], "(cannot set COMstate"
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
    env["LC_ALL"] = "C.UTF-8"  # file names as UTF-8, for Wine too
    absent_line = cannot + absent + " is not connected: connect it, or choose another port."
    cases = [  # arguments, exit code, output, last line of error output (part), records on the line
        (["--version"], 0, "KorvelConfig 1.12.0\n", None, []),
        (["--records", files["empty"]], 0, R0 + "\n" + R1 + "\n", None, []),
        (["--records", files["c1252"]], 0, R0.replace("47,0,0,10,35,255", "47,0,%s,0,10,35" % ",".join(
            str(b) for b in c1252.encode("cp1252", "replace"))) + "\n", None, []),
        (["--program", files["empty"], "--port", port], 0, R0 + "\n" + R1 + "\n", "done.", [R0, R1]),
        (["--program", files["empty"], "--port", port, "--baud", "9600"], 0, R0 + "\n" + R1 + "\n", "done.", [R0, R1]),
        (["--program", files["typo"], "--port", port], 1, "", files["typo"] + ', line 2, "calsign": unknown key', []),
        (["--program", files["empty"], "--port", absent], 1, "", absent_line, []),
        (["--program", files["empty"], "--port", no_line], 1, "", cannot + refusal, []),
        (["--bogus"], 1, "", ": unknown option --bogus (see --help)", []),
        (["--records", files["fifo"]], 1, "", files["fifo"] + ": is a named pipe, not a file", []),
        (["--records", folder], 1, "", folder + ": is a folder, not a file", []),
    ]
    holder = None
    if len(program) == 1:  # a port another program holds, named with the holder
        busy = e2e.Device()
        holder = os.open(busy.path, os.O_RDWR | os.O_NOCTTY)
        fcntl.flock(holder, fcntl.LOCK_EX)
        cases.append((["--program", files["empty"], "--port", busy.path], 1, "", "%s%s is busy: %s (process %d) holds "
                      "it. Close that program and try again." % (cannot, busy.path, open("/proc/self/comm").read()
                                                                 .strip(), os.getpid()), []))
    if len(program) == 1 and os.geteuid() == 0:  # no permission, as nobody: the device's group, or none that helps
        os.chmod(folder, 0o755)
        for group, mode, advice in (("dialout", 0o660, "add your user to the group dialout (sudo usermod -aG dialout "
                                     "$USER) and log in again."),
                                    ("root", 0o600, "ask the administrator of this computer for access to %s.")):
            path = os.path.join(folder, "tty" + group)
            open(path, "w").close()
            os.chown(path, 0, grp.getgrnam(group).gr_gid)
            os.chmod(path, mode)
            cases.append((["--program", files["empty"], "--port", path], 1, "",
                          cannot + "no permission to open %s: %s" % (path, advice.replace("%s", path)), [], "nobody"))
    try:
        for args, code, out, last, records, *user in cases:
            label, failed = " ".join(args), len(e2e.failures)
            device.take()
            as_user = ["setpriv", "--reuid=nobody", "--regid=nogroup", "--clear-groups"] if user else []
            try:
                got = subprocess.run(as_user + program + args, env=env, capture_output=True, text=True, timeout=60)
            except subprocess.TimeoutExpired:
                got = subprocess.CompletedProcess(args, None, "", "(no end within 60 s)")
            time.sleep(0.2)
            events = device.take()
            errors = [e for e in got.stderr.splitlines() if not e.startswith(("please make sure", "otherwise to much"))]
            e2e.check(got.returncode == code and got.stdout == out, "%s: exit code %s, output %r" % (label, got.returncode, got.stdout))
            e2e.check(last is None or (errors and last in errors[-1]), "%s: error output %r" % (label, errors))
            e2e.check(code == 0 or len(errors) == 1, label + ": not one line of error output")
            if records:
                e2e.check_run(events, [r.encode() for r in records], label)
                e2e.check(device.speed == (termios.B9600 if "--baud" in args else termios.B4800), label + ": line speed")
            else:
                e2e.check(not [e for e in events if e[0] == "data"], label + ": bytes on the line")
            print("%s %s" % ("FAIL" if len(e2e.failures) > failed else "ok  ", label))
    finally:
        if holder is not None:
            os.close(holder)
        shutil.rmtree(folder)
        for link in made:
            os.unlink(link)
    print("%d check(s) failed" % len(e2e.failures) if e2e.failures else "passed")
    return 1 if e2e.failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
