"""The rig of the Windows proof: Wine with its COM port, the simulated
printer, the support service on loopback, and the tally of checks."""

import http.server
import json
import os
import shutil
import subprocess
import threading
import time
import urllib.parse

COM = "COM5"
# Fields that name the PC rather than the printer: the port (COM5 under
# Windows, a pty on Linux) and the Windows version before the "/".
PC_FIELDS = ("LEFPPort", "LECurrJXVer")


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
    """The support service on loopback: keeps every POST body (and its
    headers), answers 200, or 503 while refuse is set."""

    def __init__(self):
        bodies = self.bodies = []
        requests = self.requests = []
        owner = self
        self.refuse = False

        class Handler(http.server.BaseHTTPRequestHandler):
            def do_POST(self):
                length = int(self.headers.get("Content-Length", 0))
                body = self.rfile.read(length)
                requests.append((body, dict(self.headers.items())))
                if owner.refuse:
                    self.send_response(503)
                    self.send_header("Content-Length", "0")
                    self.end_headers()
                    return
                bodies.append(body)
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
        self.requests.clear()
        return taken

    def take_requests(self):
        """[(body, headers)] of every POST since the last take, refused ones too."""
        taken = list(self.requests)
        self.requests.clear()
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


