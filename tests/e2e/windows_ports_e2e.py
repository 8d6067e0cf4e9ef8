#!/usr/bin/env python3
"""KorvelConfig.exe under Wine with ports numbered as Windows numbers USB
adapters: COM12 is there at the start, COM11 is plugged in while the program
runs and shows up when the port list is opened. Each is a pseudo-terminal
linked in the prefix's dosdevices/ and entered in the registry's SERIALCOMM
map, as a port driver enters it; each is chosen and programmed with mouse and
keyboard.

usage: windows_ports_e2e.py EMULATOR PROGRAM (DISPLAY, WINEPREFIX: windows_e2e.py)
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import windows_e2e as e2e  # noqa: E402

SERIALCOMM = r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM"


def reg(emulator, *args):
    subprocess.run([emulator, "reg"] + list(args) + ["/f"], stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=False)


def run(emulator, program):
    prefix = e2e.wine_prefix()
    os.environ["WINEPREFIX"] = prefix
    dosdevices = os.path.join(prefix, "dosdevices")
    # The map lives as long as the wineserver: a cmd waiting for input keeps it up.
    keeper = subprocess.Popen([emulator, "cmd"], stdin=subprocess.PIPE,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    com11, com12 = e2e.Device(), e2e.Device()
    plugged, instance = [], None

    def plug_in(number, device):
        link = os.path.join(dosdevices, "com%d" % number)
        if not e2e.check(not os.path.lexists(link), "COM%d is taken in %s" % (number, dosdevices)):
            return False
        os.symlink(device.path, link)
        plugged.append(number)
        reg(emulator, "add", SERIALCOMM, "/v", r"\Device\KorvelTest%d" % number, "/d", "COM%d" % number)
        return True

    try:
        if not plug_in(12, com12):
            return
        # Before COM11 and COM12 come the ones of COM1 to COM9 that open.
        row = sum(1 for n in range(1, 10)
                  if e2e.listed_by_the_program(os.path.join(dosdevices, "com%d" % n)))
        instance = e2e.KorvelConfig(emulator, program)
        if not instance.wait_for_dialog():
            return
        instance.choose_port_row(row)
        instance.program(com12, com11, (e2e.CFG0, e2e.CFG1), "COM12 present at the start")
        if not plug_in(11, com11):
            return
        instance.choose_port_row(row)  # the list opens, finds COM11 and shows it before COM12
        instance.program(com11, com12, (e2e.CFG0, e2e.CFG1), "COM11 plugged in after the start")
        e2e.check(instance.close("alt+F4") == 0, "the program did not end with 0")
    finally:
        if instance:
            instance.kill()
        for number in plugged:
            os.unlink(os.path.join(dosdevices, "com%d" % number))
            reg(emulator, "delete", SERIALCOMM, "/v", r"\Device\KorvelTest%d" % number)
        com11.stop()
        com12.stop()
        keeper.stdin.close()
        keeper.wait()


if __name__ == "__main__":
    e2e.run = run  # windows_e2e.py's display set-up and report around this run
    sys.exit(e2e.main(sys.argv))
