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


def run(emulator, program):
    os.environ["WINEPREFIX"] = e2e.wine_prefix()
    link = os.path.join(e2e.wine_prefix(), "dosdevices", "com%d")
    # The map lives as long as the wineserver: a cmd waiting for input keeps it up.
    keeper = subprocess.Popen([emulator, "cmd"], stdin=subprocess.PIPE, stdout=subprocess.DEVNULL)
    devices, plugged, instance = {11: e2e.Device(), 12: e2e.Device()}, [], None

    def registry(action, n, *value):
        subprocess.run([emulator, "reg", action, r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v",
                        r"\Device\KorvelTest%d" % n, *value, "/f"], stdout=subprocess.DEVNULL, check=False)

    def plug_in(n):
        if not e2e.check(not os.path.lexists(link % n), "COM%d is taken" % n):
            return False
        os.symlink(devices[n].path, link % n)
        plugged.append(n)
        registry("add", n, "/d", "COM%d" % n)
        return True

    try:
        # Before COM11 and COM12 come the ones of COM1 to COM9 that open.
        row = sum(1 for n in range(1, 10) if e2e.listed_by_the_program(link % n))
        if not plug_in(12) or not (instance := e2e.KorvelConfig(emulator, program)).wait_for_dialog():
            return
        instance.choose_port_row(row)
        instance.program(devices[12], devices[11], (e2e.CFG0, e2e.CFG1), "COM12 there at the start")
        if not plug_in(11):
            return
        instance.choose_port_row(row)  # the list opens, finds COM11 and shows it before COM12
        instance.program(devices[11], devices[12], (e2e.CFG0, e2e.CFG1), "COM11 plugged in later")
        e2e.check(instance.close("alt+F4") == 0, "the program did not end with 0")
    finally:
        if instance:
            instance.kill()
        for n in plugged:
            os.unlink(link % n)
            registry("delete", n)
        for device in devices.values():
            device.stop()
        keeper.stdin.close()
        keeper.wait()


if __name__ == "__main__":
    e2e.run = run  # windows_e2e.py's display set-up and report around this run
    sys.exit(e2e.main(sys.argv))
