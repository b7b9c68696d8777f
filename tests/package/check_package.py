#!/usr/bin/env python3
"""Checks the Windows package as a user receives it, without running it:

    check_package.py ZIP REPOSITORY

Prints one line per check, "PASS name" or "FAIL name: why", and exits 1 when
any failed. Running the programs is package_test.sh's part.
"""
import io
import os
import re
import struct
import subprocess
import sys
import tempfile
import zipfile

TONES = ["normal.wav", "warn.wav", "hot.wav", "panic.wav", "random.wav"]
EXPECTED = {"Orvalis.exe", "orvvol.exe", "Volume01.STD", "Volume01.idx", "users-guide.txt", *TONES}
# The libraries every Windows machine has; a program that needs any other
# (the toolchain's libstdc++-6.dll, say) does not start there.
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
               "comctl32.dll", "comdlg32.dll", "winmm.dll", "msvcrt.dll", "ole32.dll",
               "oleaut32.dll", "shlwapi.dll", "version.dll", "ws2_32.dll", "uxtheme.dll"}
INDEX_ENTRY_SIZE = 4
GUI, CONSOLE = 2, 3

results = []


def check(name, problem):
    """problem: None when the check passed, otherwise why it failed."""
    results.append((name, problem))
    print(f"PASS {name}" if problem is None else f"FAIL {name}: {problem}")


class PeFile:
    """The parts of a PE file the checks read."""

    def __init__(self, data):
        if data[:2] != b"MZ":
            raise ValueError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("no PE header")
        (self.machine, sections, _, self.symbol_table, self.symbols, optional_size,
         _) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        optional = pe + 24
        self.magic = struct.unpack_from("<H", data, optional)[0]
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        import_rva = struct.unpack_from("<I", data, optional + 96 + 8)[0]
        self.sections = []
        table = optional + optional_size
        for i in range(sections):
            name, _, address, raw_size, raw_at = struct.unpack_from("<8sIIII", data, table + 40 * i)
            self.sections.append((name.rstrip(b"\0").decode("latin-1"), address, raw_size, raw_at))
        self.data = data
        self.imports = []
        at = self.offset(import_rva) if import_rva else None
        while at is not None:
            name_rva = struct.unpack_from("<I", data, at + 12)[0]
            if name_rva == 0:
                break
            start = self.offset(name_rva)
            self.imports.append(data[start:data.index(b"\0", start)].decode("latin-1"))
            at += 20

    def offset(self, rva):
        for _, address, raw_size, raw_at in self.sections:
            if address <= rva < address + raw_size:
                return raw_at + rva - address
        raise ValueError(f"address {rva:#x} is in no section")


def check_program(files, name, subsystem):
    try:
        pe = PeFile(files[name])
    except (KeyError, ValueError, struct.error) as error:
        check(f"{name} is an i686 Windows program", str(error))
        return
    kind = "window" if subsystem == GUI else "console"
    check(f"{name} is an i686 {kind} program",
          None if (pe.machine, pe.magic, pe.subsystem) == (0x14C, 0x10B, subsystem)
          else f"machine {pe.machine:#x}, optional header {pe.magic:#x}, subsystem {pe.subsystem}")
    debug = [s[0] for s in pe.sections if s[0].startswith((".debug", "/"))]
    check(f"{name} is stripped",
          None if pe.symbol_table == 0 and pe.symbols == 0 and not debug
          else f"{pe.symbols} symbols, sections {debug}")
    foreign = [dll for dll in pe.imports if dll.lower() not in SYSTEM_DLLS]
    check(f"{name} needs only system libraries",
          None if not foreign and pe.imports else f"imports {foreign or 'nothing'}")


def entries_of(fortune_text):
    parts = re.split(r"^%\r?$", fortune_text, flags=re.M)
    return [p for p in parts if p.strip()]


def main():
    zip_path, root = sys.argv[1], sys.argv[2]
    try:
        archive = zipfile.ZipFile(zip_path)
    except (OSError, zipfile.BadZipFile) as error:
        check("the zip opens", str(error))
        return 1
    check("every member's checksum is right", archive.testzip())
    names = archive.namelist()
    check("it holds exactly the program, the tool, the tones, the volume and the guide",
          None if sorted(names) == sorted(EXPECTED) else
          f"missing {sorted(EXPECTED - set(names))}, extra {sorted(set(names) - EXPECTED)}")
    files = {name: archive.read(name) for name in names}

    # The name carries the version of the program inside, which is the one
    # the resource script gives.
    with tempfile.TemporaryDirectory() as scratch:
        program = os.path.join(scratch, "Orvalis.exe")
        with open(program, "wb") as out:
            out.write(files.get("Orvalis.exe", b""))
        run = subprocess.run([os.path.join(root, "scripts/package.sh"), "--version-of", program],
                             capture_output=True, text=True)
    version = run.stdout.strip()
    rc = open(os.path.join(root, "res/orvalis.rc"), encoding="latin-1").read()
    declared = re.search(r"^FILEVERSION\s+(\d+)\s*,\s*(\d+)\s*,\s*(\d+)", rc, re.M)
    declared = ".".join(declared.groups()) if declared else None
    check("the zip is named after the program's version",
          None if run.returncode == 0 and os.path.basename(zip_path) ==
          f"orvalis-{version}-win32.zip" else f"program version {version or run.stderr.strip()}")
    check("the program's version is the one in res/orvalis.rc",
          None if version == declared else f"{version} in the program, {declared} in the script")

    check_program(files, "Orvalis.exe", GUI)
    check_program(files, "orvvol.exe", CONSOLE)

    with tempfile.TemporaryDirectory() as scratch:
        subprocess.run([sys.executable, os.path.join(root, "res/make_tones.py"), scratch],
                       check=True, capture_output=True)
        differ = [t for t in TONES
                  if files.get(t) != open(os.path.join(scratch, t), "rb").read()]
    check("the tones are those res/make_tones.py makes", None if not differ else f"{differ}")

    guide = files.get("users-guide.txt", b"")
    bare = len(re.findall(rb"(?<!\r)\n|\r(?!\n)", guide))
    check("the guide has CR LF line ends only", None if guide and not bare
          else f"{bare} bare line ends" if guide else "empty")
    source = open(os.path.join(root, "docs/users-guide.txt"), "rb").read()
    check("the guide is docs/users-guide.txt",
          None if guide.replace(b"\r\n", b"\n") == source.replace(b"\r\n", b"\n") else "differs")
    text = guide.decode("latin-1")
    # "&Find...\tCtrl+F" is the command "Find".
    commands = [re.sub(r"\.\.\.$", "", re.sub(r"\\t.*", "", item).replace("&", ""))
                for item in re.findall(r'MENUITEM\s+"([^"]+)"', rc)]
    missing = [c for c in commands if c.lower() not in text.lower()]
    check("the guide names every menu command", None if not missing else f"not named: {missing}")

    entries = entries_of(open(os.path.join(root, "res/starter_quotes.txt"), encoding="utf-8").read())
    index = files.get("Volume01.idx", b"")
    check("the starter volume's index has one entry per starter saying",
          None if len(index) == INDEX_ENTRY_SIZE * len(entries)
          else f"{len(index)} bytes for {len(entries)} sayings")
    data = files.get("Volume01.STD", b"")
    offsets = struct.unpack(f"<{len(index) // 4}I", index[:len(index) // 4 * 4])
    check("every index entry points inside the volume, in order",
          None if offsets and list(offsets) == sorted(offsets) and offsets[-1] < len(data)
          else f"offsets {offsets[:3]}... for {len(data)} bytes")
    failed = sum(1 for _, problem in results if problem is not None)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
