#!/usr/bin/python3
"""The Linux program as a screen reader finds it: in an Xvfb of its own with its own session
and accessibility buses, its tree read over AT-SPI (pyatspi), keys and clicks from xdotool.
usage: screen_reader_test.py korvelconfig"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from windows_e2e import check, failures, wait_until  # noqa: E402

CONFIG = ["Mycall", "SSID", "Symbol", "Digi-Hops", "Path type", "Path type", "Path", "TX Delay",  # a combo and its field
          "Transmitt intervall during drive", "km/h above is drive", "Transmitt intervall if not drive",
          "CommentText", "Frames without Text"]
NAMES = sorted(["Config %d %s" % (n, name) for n in (0, 1) for name in CONFIG] + [
    "Tiny13", "Tiny2313", "Mega8", "Disable 2nd Config", "Log", "Generate Config and Programm"] + ["Port", "Baud rate"] * 2)
SLIDERS = ["2", "233.3 ms", "30 sec", "10 km/h", "6min 0sec", "10 frames"] * 2

def inside(program):
    from gi.repository import Gio, GLib
    # As a screen reader does on start: the toolkits turn their bridges on.
    Gio.bus_get_sync(Gio.BusType.SESSION).call_sync(
        "org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
        GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
        None, Gio.DBusCallFlags.NONE, 10000, None)
    import pyatspi

    def walk(node):
        yield node
        for child in (node.getChildAtIndex(i) for i in range(node.childCount)):
            yield from walk(child) if child is not None else ()

    def spoken(node):  # the labels that point to it, else its own name
        return " ".join(r.getTarget(i).name for r in node.getRelationSet() for i in range(r.getNTargets())
                        if r.getRelationType() == pyatspi.RELATION_LABELLED_BY) or node.name

    def in_list(node):  # a combo's list and its rows
        return node.getRoleName() in ("list", "list item") and (
            node.parent.getRoleName() == "combo box" or in_list(node.parent))

    def window(name):
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [a for a in (desktop.getChildAtIndex(i) for i in range(desktop.childCount)) if a and a.name == "korvelconfig"]
        return next((w for a in apps for w in (a.getChildAtIndex(i) for i in range(a.childCount)) if w and w.name == name), None)

    def after(node):  # what is shown right after it: a slider's value label
        return node.parent.getChildAtIndex(node.getIndexInParent() + 1)

    runtime = tempfile.TemporaryDirectory()  # so that a running instance does not refuse this one
    process = subprocess.Popen([program], env=dict(os.environ, XDG_RUNTIME_DIR=runtime.name, QT_QPA_PLATFORM="xcb"))
    try:
        dialog = wait_until(lambda: window("Korvel Config V1.12"), 20)
        if not check(dialog, "no dialog in the accessibility tree"):
            return
        # With no window manager, the window takes the keyboard when told to.
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Korvel Config V1\\.12$",
                        "windowfocus", "--sync"], check=True, timeout=30)
        nodes = list(walk(dialog))
        focusable = [n for n in nodes if n.getState().contains(pyatspi.STATE_FOCUSABLE)]
        controls = [n for n in focusable if not in_list(n)]
        print("named %d of %d focusable controls" % (len([n for n in controls if spoken(n)]), len(controls)))
        check(all(spoken(n) for n in focusable), "a focusable object without a name")
        check(sorted(spoken(n) for n in controls) == NAMES, "names %s" % sorted(spoken(n) for n in controls))
        sliders = [n for n in nodes if n.getRoleName() == "slider"]
        said, shown = [n.description for n in sliders], [after(n).name for n in sliders]
        check(said == shown == SLIDERS, "sliders say %s, their labels show %s" % (said, shown))
        spaces = [n.name for n in nodes if n.name.startswith("space left within ") and ":" in n.name]
        check(spaces == ["space left within Config0: 32", "space left within EEPROM: 21"], "space displays %s" % spaces)
        check([n.getRoleName() for n in nodes].count("status bar") == 1, "no status bar")

        delay = next(n for n in sliders if n.name == "Config 0 TX Delay")  # Right: 36 steps of 6.67 ms
        delay.queryComponent().grabFocus()
        wait_until(lambda: delay.getState().contains(pyatspi.STATE_FOCUSED), 5)
        subprocess.run(["xdotool", "key", "Right"], check=True)
        check(wait_until(lambda: delay.description == "240.0 ms" == after(delay).name, 5),
              "TX Delay after a step says %r, its label shows %r" % (delay.description, after(delay).name))

        # Clicked as a user does (a focus asked over AT-SPI would wait for the chooser's end).
        symbol = next(n for n in controls if n.name == "Config 1 Symbol").queryComponent()
        x, y, width, height = symbol.getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "click", "1"], check=True)
        chooser = wait_until(lambda: window("Choose APRS-Symbol"), 20)
        picture = chooser and wait_until(lambda: next((n for n in walk(chooser) if n.name == "choose your APRS-Symbol"
                                                     and n.getState().contains(pyatspi.STATE_FOCUSED)), None), 5)
        if check(picture, "no chooser with its picture focused and named"):
            check(picture.description == ">/, row 2, column 14", "the chooser says %r" % picture.description)
            subprocess.run(["xdotool", "key", "Right", "Down"], check=True)
            check(wait_until(lambda: picture.description == "O/, row 3, column 15", 5),
                  "after Right and Down the chooser says %r" % picture.description)
            subprocess.run(["xdotool", "key", "Escape"], check=True)
    finally:
        process.terminate()
        process.wait(10)


def main(argv):
    if argv[1] == "--inside":
        inside(argv[2])
        print("%d check(s) failed" % len(failures) if failures else "passed")
        return 1 if failures else 0
    # An X server on a display it finds free itself (other file-system namespaces on the
    # machine share the abstract sockets), and a session bus of its own, which starts
    # the accessibility bus when asked for it.
    display, told = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0", "1280x1024x24", "-nolisten", "tcp",
                             "-noreset"], pass_fds=[told], stderr=subprocess.DEVNULL)
    os.close(told)
    env = {k: v for k, v in os.environ.items() if k not in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS")}
    env["DISPLAY"] = ":" + os.read(display, 16).decode().strip()
    try:
        return subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__), "--inside", argv[1]],
                              env=env, timeout=300).returncode
    finally:
        xvfb.terminate()
        xvfb.wait(10)

if __name__ == "__main__":
    sys.exit(main(sys.argv))
