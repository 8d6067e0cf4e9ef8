#!/usr/bin/env python3
"""KorvelConfig.exe under Wine, used as a person uses it: mouse and keyboard
through xdotool, a pseudo-terminal as the tracker.

usage: windows_e2e.py EMULATOR PROGRAM

Two pseudo-terminals sit behind COM links of the Wine prefix (how Wine maps
dosdevices/comN: tests/serial/wine_com_driver.py): a decoy on the lowest free
COM number and the tracker on the highest, so the port list never preselects
the tracker and the test picks it as a user would. The test keeps no end of
the devices open itself: the program's close of the port is a hang-up here.

Uses DISPLAY and WINEPREFIX as the other Windows tests do; without a DISPLAY
it starts an Xvfb of its own.
"""
import os
import pty
import select
import subprocess
import sys
import threading
import time

MAIN_DIALOG = r"^Korvel Config V1\.12$"
CFG0 = b"$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 "
CFG1 = b"$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 "
# Config 0 with "Test" typed as its comment.
CFG0_TEST = (b"$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,"
             b"84,101,115,116,0,10,35,255 ")
PAUSE = 0.5  # the program's own pause between the steps of a run

# Points of the main dialog in dialog units (its template is 339 x 284).
PROGRAM_BUTTON = (36, 268)
PORT_LIST_ARROW = (144, 263)
COMMENT0 = (107, 168)
PATH0 = (100, 48)

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)
    return condition


def wait_until(predicate, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        value = predicate()
        if value:
            return value
        time.sleep(0.05)
    return predicate()


def xdotool(*args):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True,
                            text=True, timeout=60, check=False)
    return result.stdout.split()


def visible_windows(name):
    return xdotool("search", "--onlyvisible", "--name", name)


def find_window(name, timeout=60):
    found = wait_until(lambda: visible_windows(name), timeout)
    return found[0] if found else None


def press_keys(window, *keys):
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "--delay", 50, *keys)


class Device:
    """The far end of a pseudo-terminal: when the program took the device,
    what arrived and when, and when it let go of the device after writing.

    Times are brackets (not later than, not earlier than): an arrival lies
    after the start of the poll before the one that saw it and before it was
    read. A busy machine widens the brackets; it cannot make them lie."""

    def __init__(self):
        self.master, slave = pty.openpty()
        self.path = os.ttyname(slave)
        os.close(slave)
        self.lock = threading.Lock()
        self.opened_at = None  # (earliest, latest)
        self.chunks = []  # (earliest, latest, bytes)
        self.closed_at = None  # (earliest, latest)
        self.hung_up = True
        self.running = True
        self.thread = threading.Thread(target=self._read, daemon=True)
        self.thread.start()

    def _read(self):
        poller = select.poll()
        poller.register(self.master, select.POLLIN)
        earlier = started = time.monotonic()
        while self.running:
            earlier, started = started, time.monotonic()
            events = poller.poll(10)
            data = b""
            if events and events[0][1] & select.POLLIN:
                try:
                    data = os.read(self.master, 4096)
                except OSError:
                    pass  # EIO: nobody holds the device
            now = time.monotonic()
            hung_up = bool(events) and not data
            with self.lock:
                # poll looks at the device before it waits: open by the time it started.
                if self.hung_up and not hung_up and self.opened_at is None:
                    self.opened_at = (earlier, started)
                if data:
                    self.chunks.append((earlier, now, data))
                elif hung_up and self.chunks and self.closed_at is None:
                    self.closed_at = (earlier, now)
                self.hung_up = hung_up
            if hung_up:
                time.sleep(0.002)  # poll reports it until the next open

    def take(self):
        """Since the last take: the open (or None), what arrived, the hang-up after it (or None)."""
        with self.lock:
            taken = self.opened_at, self.chunks, self.closed_at
            self.opened_at, self.chunks, self.closed_at = None, [], None
        return taken

    def closed(self):
        with self.lock:
            return self.closed_at is not None

    def stop(self):
        self.running = False
        self.thread.join()
        os.close(self.master)


def wine_prefix():
    # The same choice as cmake/wine-run.sh.
    return (os.environ.get("WINEPREFIX")
            or os.environ.get("KORVEL_WINEPREFIX")
            or os.path.join(os.environ["HOME"], ".cache/korvelconfig/wineprefix"))


def listed_by_the_program(link):
    # The program lists a COM port that it can open; so does a test run by the same user.
    try:
        os.close(os.open(link, os.O_RDWR | os.O_NOCTTY | os.O_NONBLOCK))
        return True
    except OSError:
        return False


