"""Checks of the Windows proof that stand for the tills the tool meets:
the Windows version the registry reports, a portable copy on a stick under a
non-ASCII path, a read-only stick, the outbox's later upload, detection, and
the cost of silent COM ports before the printer's."""

import os
import re
import shutil
import statistics
import subprocess
import time

from windows_proof_wine import COM, Simulator, parse_json

# What the registry of each Windows holds under
# HKLM\Software\Microsoft\Windows NT\CurrentVersion, and the "Win/JX
# version" field the tool makes of it.  Windows 7 has no integer version
# values (Wine's "win7" writes 6 and 1 anyway, so they are deleted here, as
# on a real Windows 7), and the tool falls back to CurrentVersion.
WINDOWS_VERSIONS = (
    ("win7", True, "6.1/10.2.5"),
    ("win10", False, "10.0/10.2.5"),
)
VERSION_KEY = r"HKLM\Software\Microsoft\Windows NT\CurrentVersion"


def set_windows_version(wine, name, without_integers):
    wine.run(["winecfg", "-v", name])
    if without_integers:
        for value in ("CurrentMajorVersionNumber", "CurrentMinorVersionNumber"):
            wine.run(["reg", "delete", VERSION_KEY, "/v", value, "/f"])


def check_windows_versions(wine, sim_bin, link, server, cwd, checks):
    for name, without_integers, expected in WINDOWS_VERSIONS:
        set_windows_version(wine, name, without_integers)
        sim = Simulator(sim_bin, 0, link)
        try:
            run = wine.run(["test", "--model", "0", "--json"], exe="pralix-cli.exe", cwd=cwd,
                           env={"PRALIX_DIAG_URL": server.url})
            server.take()
            try:
                shown = parse_json(run.stdout)["fields"]["LECurrJXVer"]["text"]
            except (ValueError, KeyError) as e:
                shown = f"({e})"
            checks.check(f"Wine as {name}: \"Win/JX version\" reads {expected}", shown == expected,
                         f"{shown}\n{run.stderr[-1000:]}")
        finally:
            sim.stop()
    # The rest of the proof runs as Windows 7, the oldest supported.
    set_windows_version(wine, "win7", True)


def tree_state(root, left_out):
    """{relative path: (size, mtime)} of every file under root, but for the
    folders in left_out."""
    state = {}
    for folder, dirs, files in os.walk(root):
        dirs[:] = [d for d in dirs if os.path.join(folder, d) not in left_out]
        for name in files:
            path = os.path.join(folder, name)
            try:
                info = os.lstat(path)
            except OSError:
                continue
            state[os.path.relpath(path, root)] = (info.st_size, info.st_mtime_ns)
    return state


def registry_text(wine):
    """HKCU and HKLM\\Software as reg export writes them, without the lines
    Wine itself changes on every start."""
    text = ""
    for key in ("HKCU", r"HKLM\Software"):
        out = os.path.join(wine.drive_c(), "registry.reg")
        wine.run(["reg", "export", key, "C:\\registry.reg", "/y"])
        with open(out, "rb") as f:
            text += f.read().decode("utf-16", errors="replace")
        os.remove(out)
    return text


