#!/usr/bin/env python3
"""The Windows build proven under Wine against the simulated printer.

Runs the unpacked zip's pralix.exe in a fresh Wine prefix whose COM5 is the
simulator's pseudo-terminal, beside the Linux build against the same
simulator, and compares what each reads and uploads.  Prints one line per
check and ends with "N passed, N failed".

Usage: windows_proof.py --app DIR --linux-build DIR --prefix DIR --work DIR
                        [--unit-tests EXE] [--screenshot PNG]
"""

import argparse
import json
import os
import re
import shutil
import subprocess
import sys
import time

import windows_proof_till as till
from window_start import peak_memory_kb
from windows_proof_wine import (COM, Checks, RecordingServer, Simulator, Wine, body_without_pc_fields,
                                parse_json, prepare_drive_c, printer_side)

MODELS = (0, 9, 12)
# Unit tests left out under Wine: this one checks the Linux stand-in for the
# ANSI code page (Windows has its own).
KNOWN_WINDOWS_DIFFERENCES = ("CodePagesTest.AnsiTextOnLinuxIsCentralEuropean",)


def take_screenshot(wine, link, sim_bin, server, cwd, png, checks):
    """The window under Xvfb after the key '1', as a technician sees it."""
    display = os.environ.get("DISPLAY")
    if not display or not shutil.which("xdotool") or not shutil.which("import"):
        checks.check("window screenshot (needs xvfb-run, xdotool and ImageMagick)", False)
        return
    sim = Simulator(sim_bin, 0, link)
    log = os.path.join(cwd, "Pralix_log.txt")
    lines_before = open(log, "rb").read().count(b"\n") if os.path.exists(log) else 0
    env = dict(wine.env, DISPLAY=display, PRALIX_DIAG_URL=server.url)
    started = time.monotonic()
    window = subprocess.Popen([wine.loader, os.path.join(wine.app_dir, "pralix.exe")], env=env, cwd=cwd,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        try:
            found = subprocess.run(["xdotool", "search", "--sync", "--name", "FP Connectivity test"],
                                   capture_output=True, text=True, timeout=120)
        except subprocess.TimeoutExpired:
            found = subprocess.CompletedProcess([], 1, "", "")
        shown = time.monotonic() - started
        window_id = found.stdout.split()[0] if found.stdout.split() else ""
        if not checks.check(f"the window opens under Wine ({shown:.1f} s to the window)", bool(window_id)):
            return
        time.sleep(1)
        subprocess.run(["xdotool", "windowactivate", "--sync", window_id], timeout=30)
        subprocess.run(["xdotool", "key", "--window", window_id, "1"], timeout=30)
        deadline = time.monotonic() + 60
        while time.monotonic() < deadline:
            if os.path.exists(log) and open(log, "rb").read().count(b"\n") > lines_before and server.bodies:
                break
            time.sleep(0.2)
        time.sleep(1.5)  # the window repaints after the upload
        memory_kb = peak_memory_kb("pralix.exe")
        print(f"pralix.exe under Wine: {shown:.1f} s from start to window, peak memory {memory_kb / 1024:.0f} MB")
        grabbed = subprocess.run(["import", "-window", window_id, png], capture_output=True, timeout=60)
        checks.check("the window after key '1' saved as " + os.path.basename(png),
                     grabbed.returncode == 0 and os.path.exists(png) and server.take() != [],
                     grabbed.stderr.decode(errors="replace"))
    finally:
        window.terminate()
        try:
            window.wait(timeout=10)
        except subprocess.TimeoutExpired:
            window.kill()
        sim.stop()


def check_installer(wine, setup, version, checks):
    """Silent install into the prefix, then a silent uninstall."""
    program = os.path.join(wine.drive_c(), "Program Files", "Pralix")
    installed = wine.run([os.path.abspath(setup), "/S"], timeout=300)
    key = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pralix"
    entry = wine.run(["reg", "query", key, "/v", "DisplayVersion"])
    shortcut = os.path.join(wine.drive_c(), "ProgramData", "Microsoft", "Windows", "Start Menu", "Programs",
                            "Pralix.lnk")
    checks.check("the installer puts pralix.exe under Program Files with its Qt plug-ins",
                 installed.returncode == 0 and os.path.exists(os.path.join(program, "pralix.exe")) and
                 os.path.exists(os.path.join(program, "platforms", "qwindows.dll")), installed.stderr[-1000:])
    checks.check("the installer's entry in Programs and Features carries the version",
                 version in entry.stdout, entry.stdout + entry.stderr)
    checks.check("the installer makes the Start-menu shortcut", os.path.exists(shortcut), shortcut)
    wine.run([os.path.join(program, "uninstall.exe"), "/S"], timeout=300)
    # The uninstaller finishes from a copy of itself.
    deadline = time.monotonic() + 60
    while os.path.exists(os.path.join(program, "pralix.exe")) and time.monotonic() < deadline:
        time.sleep(0.5)
    time.sleep(2)
    gone = wine.run(["reg", "query", key])
    checks.check("the uninstaller removes the program, the shortcut and the entry",
                 not os.path.exists(os.path.join(program, "pralix.exe")) and not os.path.exists(shortcut) and
                 gone.returncode != 0, gone.stdout)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--app", required=True)
    parser.add_argument("--linux-build", required=True)
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--work", required=True)
    parser.add_argument("--unit-tests")
    parser.add_argument("--qt-bin")
    parser.add_argument("--screenshot")
    parser.add_argument("--setup")
    parser.add_argument("--version", default="")
    options = parser.parse_args()

    checks = Checks()
    work = os.path.abspath(options.work)
    os.makedirs(work, exist_ok=True)
    sim_bin = os.path.abspath(os.path.join(options.linux_build, "tools", "printer-sim", "pralix-printer-sim"))
    linux_pralix = os.path.abspath(os.path.join(options.linux_build, "pralix"))
    wine = Wine(os.path.abspath(options.prefix), os.path.abspath(options.app))
    wine.boot()
    # Debian's Wine reports Windows 7 by default; say so, with the registry
    # of a real Windows 7 (see windows_proof_till.WINDOWS_VERSIONS).
    till.set_windows_version(wine, "win7", True)
    prepare_drive_c(wine.drive_c())
    linux_drive_c = os.path.join(work, "linux_drive_c")
    prepare_drive_c(linux_drive_c)
    server = RecordingServer()
    wine_cwd = os.path.join(work, "wine_cwd")
    linux_cwd = os.path.join(work, "linux_cwd")
    os.makedirs(wine_cwd, exist_ok=True)
    os.makedirs(linux_cwd, exist_ok=True)
    link = os.path.join(work, "ttyFP")

    for model in MODELS:
        sim = Simulator(sim_bin, model, link)
        try:
            wine.map_com_port(link)
            if model == MODELS[0]:
                ports = wine.run(["ports"], exe="pralix.exe")
                checks.check("pralix.exe ports lists COM5", ports.returncode == 0 and
                             re.search(r"^COM5\b", ports.stdout, re.M) is not None, ports.stdout + ports.stderr)
            linux = subprocess.run([linux_pralix, "test", "--model", str(model), "--port", link, "--json"],
                                   capture_output=True, text=True, cwd=linux_cwd, timeout=120,
                                   env=dict(os.environ, PRALIX_DRIVE_C=linux_drive_c, PRALIX_DIAG_URL=server.url,
                                            PRALIX_OUTBOX=os.path.join(work, "linux_outbox")))
            linux_bodies = server.take()
            started = time.monotonic()
            windows = wine.run(["test", "--model", str(model), "--json"], exe="pralix-cli.exe", cwd=wine_cwd,
                               env={"PRALIX_DIAG_URL": server.url})
            seconds = time.monotonic() - started
            windows_bodies = server.take()
            try:
                linux_result, windows_result = parse_json(linux.stdout), parse_json(windows.stdout)
            except ValueError as e:
                checks.check(f"model {model}: pralix.exe test --json", False, f"{e}\n{windows.stderr[-2000:]}")
                continue
            checks.check(f"model {model}: pralix.exe test finds the printer on COM5 ({seconds:.1f} s)",
                         windows.returncode == 0 and windows_result["fields"]["LEFPPort"]["text"].startswith(COM),
                         json.dumps(windows_result["fields"].get("LEFPPort")) + windows.stderr[-1000:])
            same_fields = printer_side(windows_result["fields"]) == printer_side(linux_result["fields"])
            checks.check(f"model {model}: the same fields and header as the Linux build",
                         same_fields and windows_result["header"] == linux_result["header"],
                         f"\nwindows {windows_result}\nlinux   {linux_result}")
            checks.check(f"model {model}: the DiagData record reaches the server as on Linux",
                         len(windows_bodies) == 1 and len(linux_bodies) == 1 and
                         body_without_pc_fields(windows_bodies[0]) == body_without_pc_fields(linux_bodies[0]),
                         f"\nwindows {windows_bodies}\nlinux   {linux_bodies}")
            if model == MODELS[0]:
                send = wine.run(["send", "--port", COM, "--baud", "19200", "--json", "62"], exe="pralix-cli.exe")
                sent = parse_json(send.stdout) if send.stdout.strip() else {}
                checks.check("pralix.exe send --port COM5 62 answers with code 0",
                             send.returncode == 0 and sent.get("code") == 0,
                             send.stdout + send.stderr)
                report = wine.run(["report", "x", "--model", str(model), "--port", COM], exe="pralix-cli.exe")
                checks.check("pralix.exe report x is accepted by the printer", report.returncode == 0,
                             report.stdout + report.stderr)
        finally:
            sim.stop()

    wine.map_com_port(link)
    till.check_windows_versions(wine, sim_bin, link, server, wine_cwd, checks)
    till.check_detect(wine, sim_bin, link, checks)
    till.check_outbox_upload(wine, sim_bin, link, server, wine_cwd, checks)
    till.check_portable_copy(wine, sim_bin, link, server, wine.app_dir, checks)
    till.check_read_only_stick(wine, sim_bin, link, server, wine.app_dir, checks)
    till.measure_silent_ports(wine, sim_bin, link, server, wine_cwd, checks)

    if options.screenshot:
        wine.map_com_port(link)
        take_screenshot(wine, link, sim_bin, server, wine_cwd, os.path.abspath(options.screenshot), checks)

    if options.setup:
        check_installer(wine, options.setup, options.version, checks)

    if options.unit_tests:
        env = {"WINEPATH": ";".join(p for p in [options.qt_bin, wine.app_dir] if p)}
        unit = wine.run(["--gtest_brief=1", "--gtest_filter=-" + ":".join(KNOWN_WINDOWS_DIFFERENCES)],
                        exe=os.path.abspath(options.unit_tests), env=env, timeout=900)
        ran = re.search(r"\[==========\] (\d+) tests? from .* ran", unit.stdout)
        passed = re.search(r"\[  PASSED  \] (\d+) test", unit.stdout)
        total = int(ran.group(1)) if ran else 0
        count = int(passed.group(1)) if passed else 0
        checks.check(f"unit tests under Wine: {count} passed, {total - count} failed, "
                     f"{len(KNOWN_WINDOWS_DIFFERENCES)} left out",
                     unit.returncode == 0 and count > 0 and count == total, unit.stdout[-4000:] + unit.stderr[-2000:])

    wine.shutdown()
    print(f"{checks.passed} passed, {checks.failed} failed")
    return 0 if checks.failed == 0 else 1


if __name__ == "__main__":
    sys.exit(main())
