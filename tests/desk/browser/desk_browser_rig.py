"""The real parts behind the desk's pages, for the browser tests and
scripts/desk-screenshots: the printer simulator on a pty, `pralix-desk
serve` on a SQLite file, the tool's own test and upload, and headless
Chromium driven by Selenium.  Everything lives in one temporary folder that
close() removes, and every process started here is ended by its own id.

The programs come from the environment (CMake passes the built ones):
PRALIX_DESK_BIN, PRALIX_BIN, PRALIX_SIM_BIN, PRALIX_DESK_FILL_BIN."""

import contextlib
import json
import os
import re
import selectors
import shutil
import subprocess
import tempfile
import urllib.error
import urllib.parse
import urllib.request

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
# Root on a closed network: no sandbox, nothing that phones home.
CHROMIUM_FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                  "--disable-background-networking", "--disable-component-update", "--disable-sync"]
# A guard against a hung process, never a measure of speed.
STARTUP_LIMIT_S = 120
DIAG_FIELDS = ["ibfm", "pib", "fw", "jx", "tg", "bpdi", "plu", "cp", "diff", "h6l"]


def browser_missing():
    """Why the browser tests cannot run here, or None when they can."""
    for path in (CHROMIUM, CHROMEDRIVER):
        if not os.access(path, os.X_OK):
            return f"{path} is missing (Debian: chromium chromium-driver)"
    try:
        import selenium  # noqa: F401
    except ImportError:
        return "python3-selenium is missing"
    return None


def program(variable):
    path = os.environ.get(variable, "")
    if not os.access(path, os.X_OK):
        raise RuntimeError(f"{variable} does not name a built program: {path!r}")
    return path


def first_line(process, what):
    """The first line a starting process prints, or an error with its output."""
    with selectors.DefaultSelector() as selector:
        selector.register(process.stdout, selectors.EVENT_READ)
        if selector.select(STARTUP_LIMIT_S):
            line = process.stdout.readline().strip()
            if line:
                return line
    raise RuntimeError(f"{what} printed nothing (exit {process.poll()})")


class NoRedirect(urllib.request.HTTPRedirectHandler):
    def redirect_request(self, *args, **kwargs):
        return None


