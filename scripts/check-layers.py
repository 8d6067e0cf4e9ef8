#!/usr/bin/env python3
"""Checks that includes run one way: hosts -> app -> dialog -> serial, config.

Each folder may include headers of the folders listed for it and no others;
Qt headers belong to hosts/qt, <windows.h> to hosts/win32 and the Win32 port
and file backends. Exits with 1 and names every wrong include.
"""

import os
import re
import sys

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), ".."))

# Folder -> folders whose headers it may include.
ALLOWED = {
    "config": {"config"},
    "serial": {"serial"},
    "dialog": {"dialog", "config", "serial"},
    "app": {"app", "dialog", "config", "serial"},
    "hosts/emulation": {"hosts/emulation", "config"},
    "hosts/headless": {"hosts/headless", "hosts/emulation", "app", "dialog", "config", "serial"},
    "hosts/win32": {"hosts/win32", "hosts/emulation", "app", "dialog", "config", "serial"},
    "hosts/qt": {"hosts/qt", "hosts/emulation", "app", "dialog", "config", "serial"},
}
WINDOWS_H_ALLOWED = ("hosts/win32/", "serial/port_win32.cpp", "app/settings_storage_win32.cpp",
                     "app/wide_text_win32.cpp")

INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')


def sources(folder):
    for name in sorted(os.listdir(os.path.join(ROOT, folder))):
        if name.endswith((".h", ".cpp", ".def")):
            yield f"{folder}/{name}"


def main():
    # Where each of our headers lives; includes name them without a folder.
    home = {}
    for folder in ALLOWED:
        for path in sources(folder):
            home[os.path.basename(path)] = folder

    problems = []
    for folder, allowed in ALLOWED.items():
        for path in sources(folder):
            with open(os.path.join(ROOT, path), encoding="utf-8") as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    kind, name = match.groups()
                    where = f"{path}:{number}: {line.strip()}"
                    if kind == "<" and re.match(r"Q[A-Za-z]*$", name) and folder != "hosts/qt":
                        problems.append(f"{where}: Qt headers belong to hosts/qt/")
                    elif kind == "<" and name.lower() == "windows.h" and not path.startswith(WINDOWS_H_ALLOWED):
                        problems.append(f"{where}: <windows.h> belongs to hosts/win32/ and the Win32 backends")
                    elif kind == '"' and "/" in name:
                        problems.append(f"{where}: include our headers by name; the target's include path says where")
                    elif kind == '"' and home.get(name, folder) not in allowed:
                        problems.append(f"{where}: {folder}/ may not include {home[name]}/ "
                                        "(includes run hosts -> app -> dialog -> serial, config)")
    for problem in problems:
        print(problem)
    print(f"check-layers: {len(problems)} wrong include(s)" if problems else "check-layers: includes run one way")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
