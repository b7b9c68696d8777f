#!/usr/bin/env python3
"""Checks the compiled resources against what the program and its users rely on.

    python3 res/check_resources.py [WINDRES]

Compiles res/orvalis.rc with WINDRES (x86_64-w64-mingw32-windres unless
given) and compares, in the compiled .res: each dialog template control by
control (id, class, text, style, rectangle), the menu tree, the keys, the
icon groups and their order, the cursor, the bitmaps and the version block.
Also checks that the command ids are distinct and that draw_resources.py
still makes the committed pictures byte for byte. Prints every mismatch;
exit code 1 when there is any.
"""

import os
import re
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(HERE)
BUTTON, EDIT, STATIC = 0x80, 0x81, 0x82
NO_ID = 0xFFFF
DIALOG_STYLE = 0x80C808C0

# name: (caption, rectangle, [(id, class, text, style, x, y, w, h)])
DIALOGS = {
    "EDIT": ("Entry Editor", (0, 0, 200, 139), [
        (1, BUTTON, "OK", 0x50010001, 10, 115, 50, 14),
        (2, BUTTON, "Cancel", 0x50010000, 75, 115, 50, 14),
        (9, BUTTON, "Help", 0x50010000, 140, 115, 50, 14),
        (101, EDIT, "", 0x50810080, 47, 7, 138, 14),
        (105, EDIT, "", 0x508110C4, 10, 25, 177, 85),
        (NO_ID, STATIC, "Category:", 0x50020000, 10, 10, 35, 8)]),
    "GET_FIELD": ("Quote Lookup", (0, 0, 186, 66), [
        (1, BUTTON, "OK", 0x50010001, 7, 45, 50, 14),
        (2, BUTTON, "Cancel", 0x50010000, 129, 45, 50, 14),
        (NO_ID, STATIC, "Quote Number:", 0x50020000, 23, 18, 50, 8),
        (101, EDIT, "", 0x50830080, 88, 15, 65, 14)]),
    "ALARM_SETUP": ("Schedule Alarm Event", (0, 0, 284, 138), [
        (1, BUTTON, "OK", 0x50010001, 21, 110, 50, 14),
        (2, BUTTON, "Cancel", 0x50010000, 127, 110, 50, 14),
        (9, BUTTON, "Help", 0x50010000, 221, 111, 50, 14),
        (101, EDIT, "", 0x50810080, 47, 7, 138, 14),
        (105, EDIT, "", 0x50811044, 27, 28, 160, 75),
        (NO_ID, BUTTON, "Sound", 0x50000007, 192, 7, 84, 82),
        (103, BUTTON, "Normal", 0x50020009, 203, 17, 38, 10),
        (104, BUTTON, "Warn", 0x50000009, 203, 28, 33, 10),
        (106, BUTTON, "Hot", 0x50000009, 203, 39, 27, 10),
        (107, BUTTON, "Panic", 0x50000009, 203, 50, 34, 10),
        (108, BUTTON, "Random", 0x50000009, 203, 62, 43, 10),
        (109, BUTTON, "None", 0x50000009, 203, 73, 33, 10),
        (113, BUTTON, "Execute", 0x50010003, 204, 93, 72, 10),
        (NO_ID, STATIC, "Time:", 0x50020000, 25, 7, 18, 8)]),
}

SEPARATOR = ("", 0)
MENU = [
    ("&Object", [("Ne&xt Quote\tRight", 109), ("Pre&v Quote\tLeft", 110), ("Got&o Quote", 113),
                 ("&Quote", [("&Copy\tCtrl+C", 112), ("&Paste\tCtrl+V", 101), SEPARATOR,
                             ("Cu&t\tCtrl+X", 102)]),
                 SEPARATOR, ("&Alarms", 111), SEPARATOR, ("Pac&k Volume", None)]),
    ("&Help", [("&Help\tF1", 107), ("&About", 108)]),
]

FVIRTKEY, FCONTROL = 0x01, 0x08
KEYS = {(0x27, FVIRTKEY): 109, (0x22, FVIRTKEY): 109, (0x20, FVIRTKEY): 109,  # Right, Page Down, Space
        (0x25, FVIRTKEY): 110, (0x21, FVIRTKEY): 110,                         # Left, Page Up
        (ord("C"), FVIRTKEY | FCONTROL): 112, (ord("X"), FVIRTKEY | FCONTROL): 102,
        (ord("V"), FVIRTKEY | FCONTROL): 101, (0x70, FVIRTKEY): 107}          # F1

