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
import http.server
import json
import os
import re
import shutil
import subprocess
import sys
import threading
import time
import urllib.parse

COM = "COM5"
MODELS = (0, 9, 12)
# Fields that name the PC rather than the printer: the port (COM5 under
# Windows, a pty on Linux) and the Windows version before the "/".
PC_FIELDS = ("LEFPPort", "LECurrJXVer")
# Unit tests left out under Wine: this one checks the Linux stand-in for the
# ANSI code page (Windows has its own).
KNOWN_WINDOWS_DIFFERENCES = ("CodePagesTest.AnsiTextOnLinuxIsCentralEuropean",)


class Checks:
    def __init__(self):
        self.passed = 0
        self.failed = 0

    def check(self, name, ok, detail=""):
        if ok:
            self.passed += 1
            print(f"[ PASSED ] {name}", flush=True)
        else:
            self.failed += 1
            print(f"[ FAILED ] {name}" + (f": {detail}" if detail else ""), flush=True)
        return ok


class RecordingServer:
    """The support service on loopback: keeps every POST body, answers 200."""

    def __init__(self):
        bodies = self.bodies = []

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                length = int(self.headers.get("Content-Length", 0))
                bodies.append(self.rfile.read(length))
                self.send_response(200)
                self.send_header("Content-Length", "2")
                self.end_headers()
                self.wfile.write(b"OK")

            def log_message(self, *args):
                pass

        self.server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        threading.Thread(target=self.server.serve_forever, daemon=True).start()
        self.url = f"http://127.0.0.1:{self.server.server_address[1]}/dijagnostika"

    def take(self):
        taken = list(self.bodies)
        self.bodies.clear()
        return taken


class Simulator:
    def __init__(self, sim_bin, model, link):
        self.link = link
        self.process = subprocess.Popen([sim_bin, "--model", str(model), "--link", link],
                                        stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.pty = self.process.stdout.readline().strip()
        for _ in range(50):
            if os.path.exists(link):
                break
            time.sleep(0.1)

    def stop(self):
        self.process.terminate()
        try:
            self.process.wait(timeout=5)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Wine:
    def __init__(self, prefix, app_dir):
        self.prefix = prefix
        self.app_dir = app_dir
        self.loader = shutil.which("wine64") or shutil.which("wine") or "/usr/lib/wine/wine64"
        self.server = shutil.which("wineserver") or "/usr/lib/wine/wineserver"
        self.env = dict(os.environ, WINEPREFIX=prefix, WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=")
        # The display (Xvfb for the screenshot) is given to the server the
        # first program starts; without one everything runs headless.

    def boot(self):
        subprocess.run([self.server, "-k"], env=self.env, stderr=subprocess.DEVNULL)
        shutil.rmtree(self.prefix, ignore_errors=True)
        subprocess.run([self.loader, "wineboot", "--init"], env=self.env,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        subprocess.run([self.server, "-w"], env=self.env)
        # The registry's HARDWARE branch lives only as long as the server:
        # keep one running so that the SERIALCOMM value stays for every run.
        subprocess.run([self.server, "-p"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        # The services that start with the server inherit the starting
        # program's output: start them on nothing, so that no captured run
        # waits for them to close its pipes.
        subprocess.run([self.loader, "wineboot"], env=self.env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)

    def shutdown(self):
        subprocess.run([self.server, "-k"], env=self.env, stderr=subprocess.DEVNULL)

    def drive_c(self):
        return os.path.join(self.prefix, "drive_c")

    def map_com_port(self, target):
        """COM5 is the simulator's pty, and the device map lists it."""
        link = os.path.join(self.prefix, "dosdevices", COM.lower())
        if os.path.lexists(link):
            os.remove(link)
        os.symlink(target, link)
        self.run(["reg", "add", r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v", r"\Device\Serial4",
                  "/t", "REG_SZ", "/d", COM, "/f"])

    def run(self, args, exe=None, cwd=None, env=None, timeout=120):
        command = [self.loader] + ([os.path.join(self.app_dir, exe)] if exe else []) + args
        return subprocess.run(command, env=dict(self.env, **(env or {})), cwd=cwd, timeout=timeout,
                              capture_output=True, text=True, encoding="utf-8", errors="replace")


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
        memory_kb = 0
        for pid in subprocess.run(["pgrep", "-f", "pralix.exe"], capture_output=True, text=True).stdout.split():
            try:
                with open(f"/proc/{pid}/status") as status:
                    for line in status:
                        if line.startswith("VmHWM:"):
                            memory_kb = max(memory_kb, int(line.split()[1]))
            except OSError:
                pass
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


def prepare_drive_c(root):
    """The fiscal-link software as the test expects to find it."""
    appl = os.path.join(root, "Belmora", "Appl")
    os.makedirs(os.path.join(root, "Belmora", "Exch", "Lnk", "To_FP"), exist_ok=True)
    os.makedirs(appl, exist_ok=True)
    with open(os.path.join(appl, "Link.ini"), "wb") as f:
        f.write(b"Port=COM1\r\nSpeed=19200\r\n")
    with open(os.path.join(appl, "Version.ini"), "wb") as f:
        f.write(b"[Version]\r\nLink=10.2.5\r\n")


def printer_side(fields):
    """The fields that come from the printer, the PC's own ones left out;
    of LECurrJXVer the fiscal-link version after the "/" stays."""
    kept = {name: value for name, value in fields.items() if name not in PC_FIELDS}
    kept["fiscal_link_version"] = fields.get("LECurrJXVer", {}).get("text", "").split("/", 1)[-1]
    return kept


def body_without_pc_fields(body):
    pairs = urllib.parse.parse_qsl(body.decode("ascii"), keep_blank_values=True)
    return [(k, v.split("/", 1)[-1] if k == "jx" else v) for k, v in pairs if k != "cp"]


def parse_json(text):
    for line in reversed(text.strip().splitlines()):
        line = line.strip()
        if line.startswith("{"):
            return json.loads(line)
    raise ValueError("no JSON object in: " + text[-500:])


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
