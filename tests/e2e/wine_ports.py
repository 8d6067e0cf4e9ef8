"""Pseudo-terminals as the COM ports of KorvelConfig.exe under Wine, for the end-to-end tests.

Wine looks up the link dosdevices/comN of the prefix at every open of "\\\\.\\COMn", so a
link made while the wineserver runs counts at once; its mountmgr rewrites only the links of
the ports it finds."""
import os
import pty
import select
import subprocess
import termios
import threading
import time


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
            if data:
                self.speed = termios.tcgetattr(self.master)[4]  # the line speed the program set shows here too
            if data or (held and gone):
                self.events.append(("data" if data else "close", earlier, time.monotonic(), data))
            held = not gone
            if gone:
                time.sleep(0.002)  # poll reports it until the next open

    def take(self):
        taken, self.events = self.events, []
        return taken