VERSION_STRINGS = {"CompanyName": "Keldovane", "ProductName": "Orvalis", "FileVersion": "3.2.0.0",
                   "InternalName": "Orvalis", "OriginalFilename": "Orvalis.exe"}

RT_CURSOR, RT_BITMAP, RT_ICON, RT_MENU, RT_DIALOG = 1, 2, 3, 4, 5
RT_ACCELERATOR, RT_GROUP_CURSOR, RT_GROUP_ICON, RT_VERSION = 9, 12, 14, 16

failures = []


def expect(condition, message):
    if not condition:
        failures.append(message)


def name_or_ordinal(data, offset):
    if struct.unpack_from("<H", data, offset)[0] == 0xFFFF:
        return struct.unpack_from("<H", data, offset + 2)[0], offset + 4
    end = offset
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[offset:end].decode("utf-16-le"), end + 2


def resources(data):
    """{(type, name): bytes} of a .res file."""
    found, offset = {}, 0
    while offset + 8 <= len(data):
        size, header = struct.unpack_from("<II", data, offset)
        kind, p = name_or_ordinal(data, offset + 8)
        name, _ = name_or_ordinal(data, p)
        if size:
            found[(kind, name)] = data[offset + header:offset + header + size]
        offset = (offset + header + size + 3) & ~3
    return found


def read_dialog(data):
    style, _, count, x, y, w, h = struct.unpack_from("<IIHhhhh", data, 0)
    _, p = name_or_ordinal(data, 18)
    _, p = name_or_ordinal(data, p)
    caption, p = name_or_ordinal(data, p)
    points = struct.unpack_from("<H", data, p)[0]
    face, p = name_or_ordinal(data, p + 2)
    controls = []
    for _ in range(count):
        p = (p + 3) & ~3
        c_style, _, cx, cy, cw, ch, c_id = struct.unpack_from("<IIhhhhH", data, p)
        c_class, p = name_or_ordinal(data, p + 18)
        text, p = name_or_ordinal(data, p)
        p += 2 + struct.unpack_from("<H", data, p)[0]
        controls.append((c_id, c_class, text, c_style, cx, cy, cw, ch))
    return style, caption, (x, y, w, h), (points, face), controls


def read_menu(data, offset=4):
    items = []
    while True:
        flags = struct.unpack_from("<H", data, offset)[0]
        if flags & 0x10:
            text, offset = name_or_ordinal(data, offset + 2)
            sub, offset = read_menu(data, offset)
            items.append((text, sub))
        else:
            command = struct.unpack_from("<H", data, offset + 2)[0]
            text, offset = name_or_ordinal(data, offset + 4)
            items.append((text, command))
        if flags & 0x80:
            return items, offset


def command_ids():
    with open(os.path.join(HERE, "orvalis_ids.h")) as f:
        return {m.group(1): int(m.group(2))
                for m in re.finditer(r"#define (ORV_CMD_\w+) (\d+)", f.read())}


def check_dialogs(found):
    for name, (caption, rect, controls) in DIALOGS.items():
        data = found.get((RT_DIALOG, name))
        expect(data is not None, "dialog %s missing" % name)
        if data is None:
            continue
        style, got_caption, got_rect, font, got_controls = read_dialog(data)
        expect((style, got_caption, got_rect, font) == (DIALOG_STYLE, caption, rect, (10, "Arial")),
               "dialog %s: %#x %r %r %r" % (name, style, got_caption, got_rect, font))
        expect(len(got_controls) == len(controls), "dialog %s: %d controls" % (name, len(got_controls)))
        for want, got in zip(controls, got_controls):
            expect(want == got, "dialog %s: control %r, style %#x; want %r, style %#x"
                   % (name, got[:3], got[3], want[:3], want[3]))

    about = found.get((RT_DIALOG, "KV_SHARE"))
    expect(about is not None, "About box missing")
    if about:
        style, caption, _, font, controls = read_dialog(about)
        expect((style, caption, font) == (DIALOG_STYLE, "Dialog", (10, "Arial")), "About box frame")
        texts = [c[2] for c in controls]
        for text in ("Orvalis", "Lite Version 3.2", "https://www.example.com/orvalis/"):
            expect(text in texts, "About box lacks %r" % text)
        buttons = [c for c in controls if c[1] == BUTTON]
        expect([(c[0], c[2]) for c in buttons] == [(1, "OK")], "About box buttons %r" % buttons)


