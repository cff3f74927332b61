#!/usr/bin/env python3
"""Fails when a shipped .exe or .dll imports what Windows 7 SP1 x64 lacks.

Windows 7's loader refuses a program whose import table names a DLL, an API
set or a function that the system does not have ("entry point not found"),
before a single line of the program runs.  Functions a program looks up with
GetProcAddress are not imports and are fine.

Reads every import table with x86_64-w64-mingw32-objdump -p (or, with
--objdump-output, text that objdump printed earlier) and checks it against a
deny-list of what Windows 8 and later added.  A deny-list can miss a
function; what it finds is certain.  Given folders, it also fails on a DLL
that is neither shipped in them nor part of every Windows 7.

Usage: windows7_imports.py FOLDER_OR_FILE...
       windows7_imports.py --objdump-output TEXT_FILE...
Prints one line per finding and a summary; exit 0 when nothing was found.
"""

import fnmatch
import os
import re
import subprocess
import sys

# DLLs that a Windows 7 SP1 x64 without optional updates does not have.
ABSENT_DLLS = (
    "shcore.dll", "combase.dll", "dcomp.dll", "d3d12.dll", "ucrtbase.dll",
    "api-ms-win-crt-*", "api-ms-win-core-winrt-*", "api-ms-win-shcore-*",
    "windows.storage.dll", "coremessaging.dll", "d3d11on12.dll",
)

# Functions added in Windows 8 or later, by the DLL that exports them
# (kernel32's also reached through kernelbase).
NEWER_FUNCTIONS = {
    "kernel32.dll": (
        "GetSystemTimePreciseAsFileTime", "CreateFile2", "CopyFile2", "GetOverlappedResultEx",
        "SetThreadInformation", "GetThreadInformation", "SetProcessInformation", "GetProcessInformation",
        "GetProcessMitigationPolicy", "SetProcessMitigationPolicy", "GetCurrentThreadStackLimits",
        "PrefetchVirtualMemory", "CreateFileMappingFromApp", "MapViewOfFileFromApp", "UnmapViewOfFileEx",
        "*SynchronizationBarrier", "GetFirmwareType", "GetCurrentPackageFullName", "GetCurrentPackageId",
        "GetPackage*", "OfferVirtualMemory", "ReclaimVirtualMemory", "DiscardVirtualMemory",
        "VirtualAlloc2", "SetThreadDescription", "GetThreadDescription", "IsWow64Process2",
        "GetTempPath2A", "GetTempPath2W", "WaitOnAddress", "WakeByAddressSingle", "WakeByAddressAll",
        # Windows 7 has these two only with update KB2533623.
        "AddDllDirectory", "SetDefaultDllDirectories", "RemoveDllDirectory",
    ),
    "user32.dll": (
        "GetPointer*", "SkipPointerFrameMessages", "EnableMouseInPointer", "InitializeTouchInjection",
        "InjectTouchInput", "GetDisplayAutoRotationPreferences", "SetDisplayAutoRotationPreferences",
        "SetCoalescableTimer", "RegisterSuspendResumeNotification", "UnregisterSuspendResumeNotification",
        "LogicalToPhysicalPointForPerMonitorDPI", "PhysicalToLogicalPointForPerMonitorDPI",
        "GetDpiForWindow", "GetDpiForSystem", "GetSystemMetricsForDpi", "SystemParametersInfoForDpi",
        "AdjustWindowRectExForDpi", "EnableNonClientDpiScaling", "*DpiAwarenessContext*",
        "GetSystemDpiForProcess", "GetDpiForMonitor",
    ),
    "dxgi.dll": ("CreateDXGIFactory2", "DXGIGetDebugInterface1"),
    "d3d11.dll": ("CreateDirect3D11DeviceFromDXGIDevice", "CreateDirect3D11SurfaceFromDXGISurface"),
    "ole32.dll": ("CoIncrementMTAUsage", "CoDecrementMTAUsage"),
    "advapi32.dll": ("EventSetInformation",),
    "ws2_32.dll": ("GetHostNameW", "GetAddrInfoExCancel", "GetAddrInfoExOverlappedResult"),
    "dnsapi.dll": ("DnsQueryEx", "DnsCancelQuery"),
    "winhttp.dll": ("WinHttpCreateProxyResolver", "WinHttpGetProxyForUrlEx", "WinHttpGetProxyResult",
                    "WinHttpFreeProxyResult", "WinHttpResetAutoProxy"),
    "bcrypt.dll": ("BCryptHash",),
    "bcryptprimitives.dll": ("ProcessPrng",),
    "powrprof.dll": ("PowerRegisterSuspendResumeNotification", "PowerUnregisterSuspendResumeNotification"),
    "iphlpapi.dll": ("GetIfEntry2Ex",),
}
NEWER_FUNCTIONS["kernelbase.dll"] = NEWER_FUNCTIONS["kernel32.dll"]

