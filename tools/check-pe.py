#!/usr/bin/python3
"""Checks what a Windows executable needs from the system it starts on.

Wine's system folder holds DLLs that a clean Windows lacks (zlib1.dll among
them), so no run under Wine shows a missing DLL: the import table does. Every
DLL imported must be one that every Windows from 7 to 11 ships, and the image
must carry the loader's hardening flags. Windows also reads the embedded
manifest before the program runs (Wine does not): it must name the image's own
machine type for the program and for Common Controls, and ask for per-monitor
DPI awareness in a form every Windows 10 understands. A shipped program
carries no debug information (it would double its size): with --symbols DIR,
its symbols must be the file in DIR that the program names (.gnu_debuglink).

Needs Debian's python3-pefile, hence the system Python.

Usage: check-pe.py [--symbols DIR] FILE...   (exit status 1 when any file fails)
"""
import os
import re
import struct
import subprocess
import sys
import xml.etree.ElementTree as ET
import zlib

import pefile

# Reads 32- and 64-bit images alike (the 64-bit one is the test build of a
# machine that runs no 32-bit code).
OBJDUMP = "x86_64-w64-mingw32-objdump"

# DLLs present on every Windows from 7 to 11.
SYSTEM_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "shell32.dll",
    "shlwapi.dll", "ole32.dll", "oleaut32.dll", "comctl32.dll", "comdlg32.dll",
    "msimg32.dll", "msvcrt.dll", "uxtheme.dll",
}
# Of those, the ones the loader may take from the program's own folder: they
# are no KnownDLLs (comctl32 comes from WinSxS through the manifest). A file
# of that name in a download folder beside Tabulon.exe would be loaded before
# the program runs a line, so the program loads them at run time from the
# system folder instead.
PLANTABLE_DLLS = {"msimg32.dll", "uxtheme.dll"}

IMAGE_FILE_LARGE_ADDRESS_AWARE = 0x0020
IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE = 0x0040
IMAGE_DLLCHARACTERISTICS_NX_COMPAT = 0x0100


def problems(dump):
    """The list of faults found in one `objdump -p` listing."""
    found = []
    dlls = re.findall(r"^\s*DLL Name:\s*(\S+)", dump, re.M)
    if not dlls:
        found.append("no import table found")
    for dll in dlls:
        if dll.lower() not in SYSTEM_DLLS:
            found.append(f"imports {dll}, which a clean Windows does not have")
        elif dll.lower() in PLANTABLE_DLLS:
            found.append(f"imports {dll} at load time, where a copy beside the program wins")
    m = re.search(r"^Characteristics\s+0x([0-9a-fA-F]+)", dump, re.M)
    if not m:
        found.append("no file header characteristics")
    elif not int(m.group(1), 16) & IMAGE_FILE_LARGE_ADDRESS_AWARE:
        found.append("not large-address aware")
    m = re.search(r"^DllCharacteristics\s+([0-9a-fA-F]+)", dump, re.M)
    flags = int(m.group(1), 16) if m else 0
    if not flags & IMAGE_DLLCHARACTERISTICS_DYNAMIC_BASE:
        found.append("no dynamic base (ASLR)")
    if not flags & IMAGE_DLLCHARACTERISTICS_NX_COMPAT:
        found.append("not NX compatible (DEP)")
    # A dynamic base without relocations cannot be moved: the loader would
    # refuse the image or load it at its preferred address after all.
    if not re.search(r"^PE File Base Relocations", dump, re.M):
        found.append("no base relocations")
    return found


# The manifest's name for each machine type; "*" fits any.
MANIFEST_ARCH = {
    pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"]: "x86",
    pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_AMD64"]: "amd64",
}
ASM = "{urn:schemas-microsoft-com:asm.v1}"
RT_MANIFEST = 24


def embedded_manifest(pe):
    """The bytes of the image's first RT_MANIFEST resource, or None."""
    resources = getattr(pe, "DIRECTORY_ENTRY_RESOURCE", None)
    for kind in resources.entries if resources else []:
        if kind.id != RT_MANIFEST:
            continue
        for name in kind.directory.entries:
            for lang in name.directory.entries:
                return pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
    return None