def check_menu_and_keys(found, commands):
    values = sorted(commands.values())
    expect(len(set(values)) == len(values), "command ids not distinct: %r" % values)
    def resolved(items):  # the new Pack entry takes whatever id the header gives it
        return [(text, resolved(sub) if isinstance(sub, list) else
                 commands.get("ORV_CMD_PACK_VOLUME") if sub is None else sub) for text, sub in items]
    want = resolved(MENU)
    data = found.get((RT_MENU, "KV_SHARE"))
    got = read_menu(data)[0] if data else None
    expect(got == want, "menu %r" % (got,))

    data = found.get((RT_ACCELERATOR, "KV_SHARE"), b"")
    keys = {}
    for i in range(0, len(data), 8):
        flags, key, command, _ = struct.unpack_from("<HHHH", data, i)
        keys[(key, flags & 0x7F)] = command
    expect(keys == KEYS, "keys %r" % keys)


def check_pictures(found):
    groups = [name for kind, name in found if kind == RT_GROUP_ICON]
    # A module's resource directory lists names (sorted) before numbers (ascending).
    order = sorted((n for n in groups if isinstance(n, str))) + sorted(n for n in groups if isinstance(n, int))
    expect(order == ["KV_SHARE", 2], "icon groups in module order: %r" % order)
    for name in ("KV_SHARE", 2):
        data = found.get((RT_GROUP_ICON, name), b"\0" * 6)
        count = struct.unpack_from("<H", data, 4)[0]
        sizes = sorted((data[6 + 14 * i], struct.unpack_from("<H", data, 6 + 14 * i + 6)[0])
                       for i in range(count))
        expect(sizes == [(16, 32), (32, 32)], "icon %r sizes %r" % (name, sizes))

    cursor = found.get((RT_GROUP_CURSOR, "KV_SHARE"))
    expect(cursor is not None and struct.unpack_from("<HH", cursor, 6) == (32, 64), "cursor group")
    if cursor:
        image = found.get((RT_CURSOR, struct.unpack_from("<H", cursor, 18)[0]), b"")
        hot_x, hot_y = struct.unpack_from("<HH", image, 0) if image else (99, 99)
        expect(hot_x < 32 and hot_y < 32, "cursor hot spot %d, %d" % (hot_x, hot_y))

    for name in ("IDR_OPEN", "IDR_CLOSE", "IDR_PRINT", "IDR_WEBPAGE"):
        data = found.get((RT_BITMAP, name), b"\0" * 16)
        expect(struct.unpack_from("<iiHH", data, 4) == (24, 24, 1, 24), "bitmap %s header" % name)

    version = found.get((RT_VERSION, 1), b"")
    expect(version[40:52] == b"\xbd\x04\xef\xfe\0\0\1\0\2\0\3\0", "FILEVERSION 3, 2, 0, 0")
    text = version.decode("utf-16-le", "replace")
    for key, value in VERSION_STRINGS.items():
        expect(re.search(key + "\0+" + re.escape(value) + "\0", text), "version %s %r" % (key, value))


def check_generated_pictures():
    with tempfile.TemporaryDirectory() as out:
        subprocess.run([sys.executable, os.path.join(HERE, "draw_resources.py"), "--out", out], check=True)
        for name in sorted(os.listdir(out)):
            with open(os.path.join(out, name), "rb") as fresh, open(os.path.join(HERE, name), "rb") as kept:
                expect(fresh.read() == kept.read(), "%s differs from what draw_resources.py makes" % name)


def main(argv):
    windres = argv[0] if argv else "x86_64-w64-mingw32-windres"
    with tempfile.TemporaryDirectory() as work:
        res = os.path.join(work, "orvalis.res")
        subprocess.run([windres, "-I" + ROOT, "-O", "res", os.path.join(HERE, "orvalis.rc"), res],
                       check=True, cwd=ROOT)
        with open(res, "rb") as f:
            found = resources(f.read())
    check_dialogs(found)
    check_menu_and_keys(found, command_ids())
    check_pictures(found)
    check_generated_pictures()
    for message in failures:
        print("FAIL:", message)
    print("resources: %d problem(s)" % len(failures))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
