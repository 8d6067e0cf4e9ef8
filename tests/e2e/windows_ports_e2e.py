#!/usr/bin/env python3
"""KorvelConfig.exe under Wine: COM12 there at the start, COM11 plugged in while
it runs (found when the list opens), each a pseudo-terminal linked in dosdevices/
and entered in the registry's SERIALCOMM map as a driver enters it, each chosen
and programmed with mouse and keyboard. usage: as windows_e2e.py"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import windows_e2e as e2e  # noqa: E402


def run(emulator, program, instances):
    link = os.path.join(e2e.dosdevices([emulator, "cmd", "/c", "exit"]), "com%d")
    # The map lives as long as the wineserver: a cmd waiting for input keeps it up.
    keeper = subprocess.Popen([emulator, "cmd"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
    devices, plugged = {11: e2e.Device(), 12: e2e.Device()}, []

    def registry(action, n, *value):
        subprocess.run([emulator, "reg", action, r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v",
                        r"\Device\KorvelTest%d" % n, *value, "/f"], stdout=subprocess.DEVNULL)

    def plug_in(n):
        if e2e.check(not os.path.lexists(link % n), "COM%d is taken" % n):
            os.symlink(devices[n].path, link % n)
            plugged.append(n)
            registry("add", n, "/d", "COM%d" % n)
        return n in plugged

    try:
        # Before COM11 and COM12 come the ones of COM1 to COM9 that open.
        row = sum(e2e.listed_by_the_program(link % n) for n in range(1, 10))
        if not plug_in(12) or not (instance := e2e.KorvelConfig(emulator, program, instances)).window:
            return
        instance.program(row, devices[12], devices[11], (e2e.CFG0, e2e.CFG1), "COM12 there at the start")
        if plug_in(11):  # the list opens, finds COM11 and shows it before COM12
            instance.program(row, devices[11], devices[12], (e2e.CFG0, e2e.CFG1), "COM11 plugged in later")
        e2e.press_keys(instance.window, "alt+F4")
        e2e.check(instance.exit_code() == 0, "the program did not end with 0")
    finally:
        for n in plugged:
            os.unlink(link % n)
            registry("delete", n)
        keeper.stdin.close()
        keeper.wait()


if __name__ == "__main__":
    sys.exit(e2e.main(sys.argv, run))