class KorvelConfig:
    def __init__(self, emulator, program):
        self.process = subprocess.Popen([emulator, program])
        self.window = None

    def wait_for_dialog(self):
        self.window = find_window(MAIN_DIALOG)
        if not check(self.window is not None, "the main dialog did not appear"):
            return False
        geometry = dict(line.split("=") for line in
                        xdotool("getwindowgeometry", "--shell", self.window))
        # Wine draws the frame of the fixed dialog 3 px wide and its caption 19 px high.
        self.width, self.height = int(geometry["WIDTH"]), int(geometry["HEIGHT"])
        self.scale = ((self.width - 6) / 339, (self.height - 25) / 284)
        return True

    def click(self, units):
        x = 3 + round(units[0] * self.scale[0])
        y = 22 + round(units[1] * self.scale[1])
        xdotool("mousemove", "--window", self.window, x, y, "click", 1)

    def choose_port_row(self, row):
        self.click(PORT_LIST_ARROW)
        time.sleep(0.3)
        # The dropped list follows Up and Down; Return takes the row and closes it.
        press_keys(self.window, *(["Up"] * 9 + ["Down"] * row + ["Return"]))

    def program(self, tracker, decoy, expected, label):
        tracker.take()
        self.click(PROGRAM_BUTTON)
        warning = find_window("^KorvelConfig$", 20)
        if not check(warning is not None, label + ": no warning box captioned KorvelConfig"):
            return
        press_keys(warning, "Return")
        wait_until(tracker.closed, 30)
        check_run(*tracker.take(), expected, label)
        check(not decoy.take()[1], label + ": bytes went to the port not chosen")
        check(not visible_windows("^KorvelConfig$"), label + ": a message box followed the run")

    def paste_into_path0(self, text):
        """Replaces Path 0 by text through the clipboard; the boxes that follow."""
        clip = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet"], stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        clip.stdin.write(text.encode())
        clip.stdin.close()
        self.click(PATH0)
        press_keys(self.window, "End", "shift+Home", "ctrl+v")
        find_window("^KorvelConfig$", 20)
        time.sleep(1)  # time for a second box
        clip.kill()
        clip.wait()
        return visible_windows("^KorvelConfig$")

    def close(self, how):
        if how == "alt+F4":
            press_keys(self.window, "alt+F4")
        else:  # the close box at the right end of the caption
            xdotool("mousemove", "--window", self.window, self.width - 13, 12, "click", 1)
        return self.exit_code()

    def exit_code(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None

    def kill(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait()


def check_run(opened_at, chunks, closed_at, expected, label):
    received = b"".join(data for _, _, data in chunks)
    if not check(received == b"".join(expected),
                 "%s: the tracker received %r, not %r" % (label, received, b"".join(expected))):
        return
    # A pause counts as too short only when the brackets prove it.
    offset, first_end, second_start = 0, None, None
    for chunk in chunks:
        offset += len(chunk[2])
        if first_end is None and offset >= len(expected[0]):
            first_end = chunk
        if second_start is None and offset > len(expected[0]):
            second_start = chunk
    last = chunks[-1]
    print("%s: first record about %.3f s after the open, the second %.3f s after it, the close %.3f s"
          " after that" % (label, chunks[0][1] - (opened_at or chunks[0])[1], second_start[1] - first_end[1],
                           (closed_at or last)[1] - last[1]), flush=True)
    if check(opened_at is not None, label + ": the port was not opened"):
        check(chunks[0][1] - opened_at[0] >= PAUSE, "%s: the first record began within %.3f s of the open"
              % (label, chunks[0][1] - opened_at[0]))
    check(second_start is not first_end,
          label + ": the two records arrived together, not as two writes with a pause between")
    check(second_start[1] - first_end[0] >= PAUSE,
          "%s: the second record began within %.3f s of the end of the first"
          % (label, second_start[1] - first_end[0]))
    if check(closed_at is not None, label + ": the port was not closed"):
        check(closed_at[1] - last[0] >= PAUSE,
              "%s: the port was closed within %.3f s of the last record" % (label, closed_at[1] - last[0]))


def run(emulator, program):
    prefix = wine_prefix()
    os.environ["WINEPREFIX"] = prefix
    dosdevices = os.path.join(prefix, "dosdevices")
    if not os.path.isfile(os.path.join(prefix, "system.reg")):
        # First use: the emulator makes the prefix, and mountmgr its port links.
        subprocess.run([emulator, "cmd", "/c", "exit"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
    if not check(not visible_windows(MAIN_DIALOG), "a KorvelConfig runs already on this display"):
        return

    decoy, tracker = Device(), Device()
    links, instances = [], []
    try:
        free = [n for n in range(1, 10) if not os.path.lexists(os.path.join(dosdevices, "com%d" % n))]
        if not check(len(free) >= 2, "fewer than two free COM numbers in " + dosdevices):
            return
        for n, device in ((free[0], decoy), (free[-1], tracker)):
            os.symlink(device.path, os.path.join(dosdevices, "com%d" % n))
            links.append(os.path.join(dosdevices, "com%d" % n))
        row = sum(1 for n in range(1, free[-1])
                  if listed_by_the_program(os.path.join(dosdevices, "com%d" % n)))
        print("COM%d is the decoy %s, COM%d the tracker %s (row %d of the port list)"
              % (free[0], decoy.path, free[-1], tracker.path, row), flush=True)

        first = KorvelConfig(emulator, program)
        instances.append(first)
        if not first.wait_for_dialog():
            return

        # A second start while the first runs.
        second = KorvelConfig(emulator, program)
        instances.append(second)
        refusal = find_window("^Error$")
        if check(refusal is not None, "a second start showed no box captioned Error"):
            check(len(visible_windows(MAIN_DIALOG)) == 1, "a second start opened a main dialog")
            press_keys(refusal, "Return")
        check(second.exit_code() == 255,
              "a second start ended with %s, not -1 (255)" % second.exit_code(0))
        check(first.process.poll() is None and visible_windows(MAIN_DIALOG) == [first.window],
              "the first instance did not survive the second start")

        first.choose_port_row(row)
        first.program(tracker, decoy, (CFG0, CFG1), "defaults")
        code = first.close("alt+F4")
        check(code == 0, "Alt+F4 on the main dialog ended the program with %s, not 0" % code)

        # Once the first has ended, a new start runs: a comment typed into Config 0.
        again = KorvelConfig(emulator, program)
        instances.append(again)
        if not check(again.wait_for_dialog(), "no start after the first instance had ended"):
            return
        again.click(COMMENT0)
        xdotool("type", "--delay", 50, "Test")
        again.choose_port_row(row)
        again.program(tracker, decoy, (CFG0_TEST, CFG1), "typed comment")
        code = again.close("close box")
        check(code == 0, "the close box ended the program with %s, not 0" % code)

        # Overlong pastes into Path 0: one box each, after which the records fit.
        last = KorvelConfig(emulator, program)
        instances.append(last)
        if not check(last.wait_for_dialog(), "no third start"):
            return
        for text in ("WIDE1-1," * 40 + "COMPRESSED", "WIDE1-1," * 125):
            boxes = last.paste_into_path0(text)
            if check(len(boxes) == 1, "a paste of %d characters showed %d boxes" % (len(text), len(boxes))):
                press_keys(boxes[0], "Return")
                check(not wait_until(lambda: visible_windows("^KorvelConfig$"), 1.5),
                      "another box followed the one of a paste of %d characters" % len(text))
        last.choose_port_row(row)
        tracker.take()
        last.click(PROGRAM_BUTTON)
        press_keys(find_window("^KorvelConfig$", 20), "Return")
        wait_until(tracker.closed, 30)
        values = [len(r.split(b",")) for r in b"".join(c[2] for c in tracker.take()[1]).split(b" ")[:2]]
        check(len(values) == 2 and values[0] - 1 <= 53 and sum(values) <= 64,
              "after the pastes the records have %s values, more than fit" % values)
        # Closed while a box is open: the box goes along, nothing follows.
        check(len(last.paste_into_path0("RELAY," * 50)) == 1, "the RELAY paste did not show one box")
        code = last.close("close box")
        check(code == 0 and not visible_windows("^KorvelConfig$"),
              "closed during the box, the program ended with %s, boxes left: %s" % (code, visible_windows("^KorvelConfig$")))
    finally:
        for instance in instances:
            instance.kill()
        for link in links:
            os.unlink(link)
        decoy.stop()
        tracker.stop()


def main(argv):
    if len(argv) != 3:
        print(__doc__)
        return 2
    emulator, program = argv[1], argv[2]
    xvfb = None
    if not os.environ.get("DISPLAY"):
        read_end, write_end = os.pipe()
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                 "1280x1024x24", "-nolisten", "tcp"],
                                pass_fds=[write_end], stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as display:
            os.environ["DISPLAY"] = ":" + display.readline().strip()
    try:
        run(emulator, program)
    finally:
        if xvfb:
            # Wine's desktop process holds this display: let the wineserver end first.
            subprocess.run(["wineserver", "-w"], check=False)
            xvfb.terminate()
            xvfb.wait()
    if failures:
        print("%d check(s) failed" % len(failures))
        return 1
    print("KorvelConfig.exe passed the end-to-end checks")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
