#!/usr/bin/env python3
"""KorvelConfig.exe under Wine, used as a person uses it: mouse and keyboard through xdotool in
the X display of the run, the clipboard through xclip, pseudo-terminals as the tracker.

usage: windows_e2e.py EMULATOR PROGRAM

Pseudo-terminals sit behind COM links of the Wine prefix (see wine_ports.py): a decoy on the
lowest free COM number, the tracker on COM12, in the registry's SERIALCOMM map as a driver enters
it, and later on COM11, plugged in while the program runs and found when the list opens, then
pulled out while chosen. The test picks the tracker in the list as a user would, and holds no end
of the devices open: the program's close of the port is a hang-up here.
"""
import itertools
import os
import subprocess
import sys
import time

from wine_ports import Device, dosdevices, free_com_numbers

MAIN_DIALOG, BOX = r"^Korvel Config V1\.12$", "^KorvelConfig$"
CFG0 = b"$#Pe030,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35,255 "
CFG1 = b"$#Pe130,100,156,158,134,130,152,152,115,3,240,96,0,6,11,62,47,0,0,10,35 "
CFG0_TEST = CFG0.replace(b"47,0,0,10,", b"47,0,84,101,115,116,0,50,")  # "Test" typed as comment 0, Frames 0 at 50
PAUSE = 0.5  # the program's own pause between the steps of a run
PROGRAM_BUTTON, PORT_LIST_ARROW, COMMENT0, PATH0, LOG = (36, 268), (144, 263), (107, 168), (100, 48), (260, 232)  # units
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAIL: " + message, flush=True)
    return condition


def wait_until(predicate, timeout):
    deadline = time.monotonic() + timeout
    while not predicate() and time.monotonic() < deadline:
        time.sleep(0.05)
    return predicate()


def xdotool(*args):
    result = subprocess.run(["xdotool"] + [str(a) for a in args], capture_output=True, text=True, timeout=60)
    return result.stdout.split()


def find_window(name, timeout=60):
    found = wait_until(lambda: xdotool("search", "--onlyvisible", "--name", name), timeout)
    return found[0] if found else None


def press_keys(window, *keys):
    xdotool("windowfocus", "--sync", window)
    xdotool("key", "--delay", 50, *keys)


def check_run(events, expected, label):
    """The two records arrived as one write each, with the pauses after the open, between them and before the close."""
    chunks = [e for e in events if e[0] == "data"]
    received, ends = b"".join(e[3] for e in chunks), list(itertools.accumulate(len(e[3]) for e in chunks))
    if not check(received == b"".join(expected) and len(expected[0]) in ends,
                 "%s: the tracker received %r in %d writes" % (label, received, len(chunks))):
        return
    second = chunks[ends.index(len(expected[0])) + 1]
    opened = [e[1] for e in events if e[0] == "open" and e[1] <= chunks[0][1]]
    closed = [e[2] for e in events if e[0] == "close" and e[1] >= chunks[-1][1]]
    # A pause counts as too short only when the brackets prove it.
    for pause, between in ((chunks[0][2] - opened[-1] if opened else 0, "the open and the first record"),
                           (second[2] - chunks[chunks.index(second) - 1][1], "the records"),
                           (closed[0] - chunks[-1][1] if closed else 0, "the last record and the close")):
        check(pause >= PAUSE, "%s: no pause between %s" % (label, between))


class KorvelConfig:
    def __init__(self, emulator, program, instances, refused=False):
        self.process = subprocess.Popen([emulator, program])
        instances.append(self)
        self.window = None if refused else find_window(MAIN_DIALOG)
        check(refused or self.window, "the main dialog did not appear")

    def click(self, units=None):  # at a point in dialog units, or on the close box
        size = dict(line.split("=") for line in xdotool("getwindowgeometry", "--shell", self.window))
        width, height = int(size["WIDTH"]), int(size["HEIGHT"])
        # Wine draws the frame of the fixed dialog 3 px wide and its caption 19 px high.
        x, y = (width - 13, 12) if not units else (3 + round(units[0] * (width - 6) / 339),
                                                   22 + round(units[1] * (height - 25) / 284))
        xdotool("mousemove", "--window", self.window, x, y, "click", 1)

    def open_port_list(self, keys):
        self.click(PORT_LIST_ARROW)
        time.sleep(0.3)
        press_keys(self.window, *keys)

    def press(self, label, via="click"):
        """Presses the button and confirms the warning; the warning's window, or None. Via "tab": Tab from
        the log on to the button, whose Enter presses it; via "enter": the focus is on it already."""
        if via == "click":
            self.click(PROGRAM_BUTTON)
        else:
            if via == "tab":
                self.click(LOG)
            press_keys(self.window, *(["Tab", "Return"] if via == "tab" else ["Return"]))
        warning = find_window(BOX, 20)
        if check(warning, label + ": no warning box captioned KorvelConfig"):
            press_keys(warning, "Return")
        return warning

    def program(self, up, tracker, decoy, expected, label, via="click"):  # to the port up rows from the list's end
        if via != "enter":  # the dropped list's keys (End is the edit's); up None: the list opened and left
            self.open_port_list(["Escape"] if up is None else ["Down"] * 12 + ["Up"] * up + ["Return"])
        tracker.take()
        if self.press(label, via):
            wait_until(lambda: any(e[0] == "close" for e in tracker.events), 30)
            check_run(tracker.take(), expected, label)
        check(not [e for e in decoy.take() if e[0] == "data"], label + ": bytes went to the port not chosen")
        check(not find_window(BOX, 0), label + ": a message box followed the run")

    def exit_code(self, timeout=30):
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            return None


