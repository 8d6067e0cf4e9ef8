#!/usr/bin/python3
"""The Linux program as a screen reader finds it: started in an Xvfb of its own with its
own session bus and accessibility bus, its tree read over AT-SPI (pyatspi), keys sent
with xdotool. usage: screen_reader_test.py korvelconfig"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

CONFIG = ["Mycall", "SSID", "Symbol", "Digi-Hops", "Path type", "Path type", "Path", "TX Delay",
          "Transmitt intervall during drive", "km/h above is drive", "Transmitt intervall if not drive",
          "CommentText", "Frames without Text"]  # the path type's combo and its field
NAMES = sorted(["Config %d %s" % (n, name) for n in (0, 1) for name in CONFIG] + [
    "Tiny13", "Tiny2313", "Mega8", "Disable 2nd Config", "Log", "Generate Config and Programm",
    "Port", "Port", "Baud rate", "Baud rate"])
SLIDERS = ["2", "233.3 ms", "30 sec", "10 km/h", "6min 0sec", "10 frames"] * 2
WARNING = "please make sure that gps-receiver is disconnected from Tracker,"
failures = []
checks = [0]


def check(condition, message):
    checks[0] += 1
    if not condition:
        failures.append(message)
        print("FAIL " + message)
    return condition


def wait_for(find, timeout=20):
    end = time.time() + timeout
    while time.time() < end:
        found = find()
        if found:
            return found
        time.sleep(0.2)
    return None


def inside(program):
    from gi.repository import Gio, GLib
    # What a screen reader does on start: the toolkits turn their bridges on.
    bus = Gio.bus_get_sync(Gio.BusType.SESSION)
    bus.call_sync("org.a11y.Bus", "/org/a11y/bus", "org.freedesktop.DBus.Properties", "Set",
                  GLib.Variant("(ssv)", ("org.a11y.Status", "ScreenReaderEnabled", GLib.Variant("b", True))),
                  None, Gio.DBusCallFlags.NONE, 10000, None)
    import pyatspi

    def walk(node):
        yield node
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                yield from walk(child)

    def spoken(node):  # the labels that point to it, else its own name
        labels = [target.name for relation in node.getRelationSet()
                  if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY
                  for target in (relation.getTarget(i) for i in range(relation.getNTargets()))]
        return " ".join(labels) or node.name

    def in_list(node):
        parent = node.parent
        return node.getRoleName() in ("list", "list item") and parent is not None and (
            parent.getRoleName() == "combo box" or in_list(parent))

    def window(name):
        desktop = pyatspi.Registry.getDesktop(0)
        apps = [desktop.getChildAtIndex(i) for i in range(desktop.childCount)]
        return next((w for app in apps if app is not None and app.name == "korvelconfig"
                     for w in (app.getChildAtIndex(i) for i in range(app.childCount))
                     if w is not None and w.name == name), None)

    def point(node, *then):
        x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        subprocess.run(["xdotool", "mousemove", str(x + width // 2), str(y + height // 2)] + list(then), check=True)

    def key(node, *keys):  # the keys to a control that has the focus, as a user types them
        node.queryComponent().grabFocus()
        wait_for(lambda: node.getState().contains(pyatspi.STATE_FOCUSED), 5)
        point(node, "key", "--delay", "50", *keys)

    def click(node):
        point(node, "click", "1")

    runtime = tempfile.mkdtemp()  # of its own, so a running instance does not refuse this one
    process = subprocess.Popen([program], env=dict(os.environ, XDG_RUNTIME_DIR=runtime, QT_QPA_PLATFORM="xcb"))
    try:
        dialog = wait_for(lambda: window("Korvel Config V1.12"))
        if not check(dialog is not None, "no dialog in the accessibility tree"):
            return
        # With no window manager, the window takes the keyboard when told to.
        subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Korvel Config V1\\.12$",
                        "windowfocus", "--sync"], check=True, timeout=30)
        nodes = list(walk(dialog))
        focusable = [n for n in nodes if n.getState().contains(pyatspi.STATE_FOCUSABLE)]
        controls = [n for n in focusable if not in_list(n)]
        unnamed = ["%s at %d" % (n.getRoleName(), nodes.index(n)) for n in focusable if not spoken(n)]
        print("named %d of %d focusable controls" % (len([n for n in controls if spoken(n)]), len(controls)))
        check(not unnamed, "focusable without a name: %s" % unnamed)
        check(sorted(spoken(n) for n in controls) == NAMES, "names %s" % sorted(spoken(n) for n in controls))

        # Each slider says what the label after it shows.
        siblings = [[n.parent.getChildAtIndex(i) for i in range(n.parent.childCount)] for n in nodes if n.parent]
        sliders = [n for n in nodes if n.getRoleName() == "slider"]
        shown = [next(s[s.index(n) + 1].name for s in siblings if n in s) for n in sliders]
        check([n.description for n in sliders] == shown == SLIDERS,
              "sliders say %s, their labels show %s" % ([n.description for n in sliders], shown))
        spaces = [n.name for n in nodes if n.name.startswith("space left within ") and ":" in n.name]
        check(spaces == ["space left within Config0: 32", "space left within EEPROM: 21"], "space displays %s" % spaces)
        check([n.getRoleName() for n in nodes].count("status bar") == 1, "no status bar")

        # Right moves TX Delay 0 one step: 36 of 6.67 ms.
        delay = next(n for n in sliders if n.name == "Config 0 TX Delay")
        key(delay, "Right")
        check(wait_for(lambda: delay.description == "240.0 ms", 5), "TX Delay after a step says %r" % delay.description)
        label = next(s[s.index(delay) + 1] for s in siblings if delay in s)
        check(label.name == delay.description, "its label shows %r" % label.name)

        # The chooser names the highlighted symbol, and follows the arrow keys.
        click(next(n for n in controls if n.name == "Config 1 Symbol"))
        chooser = wait_for(lambda: window("Choose APRS-Symbol"))
        if check(chooser is not None, "no chooser"):
            picture = wait_for(lambda: next((n for n in walk(chooser) if n.name == "choose your APRS-Symbol"
                                             and n.getState().contains(pyatspi.STATE_FOCUSED)), None), 5)
            if check(picture is not None, "the chooser's picture is not focused and named"):
                check(picture.description == ">/, row 2, column 14", "chooser says %r" % picture.description)
                subprocess.run(["xdotool", "key", "Right", "Down"], check=True)
                check(wait_for(lambda: picture.description == "O/, row 3, column 15", 5),
                      "after Right and Down the chooser says %r" % picture.description)
            subprocess.run(["xdotool", "key", "Escape"], check=True)
            check(wait_for(lambda: window("Choose APRS-Symbol") is None, 5), "Escape left the chooser open")

        # A message box is read with its text; the run waits in it, so no port is opened.
        click(next(n for n in controls if n.name == "Generate Config and Programm"))
        box = wait_for(lambda: window("KorvelConfig"))
        if check(box is not None, "no message box"):
            check(box.getRoleName() == "alert" and any(n.name.startswith(WARNING) for n in walk(box)),
                  "the box reads %s" % [(n.getRoleName(), n.name) for n in walk(box)])
    finally:
        process.terminate()
        process.wait(10)
        shutil.rmtree(runtime)


def main(argv):
    if len(argv) == 3 and argv[1] == "--inside":
        inside(argv[2])
        print("%d passed, %d failed" % (checks[0] - len(failures), len(failures)))
        return 1 if failures else 0
    # A display free here and in the network's abstract sockets, which other
    # file-system namespaces on the machine share with this one.
    taken = open("/proc/net/unix").read()
    number = next(n for n in range(100 + os.getpid() % 400, 1000)
                  if not os.path.exists("/tmp/.X%d-lock" % n) and "/tmp/.X11-unix/X%d\n" % n not in taken)
    env = dict(os.environ, DISPLAY=":%d" % number)
    for name in ("DBUS_SESSION_BUS_ADDRESS", "AT_SPI_BUS_ADDRESS", "QT_LINUX_ACCESSIBILITY_ALWAYS_ON"):
        env.pop(name, None)
    xvfb = subprocess.Popen(["Xvfb", ":%d" % number, "-screen", "0", "1280x1024x24", "-nolisten", "tcp", "-noreset"],
                            stderr=subprocess.DEVNULL)
    try:
        if not wait_for(lambda: subprocess.run(["xdpyinfo"], env=env, capture_output=True).returncode == 0, 10):
            print("no X server at :%d" % number)
            return 1
        # Its own session bus, which starts the accessibility bus when it is asked for.
        return subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__),
                               "--inside", argv[1]], env=env, timeout=300).returncode
    finally:
        xvfb.terminate()
        xvfb.wait(10)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
