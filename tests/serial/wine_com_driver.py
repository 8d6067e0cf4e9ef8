#!/usr/bin/env python3
"""Runs the Win32 port tests under Wine with a pseudo-terminal as a COM port.

usage: wine_com_driver.py EMULATOR PROGRAM [ARGS...]

Wine looks up the link dosdevices/comN of the prefix at every open of
"\\\\.\\COMn", so a link made while the wineserver runs counts at once. The
wineserver's mountmgr rewrites only the links of the ports it finds, so a COM
number without a link once the prefix exists stays ours. The driver holds the
slave end open (the program's close is then no hang-up), reads the master end
while the program runs and compares what arrived with the payload.
"""
import os
import pty
import select
import subprocess
import sys


def wine_prefix():
    # The same choice as cmake/wine-run.sh.
    return (os.environ.get("WINEPREFIX")
            or os.environ.get("KORVEL_WINEPREFIX")
            or os.path.join(os.environ["HOME"], ".cache/korvelconfig/wineprefix"))


def payload():
    # Shaped like a record, then every byte value: the line must be raw.
    return b"$#Pe0 156,160,134,168,152,164,96,0 " + bytes(range(256)) + b"\r\n end"


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    emulator, program, args = argv[1], argv[2], argv[3:]
    prefix = wine_prefix()
    env = dict(os.environ, WINEPREFIX=prefix)
    dosdevices = os.path.join(prefix, "dosdevices")
    if not os.path.isfile(os.path.join(prefix, "system.reg")):
        # First use: the emulator makes the prefix, and mountmgr its port links.
        subprocess.run([emulator, program, "--gtest_list_tests"], env=env,
                       stdout=subprocess.DEVNULL, check=False)

    master, slave = pty.openpty()
    link = None
    try:
        free = [n for n in range(9, 0, -1)
                if not os.path.lexists(os.path.join(dosdevices, "com%d" % n))]
        for n in free:
            try:
                os.symlink(os.ttyname(slave), os.path.join(dosdevices, "com%d" % n))
            except FileExistsError:
                continue  # taken meanwhile
            link = n
            break
        absent = [n for n in free if n != link]
        if link is None or not absent:
            print("wine_com_driver: no free COM number in %s" % dosdevices)
            return 1
        print("wine_com_driver: COM%d is %s, COM%d has no link"
              % (link, os.ttyname(slave), absent[0]), flush=True)

        expected = payload()
        env.update(KORVEL_TEST_COM=str(link),
                   KORVEL_TEST_ABSENT_COM=str(absent[0]),
                   KORVEL_TEST_PAYLOAD_HEX=expected.hex())
        process = subprocess.Popen([emulator, program] + args, env=env)
        received = bytearray()
        finished = False
        while True:
            ready, _, _ = select.select([master], [], [], 0.1)
            if ready:
                received += os.read(master, 4096)
            elif finished:
                break  # nothing came within 0.1 s of the end
            else:
                finished = process.poll() is not None
    finally:
        if link is not None:
            os.unlink(os.path.join(dosdevices, "com%d" % link))
        os.close(master)
        os.close(slave)

    if process.returncode != 0:
        print("wine_com_driver: the test program failed (%d)" % process.returncode)
        return 1
    if bytes(received) != expected:
        print("wine_com_driver: the line carried %d bytes, not the %d of the payload"
              % (len(received), len(expected)))
        print("  expected: %s\n  received: %s" % (expected.hex(), bytes(received).hex()))
        return 1
    print("wine_com_driver: the %d bytes of the payload arrived unchanged" % len(expected))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