def run(emulator, program, instances):
    links = dosdevices([emulator, "cmd", "/c", "exit"])
    free = free_com_numbers(links)
    taken = [n for n in (11, 12) if os.path.lexists(os.path.join(links, "com%d" % n))]
    if not check(free and not taken and not find_window(MAIN_DIALOG, 0), "no free COM number, COM11 or COM12 taken, "
                                                                          "or a KorvelConfig runs"):
        return
    # The map lives as long as the wineserver: a cmd waiting for input keeps it up.
    keeper = subprocess.Popen([emulator, "cmd"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
    devices, made = {free[0]: Device(), 11: Device(), 12: Device()}, []

    def plug_in(n):
        made.append(os.path.join(links, "com%d" % n))
        os.symlink(devices[n].path, made[-1])
        if n > 9:
            registry("add", n, "/d", "COM%d" % n)

    def pull_out(n):
        made.remove(os.path.join(links, "com%d" % n))
        os.unlink(os.path.join(links, "com%d" % n))
        registry("delete", n)

    def registry(action, n, *value):
        subprocess.run([emulator, "reg", action, r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v",
                        r"\Device\KorvelTest%d" % n, *value, "/f"], stdout=subprocess.DEVNULL)

    try:
        plug_in(free[0])
        plug_in(12)
        decoy, tracker = devices[free[0]], devices[12]
        first = KorvelConfig(emulator, program, instances)
        second = KorvelConfig(emulator, program, instances, refused=True)  # a second start while the first runs
        refusal = find_window("^Error$")
        if check(refusal, "a second start showed no box captioned Error"):
            check(len(xdotool("search", "--onlyvisible", "--name", MAIN_DIALOG)) == 1, "a second start opened a dialog")
            press_keys(refusal, "Return")
        check(second.exit_code() == 255, "a second start ended with %s, not -1 (255)" % second.exit_code(0))
        check(first.process.poll() is None and first.window, "the first instance did not survive the second start")
        if not first.window:
            return
        check(not find_window("^Choose APRS-Symbol$", 0), "a symbol chooser opened at the start")
        first.program(0, tracker, decoy, (CFG0, CFG1), "defaults to COM12, Tab and Enter", "tab")
        first.program(0, tracker, decoy, (CFG0, CFG1), "Enter again, on the button that had the focus", "enter")
        first.click(COMMENT0)
        xdotool("type", "--delay", 50, "Test")
        xdotool("key", "--delay", 50, "Tab", "End")  # the dialog manager's Tab: on to Frames 0, moved to its end
        plug_in(11)  # the list opens, finds COM11 and shows it before COM12
        first.program(1, devices[11], tracker, (CFG0_TEST, CFG1), "typed comment to COM11 plugged in later")
        # Pulled out while chosen: the list keeps it (marked), the press refuses, nothing goes elsewhere.
        pull_out(11)
        first.open_port_list(["Escape"])
        warning = first.press("COM11 pulled out")
        refusals = lambda: [w for w in xdotool("search", "--onlyvisible", "--name", BOX) if w != warning]  # noqa: E731
        if check(wait_until(refusals, 10), "COM11 pulled out: the press was not refused"):
            press_keys(refusals()[0], "Return")
        time.sleep(1)
        sent = [e for d in devices.values() for e in d.take() if e[0] == "data"]
        check(not sent, "COM11 pulled out: bytes were sent")
        plug_in(11)  # back: still the chosen port, with the list opened and left
        first.program(None, devices[11], tracker, (CFG0_TEST, CFG1), "COM11 back")
        # A paste too long for Path 0 (xclip holds the clipboard) shows one box; closed with the
        # close box meanwhile, the program ends with 0 and the box goes along.
        clip = subprocess.Popen(["xclip", "-selection", "clipboard", "-quiet"], stdin=subprocess.PIPE,
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        clip.stdin.write(b"RELAY," * 50)
        clip.stdin.close()
        first.click(PATH0)
        press_keys(first.window, "End", "shift+Home", "ctrl+v")
        find_window(BOX, 20)
        time.sleep(1)  # time for a second box
        clip.kill()
        check(len(xdotool("search", "--onlyvisible", "--name", BOX)) == 1, "the long paste did not show one box")
        first.click()
        check(first.exit_code() == 0 and not find_window(BOX, 0), "closed during a box: %s" % first.exit_code(0))
    finally:
        for link in made:
            os.unlink(link)
        for n in (11, 12):
            registry("delete", n)
        keeper.stdin.close()
        keeper.wait()


def main(argv, run=run):
    if len(argv) != 3:
        return print(__doc__) or 2
    if not os.environ.get("DISPLAY"):  # an Xvfb of our own, ended after the wineserver that uses it
        os.execvp("xvfb-run", ["xvfb-run", "-a", "-s", "-screen 0 1280x1024x24", "sh", "-c",
                               '"$@"; status=$?; wineserver -w; exit $status', "sh", sys.executable] + argv)
    instances = []
    try:
        run(argv[1], argv[2], instances)
    finally:
        for instance in instances:
            if instance.process.poll() is None:
                instance.process.terminate()  # the Wine wrapper ends its program too
    print("%d check(s) failed" % len(failures) if failures else "%s passed" % os.path.basename(argv[0]))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