def manifest_problems(pe):
    """Faults of the machine type and the embedded manifest."""
    arch = MANIFEST_ARCH.get(pe.FILE_HEADER.Machine)
    if arch is None:
        return [f"machine type 0x{pe.FILE_HEADER.Machine:x} is neither x86 nor x64"]
    data = embedded_manifest(pe)
    if data is None:
        return ["no embedded manifest"]
    try:
        root = ET.fromstring(data)
    except ET.ParseError as e:
        return [f"the manifest is no valid XML ({e})"]
    found = []
    own = root.find(f"{ASM}assemblyIdentity")
    deps = [d for d in root.iter(f"{ASM}assemblyIdentity") if d is not own]
    controls = [d for d in deps if d.get("name") == "Microsoft.Windows.Common-Controls"]
    if not controls:
        found.append("the manifest asks for no Common Controls 6")
    for what, ident in [("the program", own)] + [("Common Controls", d) for d in controls]:
        got = ident.get("processorArchitecture") if ident is not None else None
        if got not in (arch, "*"):
            found.append(f"the manifest names {what} processorArchitecture=\"{got}\", "
                         f"not \"{arch}\" as the image is")
    awareness = [e.text or "" for e in root.iter() if e.tag.endswith("}dpiAwareness")]
    kinds = [k.strip().lower() for k in ",".join(awareness).split(",")]
    if kinds[:2] != ["permonitorv2", "permonitor"]:
        found.append(f"dpiAwareness is \"{', '.join(awareness)}\", not \"PerMonitorV2, PerMonitor\"")
    return found


def section_names(path):
    """The image's section names, in the order of its section table. Names
    past eight characters (".debug_info") sit in the string table, which
    pefile does not read and objdump does."""
    dump = subprocess.run([OBJDUMP, "-h", path], capture_output=True, text=True).stdout
    return re.findall(r"^\s*\d+\s+(\S+)", dump, re.M)


def debug_problems(path, pe, symbols):
    """Debug sections left in the image, and with `symbols` (a folder) the
    symbols file the image names there, as objcopy's --add-gnu-debuglink
    writes it: the file name, padding to four bytes, the file's CRC-32."""
    names = section_names(path)
    found = [f"carries debug section {n} (ship it stripped)"
             for n in names if n.startswith((".debug", ".zdebug"))]
    if symbols is None:
        return found
    link = pe.sections[names.index(".gnu_debuglink")] if ".gnu_debuglink" in names else None
    data = link.get_data()[:link.Misc_VirtualSize] if link else b""
    if b"\0" not in data or len(data) < 8:
        return found + ["names no symbols file (.gnu_debuglink)"]
    name = data.split(b"\0", 1)[0].decode("utf-8", "replace")
    crc = struct.unpack("<I", data[-4:])[0]
    file = os.path.join(symbols, name)
    if not os.path.isfile(file):
        return found + [f"its symbols file {name} is not in {symbols}"]
    if zlib.crc32(open(file, "rb").read()) != crc:
        return found + [f"{file} holds the symbols of another build (CRC differs)"]
    if ".debug_info" not in section_names(file):
        found.append(f"{file} holds no debug information")
    return found


def check(path, symbols=None):
    try:
        dump = subprocess.run([OBJDUMP, "-p", path], check=True, capture_output=True,
                              text=True).stdout
    except (OSError, subprocess.CalledProcessError) as e:
        print(f"FAIL {path}: cannot read it ({e})")
        return False
    found = problems(dump)
    try:
        pe = pefile.PE(path)
        found += manifest_problems(pe)
        found += debug_problems(path, pe, symbols)
        arch = MANIFEST_ARCH.get(pe.FILE_HEADER.Machine, "?")
    except pefile.PEFormatError as e:
        found.append(f"not a Windows image ({e})")
    dlls = sorted(set(re.findall(r"^\s*DLL Name:\s*(\S+)", dump, re.M)), key=str.lower)
    if found:
        for p in found:
            print(f"FAIL {path}: {p}")
        return False
    print(f"ok   {path}: {arch} image and manifest; imports only {', '.join(dlls)}; "
          "ASLR, DEP, large-address aware; no debug sections"
          + (f"; its symbols in {symbols}" if symbols else ""))
    return True


def main(argv):
    symbols = None
    if len(argv) > 2 and argv[1] == "--symbols":
        symbols, argv = argv[2], argv[2:]
    if len(argv) < 2:
        print(__doc__.strip().splitlines()[-1], file=sys.stderr)
        return 2
    results = [check(p, symbols) for p in argv[1:]]
    return 0 if all(results) else 1


if __name__ == "__main__":
    sys.exit(main(sys.argv))
