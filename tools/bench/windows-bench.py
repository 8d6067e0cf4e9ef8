#!/usr/bin/env python3
"""Figures of the Windows program under Wine (and of the Linux program's run):

  - the size of KorvelConfig.exe and the DLLs it imports;
  - the time from start to the visible main dialog, against an empty dialog
    program built the same way (empty_dialog_win32.exe), taken turn about;
  - the time of a programming run with both records on a pseudo-terminal,
    against its floor of three pauses of 500 ms; the same for the Linux
    program (programming_bench_qt) when the linux preset is built.

usage: tools/bench/windows-bench.py [REPETITIONS]
Build the windows preset first (and the linux one for the Linux figure). Uses
DISPLAY and WINEPREFIX (default build/wineprefix); without a DISPLAY it starts
an Xvfb of its own. Run it on an otherwise quiet machine.
"""
import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import windows_e2e as e2e  # noqa: E402  (the e2e test's window and xdotool helpers)
import wine_ports  # noqa: E402  (its pseudo-terminals as COM ports)

PROGRAM = os.path.join(ROOT, "build/windows/KorvelConfig.exe")
EMPTY = os.path.join(ROOT, "build/windows/tools/bench/empty_dialog_win32.exe")
LINUX_BENCH = os.path.join(ROOT, "build/linux/tools/bench/programming_bench_qt")
EMULATOR = os.path.join(ROOT, "cmake/wine-run.sh")
OBJDUMP = "x86_64-w64-mingw32-objdump"
# The MinGW runtime's DLLs: none of them may be needed beside the .exe.
RUNTIME_DLLS = ("libstdc++", "libgcc", "libwinpthread")


def figures(values):
    return "median %.0f ms, min %.0f, max %.0f (%d runs)" % (
        statistics.median(values) * 1000, min(values) * 1000, max(values) * 1000, len(values))


def size_and_imports():
    print("== KorvelConfig.exe")
    size = os.path.getsize(PROGRAM)
    with tempfile.TemporaryDirectory() as work:
        stripped = os.path.join(work, "stripped.exe")
        subprocess.run(["x86_64-w64-mingw32-strip", "-o", stripped, PROGRAM], check=True)
        print("size: %d bytes (%d stripped); empty dialog program: %d bytes"
              % (size, os.path.getsize(stripped), os.path.getsize(EMPTY)))
    dump = subprocess.run([OBJDUMP, "-p", PROGRAM], capture_output=True, text=True, check=True).stdout
    dlls = [line.split(":", 1)[1].strip() for line in dump.splitlines() if "DLL Name:" in line]
    foreign = [dll for dll in dlls if dll.lower().startswith(RUNTIME_DLLS)]
    print("imports: " + ", ".join(dlls))
    print("imports beyond Windows' own: " + (", ".join(foreign) if foreign else "none"))


class MapWatch:
    """When top-level windows were mapped, as the X server reports it. Window
    ids come round again with each new X client."""

    def __init__(self):
        self.maps = []  # (time, window)
        self.process = subprocess.Popen(["xev", "-root", "-event", "substructure"],
                                        stdout=subprocess.PIPE, text=True, bufsize=1)
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        after_map = False
        for line in self.process.stdout:
            now = time.monotonic()
            if line.startswith("MapNotify"):
                after_map = True
            elif after_map and "window 0x" in line:
                window = int(line.split("window ")[1].split(",")[0], 16)
                self.maps.append((now, window))
                after_map = False

    def first_map(self, window, since):
        return next((t for t, w in list(self.maps) if w == window and t >= since), None)

    def stop(self):
        self.process.terminate()
        self.process.wait()


def start_to_dialog(watch, program, name):
    """Seconds from the start of the program to the map of its window, or None."""
    started = time.monotonic()
    process = subprocess.Popen(["wine", program])
    window = e2e.find_window(name)
    mapped = e2e.wait_until(lambda: watch.first_map(int(window), started), 5) if window else None
    if window:
        e2e.press_keys(window, "alt+F4")
    try:
        process.wait(30)
    except subprocess.TimeoutExpired:
        process.kill()
        process.wait()
    return mapped - started if mapped else None


def startup(repetitions):
    print("== start to visible main dialog under Wine")
    watch = MapWatch()
    try:
        # The yardstick shows the same template, caption and all; one runs at a time.
        programs = ((PROGRAM, e2e.MAIN_DIALOG), (EMPTY, e2e.MAIN_DIALOG))
        for program, name in programs:  # warm-up: Wine's own start, not counted
            start_to_dialog(watch, program, name)
        times = ([], [])
        for _ in range(repetitions):  # turn about, so both meet the same machine
            for (program, name), found in zip(programs, times):
                found.append(start_to_dialog(watch, program, name))
    finally:
        watch.stop()
    real, empty = ([t for t in found if t is not None] for found in times)
    print("KorvelConfig.exe: " + figures(real))
    print("empty dialog:     " + figures(empty))
    print("difference of the medians: %.0f ms, ratio %.2f (aim: at most 1.10)"
          % ((statistics.median(real) - statistics.median(empty)) * 1000,
             statistics.median(real) / statistics.median(empty)))


