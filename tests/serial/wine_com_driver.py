#!/usr/bin/env python3
"""Runs the Win32 port tests under Wine with a pseudo-terminal as a COM port; its
pieces serve the end-to-end tests too. usage: wine_com_driver.py EMULATOR PROGRAM [ARGS...]

Wine looks up the link dosdevices/comN of the prefix at every open of "\\\\.\\COMn", so a
link made while the wineserver runs counts at once; its mountmgr rewrites only the links of
the ports it finds."""
import os
import pty
import select
import subprocess
import sys
import threading
import time

# Shaped like a record, then every byte value: the line must be raw.
PAYLOAD = b"$#Pe0 156,160,134,168,152,164,96,0 " + bytes(range(256)) + b"\r\n end"


def dosdevices(first_use):
    """The prefix's device links (the prefix of cmake/wine-run.sh); first_use makes the prefix."""
    prefix = os.environ.setdefault("WINEPREFIX", os.environ.get("KORVEL_WINEPREFIX") or
                                   os.path.join(os.environ["HOME"], ".cache/korvelconfig/wineprefix"))
    if not os.path.isfile(os.path.join(prefix, "system.reg")):
        subprocess.run(first_use, capture_output=True)  # mountmgr makes the port links too
    return os.path.join(prefix, "dosdevices")


def free_com_numbers(links):
    return [n for n in range(1, 10) if not os.path.lexists(os.path.join(links, "com%d" % n))]


class Device(threading.Thread):
    """The far end of a pseudo-terminal: the program's opens of the device, what it
    wrote and its closes, each with a bracket (not earlier, not later) from the polls
    around it. A busy machine widens the brackets; it cannot make them lie."""

    def __init__(self):
        super().__init__(daemon=True)
        self.master, slave = pty.openpty()
        self.path = os.ttyname(slave)
        os.close(slave)
        self.events = []
        self.start()

    def run(self):
        poller = select.poll()
        poller.register(self.master, select.POLLIN)
        earlier = started = time.monotonic()
        held = False
        while True:
            earlier, started = started, time.monotonic()
            ready = poller.poll(10)
            data = b""
            if ready and ready[0][1] & select.POLLIN:
                try:
                    data = os.read(self.master, 4096)
                except OSError:
                    pass  # EIO: nobody holds the device
            gone = bool(ready) and not data
            if not held and not gone:
                self.events.append(("open", earlier, started, b""))  # poll looks before it waits
            if data or (held and gone):
                self.events.append(("data" if data else "close", earlier, time.monotonic(), data))
            held = not gone
            if gone:
                time.sleep(0.002)  # poll reports it until the next open

    def take(self):
        taken, self.events = self.events, []
        return taken

    def received(self):
        return b"".join(e[3] for e in self.take())


def main(emulator, program, *args):
    links = dosdevices([emulator, program, "--gtest_list_tests"])
    free, device = free_com_numbers(links), Device()
    if len(free) < 2:
        return print("wine_com_driver: fewer than two free COM numbers in " + links) or 1
    link = os.path.join(links, "com%d" % free[-1])
    os.symlink(device.path, link)
    try:
        env = dict(os.environ, KORVEL_TEST_COM=str(free[-1]), KORVEL_TEST_ABSENT_COM=str(free[0]),
                   KORVEL_TEST_PAYLOAD_HEX=PAYLOAD.hex())
        status = subprocess.run([emulator, program] + list(args), env=env).returncode
        time.sleep(0.1)
    finally:
        os.unlink(link)
    received = device.received()
    if status != 0 or received != PAYLOAD:
        return print("wine_com_driver: the test program ended with %d; COM%d carried %s, not the payload %s"
                     % (status, free[-1], received.hex(), PAYLOAD.hex())) or 1
    return print("wine_com_driver: the %d bytes of the payload arrived unchanged" % len(PAYLOAD)) or 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]) if len(sys.argv) >= 3 else print(__doc__) or 2)