def check_portable_copy(wine, sim_bin, link, server, app_dir, checks):
    """The zip unpacked on a stick under a non-ASCII path and run there: it
    finds the printer, and writes nothing but its working folder and its
    outbox."""
    stick = os.path.join(wine.drive_c(), "users", "Željko", "Desktop")
    copy = os.path.join(stick, "Pralix")
    shutil.rmtree(copy, ignore_errors=True)
    shutil.copytree(app_dir, copy)
    outbox = os.path.join(wine.drive_c(), "users", os.environ.get("USER", "root"), "AppData", "Local", "Pralix")
    windows_dir = os.path.join(wine.drive_c(), "windows")
    # The fiscal-link software's files are what the test is there to set
    # (Link.ini gets the found port, its printer outbox is cleared).
    fiscal_link = os.path.join(wine.drive_c(), "Belmora")
    left_out = {copy, outbox, windows_dir, fiscal_link}
    files_before = tree_state(wine.drive_c(), left_out)
    registry_before = registry_text(wine)
    sim = Simulator(sim_bin, 0, link)
    try:
        run = wine.run(["test", "--model", "0", "--json"], exe=os.path.join(copy, "pralix-cli.exe"), cwd=copy,
                       env={"PRALIX_DIAG_URL": server.url})
        sent = server.take()
    finally:
        sim.stop()
    try:
        found = parse_json(run.stdout)["found"]
    except ValueError:
        found = False
    checks.check("C:\\Users\\Željko\\Desktop\\Pralix\\pralix-cli.exe test finds the printer and uploads",
                 run.returncode == 0 and found and len(sent) == 1 and
                 os.path.exists(os.path.join(copy, "Pralix_log.txt")), run.stdout[-500:] + run.stderr[-1000:])
    files_after = tree_state(wine.drive_c(), left_out)
    changed = sorted(p for p in set(files_before) | set(files_after) if files_before.get(p) != files_after.get(p))
    changed = [p for p in changed if not p.endswith("registry.reg")]
    checks.check("the portable copy writes nothing outside its folder, the outbox and the fiscal-link files",
                 not changed,
                 "\n".join(changed[:20]))
    before_lines = set(registry_before.splitlines())
    new_lines = [line for line in registry_text(wine).splitlines() if line not in before_lines and line.strip()]
    checks.check("the portable copy leaves the registry as it was", not new_lines, "\n".join(new_lines[:20]))


def check_read_only_stick(wine, sim_bin, link, server, app_dir, checks):
    """A stick mounted read-only as the working folder: the summary log
    cannot be written; the message names the file, the fields are still
    shown, and the tool ends normally."""
    stick = os.path.join(wine.drive_c(), "stick")
    os.makedirs(stick, exist_ok=True)
    mounted = subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64m", "tmpfs", stick],
                             capture_output=True, text=True)
    if mounted.returncode != 0:
        checks.check("read-only stick (needs mount, as root)", False, mounted.stderr)
        return
    try:
        copy = os.path.join(stick, "Pralix")
        shutil.copytree(app_dir, copy)
        subprocess.run(["mount", "-o", "remount,ro", stick], check=True)
        sim = Simulator(sim_bin, 0, link)
        try:
            run = wine.run(["test", "--model", "0", "--json"], exe=os.path.join(copy, "pralix-cli.exe"),
                           cwd=copy, env={"PRALIX_DIAG_URL": server.url})
            server.take()
        finally:
            sim.stop()
        try:
            fields = parse_json(run.stdout)["fields"]
        except ValueError:
            fields = {}
        checks.check("read-only stick: the message names C:\\stick\\Pralix\\Pralix_log.txt",
                     "C:\\stick\\Pralix\\Pralix_log.txt" in run.stderr, run.stderr[-1500:])
        checks.check("read-only stick: the printer's fields are still shown",
                     fields.get("LEFPPort", {}).get("text", "").startswith(COM) and
                     fields.get("LEPIB", {}).get("text", "") != "", run.stdout[-1000:])
    finally:
        subprocess.run(["umount", stick], capture_output=True)


def check_detect(wine, sim_bin, link, checks):
    sim = Simulator(sim_bin, 0, link)
    try:
        run = wine.run(["detect", "--json"], exe="pralix-cli.exe")
    finally:
        sim.stop()
    try:
        found = parse_json(run.stdout)
    except ValueError:
        found = {}
    checks.check("pralix.exe detect finds the printer on COM5 at 19200",
                 run.returncode == 0 and found.get("port") == COM and found.get("baud") == 19200,
                 run.stdout[-800:] + run.stderr[-800:])


def check_outbox_upload(wine, sim_bin, link, server, cwd, checks):
    """A record the service refused is kept, and pralix upload sends it later
    with the same body and Idempotency-Key."""
    sim = Simulator(sim_bin, 0, link)
    try:
        server.refuse = True
        wine.run(["test", "--model", "0", "--json"], exe="pralix-cli.exe", cwd=cwd,
                 env={"PRALIX_DIAG_URL": server.url})
        refused = server.take_requests()
    finally:
        server.refuse = False
        sim.stop()
    upload = wine.run(["upload", "--json"], exe="pralix-cli.exe", cwd=cwd, env={"PRALIX_DIAG_URL": server.url})
    resent = server.take_requests()
    same = (len(refused) == 1 and len(resent) == 1 and refused[0][0] == resent[0][0] and
            refused[0][1].get("Idempotency-Key") and
            refused[0][1].get("Idempotency-Key") == resent[0][1].get("Idempotency-Key"))
    checks.check("pralix.exe upload sends the kept record with its body and Idempotency-Key",
                 upload.returncode == 0 and bool(same), upload.stdout + upload.stderr[-800:])


