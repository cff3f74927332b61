#!/usr/bin/env python3
"""The Windows 7 import check against what objdump -p prints: Qt 6.4.2's own
DLLs as the Windows build shipped them before Qt 5.15, and small tables."""

import os
import subprocess
import sys
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "..", "scripts", "lib"))
import windows7_imports  # noqa: E402

CHECK = os.path.join(HERE, "..", "..", "scripts", "lib", "windows7_imports.py")


def table(dll, *functions):
    lines = ["The Import Tables (interpreted .idata section contents)", f"\tDLL Name: {dll}",
             "\tvma:  Hint/Ord Member-Name Bound-To"]
    lines += [f"\t{0x1000 + i:x}\t  {i}  {name}" for i, name in enumerate(functions)]
    return "\n".join(lines + [""])


class FindingsTable(unittest.TestCase):
    def test_each_kind_of_import(self):
        cases = [
            (table("KERNEL32.dll", "CreateFileW", "GetSystemTimeAsFileTime"), []),
            (table("KERNEL32.dll", "GetSystemTimePreciseAsFileTime"), ["KERNEL32.dll!GetSystemTimePreciseAsFileTime"]),
            (table("kernelbase.dll", "SetThreadDescription"), ["kernelbase.dll!SetThreadDescription"]),
            (table("USER32.dll", "GetPointerInfo", "SetProcessDpiAwarenessContext", "GetDpiForWindow"),
             ["USER32.dll!GetPointerInfo", "USER32.dll!SetProcessDpiAwarenessContext", "USER32.dll!GetDpiForWindow"]),
            (table("USER32.dll", "GetDpiForWindowX", "MessageBoxW"), []),  # patterns match whole names
            (table("api-ms-win-core-synch-l1-1-0.dll", "AcquireSRWLockShared"), []),
            (table("api-ms-win-core-synch-l1-2-0.dll", "WaitOnAddress"),
             ["api-ms-win-core-synch-l1-2-0.dll", "api-ms-win-core-synch-l1-2-0.dll!WaitOnAddress"]),
            (table("api-ms-win-crt-runtime-l1-1-0.dll", "_initterm"), ["api-ms-win-crt-runtime-l1-1-0.dll"]),
            (table("SHCORE.dll", "GetDpiForMonitor"), ["SHCORE.dll"]),
            (table("dxgi.dll", "CreateDXGIFactory1", "CreateDXGIFactory2"), ["dxgi.dll!CreateDXGIFactory2"]),
        ]
        for text, expected in cases:
            found = [f.split(":")[0] for f in windows7_imports.findings(windows7_imports.imports_of(text))]
            self.assertEqual(found, expected, text)

    def test_dlls_neither_shipped_nor_windows7s(self):
        imports = windows7_imports.imports_of(table("Qt5Core.dll", "x") + table("MSVCP140.dll", "y") +
                                              table("msvcrt.dll", "printf"))
        found = windows7_imports.findings(imports, shipped={"qt5core.dll"})
        self.assertEqual([f.split(":")[0] for f in found], ["MSVCP140.dll"])


class TodaysQt6Build(unittest.TestCase):
    """Qt 6.4.2 built for mingw-w64 as the Windows build used it: the check
    must refuse it, with the imports that stop it on Windows 7."""

    def test_the_check_refuses_it(self):
        folder = os.path.join(HERE, "qt6.4.2-mingw64")
        fixtures = [os.path.join(folder, name) for name in sorted(os.listdir(folder))]
        run = subprocess.run([sys.executable, CHECK, "--objdump-output", *fixtures], capture_output=True, text=True)
        self.assertEqual(run.returncode, 1, run.stdout)
        for expected in ("Qt6Core.dll.txt: api-ms-win-core-synch-l1-2-0.dll!WaitOnAddress",
                         "Qt6Core.dll.txt: api-ms-win-core-synch-l1-2-0.dll!WakeByAddressSingle",
                         "Qt6Gui.dll.txt: dxgi.dll!CreateDXGIFactory2",
                         "Qt6Gui.dll.txt: USER32.dll!SystemParametersInfoForDpi",
                         "qwindows.dll.txt: SHCORE.dll",
                         "qwindows.dll.txt: USER32.dll!GetPointerInfo",
                         "qwindows.dll.txt: USER32.dll!GetDpiForWindow"):
            self.assertIn(expected, run.stdout)
        # The three files of the Qt 6 zip that imported anything Windows 7 lacks.
        self.assertIn("3 files, 2929 imports checked, 27 not on Windows 7", run.stdout)


if __name__ == "__main__":
    unittest.main()