def programming_run(repetitions):
    print("== programming run under Wine (both records, pseudo-terminal)")
    links = wine_ports.dosdevices([EMULATOR, "cmd", "/c", "exit"])
    link = os.path.join(links, "com12")
    if os.path.lexists(link):
        print("COM12 is taken in " + links)
        return
    # COM12 in the registry's port map: the list's last row. The map lives as long
    # as the wineserver, which a cmd waiting for input keeps up.
    keeper = subprocess.Popen([EMULATOR, "cmd"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
    registry = [EMULATOR, "reg", "add", r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v", r"\Device\KorvelBench"]
    tracker = wine_ports.Device()
    os.symlink(tracker.path, link)
    subprocess.run(registry + ["/d", "COM12", "/f"], stdout=subprocess.DEVNULL)
    instances = []
    try:
        program = e2e.KorvelConfig(EMULATOR, PROGRAM, instances)
        if not program.window:
            return
        program.click(e2e.PORT_LIST_ARROW)
        time.sleep(0.3)
        e2e.press_keys(program.window, *(["Down"] * 12 + ["Return"]))
        to_warning, to_close, open_to_close = [], [], []  # to_close: (after, before) the keystroke
        for _ in range(repetitions):
            tracker.take()
            pressed = time.monotonic()
            program.click(e2e.PROGRAM_BUTTON)
            warning = e2e.find_window(e2e.BOX, 20)
            if not warning:
                print("no warning box")
                return
            to_warning.append(time.monotonic() - pressed)
            e2e.xdotool("windowfocus", "--sync", warning)
            # The keystroke goes out somewhere within xdotool's run: both ends are given.
            before = time.monotonic()
            e2e.xdotool("key", "Return")
            after = time.monotonic()
            e2e.wait_until(lambda: any(e[0] == "close" for e in tracker.events), 30)
            events = tracker.take()
            opened = next((e for e in events if e[0] == "open"), None)
            closed = next((e for e in events if e[0] == "close"), None)
            if not opened or not closed or b"".join(e[3] for e in events) != e2e.CFG0 + e2e.CFG1:
                print("the run did not deliver both records and close the port")
                return
            to_close.append((closed[2] - after, closed[2] - before))
            open_to_close.append(closed[2] - opened[2])
        print("button click to warning shown (xdotool polling included): " + figures(to_warning))
        print("Return on the warning to port closed, from after the keystroke: "
              + figures([t[0] for t in to_close]))
        print("  from before it: " + figures([t[1] for t in to_close]) + "; floor 1500 ms")
        print("port opened to port closed (each seen within a few ms): " + figures(open_to_close)
              + "; floor 1500 ms")
        e2e.press_keys(program.window, "alt+F4")
        program.exit_code()
    finally:
        for instance in instances:
            if instance.process.poll() is None:
                instance.process.terminate()  # the Wine wrapper ends its program too
        os.unlink(link)
        subprocess.run([EMULATOR, "reg", "delete"] + registry[3:] + ["/f"], stdout=subprocess.DEVNULL)
        keeper.stdin.close()
        keeper.wait()


def linux_programming_run(repetitions):
    print("== programming run of the Linux program (Qt offscreen, pseudo-terminal)")
    if not os.path.exists(LINUX_BENCH):
        print("not built: " + LINUX_BENCH)
        return
    output = subprocess.run([LINUX_BENCH, str(repetitions)], capture_output=True, text=True).stdout
    print(output.strip().splitlines()[-1])


def main(argv):
    repetitions = int(argv[1]) if len(argv) > 1 else 7
    for path in (PROGRAM, EMPTY):
        if not os.path.exists(path):
            print("not built: %s (cmake --build --preset windows)" % path)
            return 1
    os.environ.setdefault("WINEPREFIX", os.path.join(ROOT, "build/wineprefix"))
    os.environ.setdefault("WINEDEBUG", "-all")
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
        # Makes the prefix if needed (and keeps Wine's windows unmanaged) the tests' way.
        subprocess.run([EMULATOR, "cmd", "/c", "exit"], stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, check=False)
        size_and_imports()
        startup(repetitions)
        programming_run(max(3, repetitions // 2))
        linux_programming_run(max(3, repetitions // 2))
    finally:
        if xvfb:
            subprocess.run(["wineserver", "-w"], check=False)
            xvfb.terminate()
            xvfb.wait()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