class DeskRig:
    def __init__(self):
        self.folder = tempfile.mkdtemp(prefix="pralix-desk-browser.")
        self._stack = contextlib.ExitStack()
        self._stack.callback(shutil.rmtree, self.folder, True)
        self.database = "sqlite:" + os.path.join(self.folder, "desk.sqlite")
        self.base_url = None

    def close(self):
        self._stack.close()

    def _path(self, name):
        return os.path.join(self.folder, name)

    def _start(self, arguments, what):
        log = open(self._path(os.path.basename(arguments[0]) + ".err"), "wb")
        self._stack.callback(log.close)
        process = subprocess.Popen(arguments, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=log,
                                   text=True, cwd=self.folder)
        self._stack.callback(self._end, process)
        try:
            return first_line(process, what)
        except RuntimeError as error:
            raise RuntimeError(f"{error}: {open(log.name, encoding='utf-8', errors='replace').read()}") from None

    @staticmethod
    def _end(process):
        if process.poll() is None:
            process.terminate()
            try:
                process.wait(STARTUP_LIMIT_S)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()
        process.stdout.close()

    def start_simulator(self):
        """The printer simulator (model 0) on a pty; its slave path."""
        return self._start([program("PRALIX_SIM_BIN"), "--model", "0"], "the printer simulator")

    def start_desk(self):
        line = self._start([program("PRALIX_DESK_BIN"), "serve", "--listen", "127.0.0.1:0", "--database",
                            self.database], "pralix-desk serve")
        match = re.fullmatch(r"listening on (http://127\.0\.0\.1:\d+)", line)
        if not match:
            raise RuntimeError(f"pralix-desk serve said {line!r}")
        self.base_url = match.group(1)
        return self.base_url

    def desk(self, *arguments, stdin=""):
        """A `pralix-desk` command on the rig's database; its standard output."""
        done = subprocess.run([program("PRALIX_DESK_BIN"), *arguments, "--database", self.database], input=stdin,
                              capture_output=True, text=True, timeout=STARTUP_LIMIT_S)
        if done.returncode != 0:
            raise RuntimeError(f"pralix-desk {' '.join(arguments)}: {done.stderr}")
        return done.stdout

    def add_user(self, name, password):
        self.desk("user", "add", name, stdin=password + "\n")

    def printers(self):
        return json.loads(self.desk("printers", "--json"))

    def fill(self, printers, records, end_day):
        """pralix-desk-fill's fleet, before the desk opens the database."""
        subprocess.run([program("PRALIX_DESK_FILL_BIN"), "--database", self.database, "--printers", str(printers),
                        "--records", str(records), "--end", end_day], check=True, capture_output=True,
                       timeout=20 * STARTUP_LIMIT_S)

    def run_tool_test(self, pty):
        """`pralix test` against the simulator, posting its record to the
        desk as it does in a shop; the tool's JSON answer."""
        drive_c = self._path("c")
        os.makedirs(os.path.join(drive_c, "Belmora", "Appl"), exist_ok=True)
        with open(os.path.join(drive_c, "Belmora", "Appl", "Version.ini"), "wb") as ini:
            ini.write(b"[Ostrik]\r\nLink=10.2.5\r\n")
        environment = dict(os.environ, PRALIX_DRIVE_C=drive_c, PRALIX_DIAG_URL=self.base_url + "/dijagnostika",
                           PRALIX_OUTBOX=self._path("outbox"), XDG_RUNTIME_DIR=self.folder)
        done = subprocess.run([program("PRALIX_BIN"), "test", "--json", "--paper-wait", "0", "--model", "0",
                               "--port", pty], stdin=subprocess.DEVNULL, capture_output=True, text=True,
                              env=environment, cwd=self.folder, timeout=STARTUP_LIMIT_S)
        if done.returncode != 0:
            raise RuntimeError(f"pralix test ended {done.returncode}: {done.stderr}")
        return json.loads(done.stdout)

    def post_record(self, values, tested_at=None):
        """One record as the tool posts it (values: the ten fields, h6l as
        a list of header lines); the HTTP status."""
        fields = dict(values, h6l="".join(line + "\r\n" for line in values["h6l"]) + "DIAG\n")
        body = urllib.parse.urlencode([(name, fields[name]) for name in DIAG_FIELDS]).encode()
        headers = {"Content-Type": "application/x-www-form-urlencoded", "Pralix-Version": "10.2.350"}
        if tested_at:
            headers["Pralix-Tested-At"] = tested_at
        return self.get("/dijagnostika", body=body, headers=headers)[0]

    def get(self, path, cookie=None, body=None, headers=None):
        """A request outside the browser, redirects not followed: (status,
        headers, body text)."""
        request = urllib.request.Request(self.base_url + path, data=body, headers=dict(headers or {}))
        if cookie:
            request.add_header("Cookie", cookie)
        opener = urllib.request.build_opener(NoRedirect)
        try:
            with opener.open(request, timeout=STARTUP_LIMIT_S) as answer:
                return answer.status, answer.headers, answer.read().decode()
        except urllib.error.HTTPError as answer:
            return answer.code, answer.headers, answer.read().decode()

    def browser(self, width=1366, height=900):
        from selenium import webdriver
        from selenium.webdriver.chrome.service import Service
        options = webdriver.ChromeOptions()
        options.binary_location = CHROMIUM
        for flag in CHROMIUM_FLAGS + ["--hide-scrollbars", f"--window-size={width},{height}",
                                      "--user-data-dir=" + tempfile.mkdtemp(dir=self.folder)]:
            options.add_argument(flag)
        driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
        self._stack.callback(driver.quit)
        self.set_viewport(driver, width, height)
        return driver

    @staticmethod
    def set_viewport(driver, width, height):
        """The page's own size, whatever the window's frame takes."""
        driver.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                               {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})

    def log_in(self, driver, user, password):
        """Through the /login form, as a person would; waits for the fleet."""
        from selenium.webdriver.common.by import By
        from selenium.webdriver.support import expected_conditions
        from selenium.webdriver.support.ui import WebDriverWait
        driver.get(self.base_url + "/login")
        driver.find_element(By.ID, "user").send_keys(user)
        driver.find_element(By.ID, "password").send_keys(password)
        driver.find_element(By.CSS_SELECTOR, "form button[type=submit]").click()
        WebDriverWait(driver, STARTUP_LIMIT_S).until(expected_conditions.presence_of_element_located((By.ID, "fleet")))