# DLLs that every Windows 7 SP1 x64 has in System32.  A DLL the folder
# imports must be one of these or shipped in the folder itself: a till
# without the Visual C++ runtime or any Qt must still start the tool.
WINDOWS7_SYSTEM_DLLS = {
    "advapi32.dll", "bcrypt.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "d2d1.dll", "d3d9.dll",
    "d3d11.dll", "dnsapi.dll", "dwmapi.dll", "dwrite.dll", "dxgi.dll", "gdi32.dll", "imm32.dll",
    "iphlpapi.dll", "kernel32.dll", "mpr.dll", "msvcrt.dll", "ncrypt.dll", "netapi32.dll", "ntdll.dll",
    "ole32.dll", "oleaut32.dll", "opengl32.dll", "rpcrt4.dll", "secur32.dll", "setupapi.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll", "winhttp.dll", "winmm.dll",
    "winspool.drv", "wldap32.dll", "ws2_32.dll", "wtsapi32.dll",
}

# "\t1c0d8\t  123  AcquireSRWLockExclusive": the last word is the name.
IMPORT_LINE = re.compile(r"^\s+[0-9a-fA-F]+\s+\d+\s+(\S+)\s*$")


def imports_of(objdump_text):
    """[(dll, function)] of every import table in objdump -p's text; a DLL
    imported by ordinal only is listed with the function None."""
    found = []
    dll = None
    for line in objdump_text.splitlines():
        stripped = line.strip()
        if stripped.startswith("DLL Name:"):
            dll = stripped[len("DLL Name:"):].strip()
            found.append((dll, None))
        elif not stripped:
            dll = None
        elif dll is not None:
            match = IMPORT_LINE.match(line)
            if match:
                found.append((dll, match.group(1)))
    return found


def absent_api_set(dll):
    # Windows 7's API set schema holds only the first version of each set.
    name = dll.lower()
    if not (name.startswith("api-ms-win-") or name.startswith("ext-ms-win-")):
        return False
    return not name.endswith("-l1-1-0.dll")


def findings(imports, shipped=None):
    """What of the imports Windows 7 SP1 lacks; with shipped (the lower-case
    DLL names in the folder), also every DLL neither shipped nor Windows 7's."""
    found = []
    for dll, function in imports:
        name = dll.lower()
        if function is None:
            if shipped is not None and name not in shipped and name not in WINDOWS7_SYSTEM_DLLS:
                found.append(f"{dll}: neither in the folder nor part of Windows 7")
            elif any(fnmatch.fnmatch(name, pattern) for pattern in ABSENT_DLLS):
                found.append(f"{dll}: a DLL that Windows 7 does not have")
            elif absent_api_set(name):
                found.append(f"{dll}: an API set newer than Windows 7's")
            continue
        # An API set forwards to kernelbase: its functions are judged as kernel32's.
        newer = NEWER_FUNCTIONS.get(name) or (NEWER_FUNCTIONS["kernel32.dll"] if absent_api_set(name) else ())
        for pattern in newer:
            if fnmatch.fnmatchcase(function, pattern):
                found.append(f"{dll}!{function}: added after Windows 7")
                break
    return found


def shipped_files(paths):
    for path in paths:
        if os.path.isdir(path):
            for root, _, names in os.walk(path):
                for name in sorted(names):
                    if name.lower().endswith((".exe", ".dll")):
                        yield os.path.join(root, name)
        else:
            yield path


def main(argv):
    if not argv or argv[0] in ("-h", "--help"):
        print(__doc__.strip())
        return 0 if argv else 2
    texts = []  # (label, objdump text)
    shipped = None
    if argv[0] == "--objdump-output":
        for path in argv[1:]:
            with open(path, encoding="utf-8", errors="replace") as f:
                texts.append((path, f.read()))
    else:
        files = list(shipped_files(argv))
        shipped = {os.path.basename(path).lower() for path in files}
        for path in files:
            result = subprocess.run(["x86_64-w64-mingw32-objdump", "-p", path],
                                    capture_output=True, text=True, errors="replace")
            if result.returncode != 0:
                print(f"{path}: objdump cannot read it: {result.stderr.strip()}")
                return 2
            texts.append((path, result.stdout))
    if not texts:
        print("no .exe or .dll to check")
        return 2
    total = 0
    checked = 0
    for label, text in texts:
        imports = imports_of(text)
        checked += len(imports)
        for finding in findings(imports, shipped):
            print(f"{label}: {finding}")
            total += 1
    print(f"Windows 7 SP1 imports: {len(texts)} files, {checked} imports checked, {total} not on Windows 7")
    return 1 if total else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