def trace_seconds(trace_text):
    """Seconds from the first port's open to the printer port's open."""
    stamps = []
    for line in trace_text.splitlines():
        match = re.match(r"(\d{4}-\d\d-\d\d \d\d:\d\d:(\d\d\.\d{3})) -- open (\S+)", line)
        if match:
            minutes = int(match.group(1)[14:16])
            stamps.append((minutes * 60 + float(match.group(2)), match.group(3)))
    if not stamps:
        return None
    printer = [t for t, port in stamps if port == COM]
    return (printer[0] - stamps[0][0]) if printer else None


def measure_silent_ports(wine, sim_bin, link, server, cwd, checks, silent_count=3, runs=5):
    """The cost of silent COM ports listed before the printer's: the test's
    whole time with and without them, run by run side by side, and from the
    trace the time the walk spends before it opens the printer's port."""
    import pty
    dosdevices = os.path.join(wine.prefix, "dosdevices")
    silent_ptys = [pty.openpty() for _ in range(silent_count)]

    def list_silent_ports(listed):
        # COM2 and up: Wine's prefix lists its own COM1 already (on
        # /dev/ttyS0), the same in both runs.
        for n, (_, slave) in enumerate(silent_ptys, start=2):
            path = os.path.join(dosdevices, f"com{n}")
            value = rf"\Device\Silent{n}"
            if os.path.lexists(path):
                os.remove(path)
            if listed:
                os.symlink(os.ttyname(slave), path)
                wine.run(["reg", "add", r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v", value, "/t", "REG_SZ",
                          "/d", f"COM{n}", "/f"])
            else:
                wine.run(["reg", "delete", r"HKLM\HARDWARE\DEVICEMAP\SERIALCOMM", "/v", value, "/f"])

    def test_seconds():
        sim = Simulator(sim_bin, 0, link)
        trace = os.path.join(cwd, "walk-trace.txt")
        try:
            if os.path.exists(trace):
                os.remove(trace)
            started = time.monotonic()
            run = wine.run(["test", "--model", "0", "--trace", "walk-trace.txt"], exe="pralix-cli.exe", cwd=cwd,
                           env={"PRALIX_DIAG_URL": server.url})
            whole = time.monotonic() - started
            server.take()
        finally:
            sim.stop()
        walk = None
        if os.path.exists(trace):
            with open(trace, encoding="utf-8", errors="replace") as f:
                walk = trace_seconds(f.read())
        return run.returncode == 0 and walk is not None, whole, walk

    alone, with_silent, walks = [], [], []
    ok = True
    try:
        for _ in range(runs):
            good, whole, _ = test_seconds()
            ok &= good
            alone.append(whole)
            list_silent_ports(True)
            good, whole, walk = test_seconds()
            list_silent_ports(False)
            ok &= good
            with_silent.append(whole)
            if walk is not None:
                walks.append(walk)
    finally:
        for master, slave in silent_ptys:
            os.close(master)
            os.close(slave)
    added_seconds = statistics.median(with_silent) - statistics.median(alone)
    walk_median = statistics.median(walks) if walks else float("nan")
    print(f"benchmark: {silent_count} silent COM ports before the printer's, {runs} runs each, side by side: "
          f"test {statistics.median(alone):.2f} s alone, {statistics.median(with_silent):.2f} s with them "
          f"(+{added_seconds:.2f} s); from the trace the walk spends {walk_median:.3f} s before the printer's "
          f"port, {walk_median / silent_count:.3f} s a silent port (Linux: 0.2 s a port)", flush=True)
    checks.check(f"silent ports: every test still finds the printer ({runs} + {runs} runs)", ok)
