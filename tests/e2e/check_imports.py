#!/usr/bin/env python3
"""Checks that quorvel.exe needs nothing but DLLs every Windows 10 system has.

usage: check_imports.py OBJDUMP EXE
"""
import subprocess
import sys

SYSTEM_DLLS = {
    "advapi32.dll", "bcrypt.dll", "crypt32.dll", "dwmapi.dll", "gdi32.dll", "gdiplus.dll",
    "kernel32.dll", "msvcrt.dll", "ole32.dll", "shell32.dll", "urlmon.dll", "user32.dll",
    "version.dll", "winhttp.dll", "winspool.drv", "wintrust.dll", "ws2_32.dll",
}


def main():
    objdump, exe = sys.argv[1:3]
    listing = subprocess.run([objdump, "-p", exe], check=True, capture_output=True, text=True).stdout
    imports = {line.split(":", 1)[1].strip().lower() for line in listing.splitlines()
               if "DLL Name:" in line}
    unexpected = imports - SYSTEM_DLLS
    if unexpected or not imports:
        sys.exit(f"{exe} imports {sorted(unexpected) or 'nothing'} beyond the system's DLLs")
    print(f"{exe}: {len(imports)} system DLLs only")


if __name__ == "__main__":
    main()
