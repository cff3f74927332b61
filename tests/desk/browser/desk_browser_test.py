#!/usr/bin/python3
"""The desk's pages in headless Chromium: the tool's real upload reaches the
fleet page, filters, sorting, the printer page with its charts, hostile
text shown as text, forms refused without their csrf token, and logout.
Exit 77 (skipped) only when Chromium, chromedriver or Selenium is missing."""

import datetime
import os
import sys
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import desk_browser_rig as rigs  # noqa: E402

USER, PASSWORD = "anna", "a long enough password"
# Other printers beside the tool's, with distinct free Z so that a sort has
# one right order; two of them are under the desk's 45 free Z.
OTHERS = [("AG200001", "200000011", "12"), ("AG200002", "200000022", "30"),
          ("AG200003", "200000033", "700"), ("AG200004", "200000044", "2500")]
HOSTILE_IBFM = "AG300666"
HOSTILE = {
    "pib": "<img src=x onerror=\"window.pwned='pib'\">",
    "fw": "<script>window.pwned='fw'</script>",
    "jx": "</td><script>window.pwned='jx'</script>",
    "cp": "\"><svg onload=\"window.pwned='cp'\">",
}
HOSTILE_HEADER = ["<script>document.title='pwned'</script>", "<img src=x onerror=\"document.title='pwned'\">",
                  "&amp; stays &amp;"]


def rfc3339(moment):
    return moment.strftime("%Y-%m-%dT%H:%M:%SZ")


class DeskInBrowserTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        from selenium.webdriver.common.by import By
        from selenium.webdriver.support import expected_conditions
        from selenium.webdriver.support.ui import WebDriverWait
        cls.By, cls.ec = By, expected_conditions
        cls.rig = rig = rigs.DeskRig()
        try:
            pty = rig.start_simulator()
            rig.start_desk()
            rig.add_user(USER, PASSWORD)
            cls.tool = rig.run_tool_test(pty)
            assert cls.tool["diag_data_sent"], cls.tool
            [printer] = rig.printers()
            cls.ibfm = printer["ibfm"]
            # An older test of the same printer with more free Z: a falling
            # line, so the page has a forecast.  A late older record changes
            # nothing in the fleet row.
            older = dict(printer, bpdi=str(int(printer["bpdi"]) + 40), h6l=printer["header"])
            month_ago = datetime.datetime.now(datetime.timezone.utc) - datetime.timedelta(days=30)
            cls.check_posted(rig.post_record(older, tested_at=rfc3339(month_ago)))
            for ibfm, pib, bpdi in OTHERS:
                cls.check_posted(rig.post_record(dict(older, ibfm=ibfm, pib=pib, bpdi=bpdi, h6l=["PRODAVNICA"])))
            cls.check_posted(rig.post_record(dict(older, ibfm=HOSTILE_IBFM, bpdi="333", h6l=HOSTILE_HEADER, **HOSTILE)))
            cls.printers = {p["ibfm"]: p for p in rig.printers()}
            cls.driver = rig.browser()
            cls.wait = WebDriverWait(cls.driver, rigs.STARTUP_LIMIT_S)
        except BaseException:
            rig.close()
            raise

    @classmethod
    def tearDownClass(cls):
        cls.rig.close()

    @staticmethod
    def check_posted(status):
        assert status == 200, f"the desk answered {status} to a record"

    def setUp(self):
        self.driver.delete_all_cookies()
        self.rig.log_in(self.driver, USER, PASSWORD)

    def find(self, selector, within=None):
        return (within or self.driver).find_element(self.By.CSS_SELECTOR, selector)

    def finds(self, selector, within=None):
        return (within or self.driver).find_elements(self.By.CSS_SELECTOR, selector)

    def shown_serials(self):
        return [link.text for link in self.finds("#fleet tbody th.col-ibfm a")]

    def row_of(self, ibfm):
        link = self.driver.find_element(self.By.LINK_TEXT, ibfm)
        return link.find_element(self.By.XPATH, "./ancestor::tr")

    def session_cookie(self):
        return "pralix_desk_session=" + self.driver.get_cookie("pralix_desk_session")["value"]

    def test_the_tools_upload_is_on_the_fleet_page_with_its_values(self):
        stored = self.printers[self.ibfm]
        self.assertEqual(stored["pib"], self.tool["fields"]["LEPIB"]["text"])
        self.assertEqual(stored["bpdi"], self.tool["fields"]["LEBPDI"]["text"])
        row = self.row_of(self.ibfm)
        for column in ["pib", "fw", "jx", "bpdi", "plu", "tg", "diff", "cp"]:
            self.assertEqual(self.find("td.col-" + column, row).text, stored[column], column)
        self.assertEqual(self.find("td.col-records", row).text, str(stored["records"]))
        self.assertEqual(self.find("td.col-last_seen", row).text, stored["last_seen"][:10])
        self.assertEqual(self.find("#user").text, USER)

    def search(self, text):
        self.find("#q").send_keys(text)
        self.find("#apply").click()

    def test_a_count_link_and_the_search_show_exactly_the_matching_printers(self):
        free_z_low = {i for i, p in self.printers.items() if int(p["bpdi"]) < 45}  # the desk's limit
        self.driver.get(self.rig.base_url + "/")
        self.assertEqual(self.find("#count-free_z_low").get_attribute("data-count"), str(len(free_z_low)))
        tool_pib = self.printers[self.ibfm]["pib"]
        matching = lambda text: {i for i, p in self.printers.items() if text in i or text in p["pib"]}  # noqa: E731
        cases = [("free Z count", lambda: self.find("#count-free_z_low").click(), free_z_low),
                 ("search by PIB", lambda: self.search(tool_pib), matching(tool_pib)),
                 ("search by part of a serial", lambda: self.search("20000"), matching("20000")),
                 ("search that matches nothing", lambda: self.search("ZZ99"), set())]
        for name, act, expected in cases:
            with self.subTest(name):
                self.driver.get(self.rig.base_url + "/")
                act()
                self.wait.until(self.ec.url_changes(self.rig.base_url + "/"))
                self.assertEqual(set(self.shown_serials()), expected)
                self.assertEqual(self.find("#rows").get_attribute("data-total"), str(len(expected)))

    def test_a_column_heading_sorts_the_fleet_and_a_second_click_reverses_it(self):
        cases = [("bpdi", lambda p: int(p["bpdi"])), ("pib", lambda p: p["pib"]), ("ibfm", lambda p: p["ibfm"])]
        for column, key in cases:
            with self.subTest(column):
                self.driver.get(self.rig.base_url + "/")
                directions = []
                for _ in range(2):
                    heading = self.find(f"th.col-{column}")
                    self.find("a", heading).click()
                    self.wait.until(self.ec.staleness_of(heading))
                    direction = self.find(f"th.col-{column}").get_attribute("aria-sort")
                    expected = sorted(self.printers.values(), key=key, reverse=direction == "descending")
                    self.assertEqual(self.shown_serials(), [p["ibfm"] for p in expected], direction)
                    directions.append(direction)
                self.assertCountEqual(directions, ["ascending", "descending"])

    def test_the_printer_page_shows_identity_header_both_charts_and_a_forecast(self):
        stored = self.printers[self.ibfm]
        self.driver.find_element(self.By.LINK_TEXT, self.ibfm).click()
        self.wait.until(self.ec.presence_of_element_located((self.By.ID, "identity")))
        self.assertEqual(self.find("#ibfm").text, self.ibfm)
        for field in ["pib", "fw", "jx", "cp", "tg", "bpdi", "plu", "diff"]:
            self.assertEqual(self.find(f"#identity-{field} td").text, stored[field], field)
        lines = [item.get_attribute("textContent") for item in self.finds("#header-lines li")]
        self.assertEqual(lines, stored["header"])
        self.assertEqual(lines, self.tool["header"])
        for chart in ["chart-free-z", "chart-clock"]:
            svg = self.find("svg#" + chart)
            self.assertTrue(svg.is_displayed(), chart)
            self.assertGreater(svg.size["width"], 300, chart)
            self.assertEqual(len(self.finds("circle.point", svg)), 2, chart)  # the two tests
        self.assertTrue(self.finds("svg#chart-free-z g.series-forecast"))
        forecast = self.find("#forecast")
        runs_out = forecast.get_attribute("data-runs-out")
        self.assertGreater(runs_out, stored["last_seen"][:10])
        self.assertIn(runs_out, forecast.text)
        self.assertEqual(self.find("#records-rows").get_attribute("data-total"), str(stored["records"]))

    def test_hostile_text_in_a_record_is_shown_as_text_and_runs_nothing(self):
        pages = [("fleet", "/", lambda: {f: self.find(f"td.col-{f}", self.row_of(HOSTILE_IBFM)).text for f in HOSTILE}),
                 ("printer", "/printers/" + HOSTILE_IBFM,
                  lambda: {f: self.find(f"#identity-{f} td").text for f in HOSTILE})]
        for name, path, shown_fields in pages:
            with self.subTest(name):
                self.driver.get(self.rig.base_url + path)
                # Not a firmware the desk knows: marked red with "!" before it.
                self.assertEqual(shown_fields(), dict(HOSTILE, fw="! " + HOSTILE["fw"]))
                if name == "printer":
                    lines = [item.get_attribute("textContent") for item in self.finds("#header-lines li")]
                    self.assertEqual(lines, HOSTILE_HEADER)
                self.assertEqual(self.finds("script, img, iframe, [onerror], [onload]"), [])
                self.assertIs(self.driver.execute_script("return window.pwned === undefined"), True)
                self.assertNotIn("pwned", self.driver.title)
                status, headers, _ = self.rig.get(path, cookie=self.session_cookie())
                self.assertEqual(status, 200)
                self.assertIn("default-src 'none'", headers.get("Content-Security-Policy", ""))

    def test_a_form_with_a_wrong_csrf_token_is_refused_and_changes_nothing(self):
        forged = "forged-token-0123456789"
        # The logout form of a signed-in viewer: refused, and still signed in.
        self.driver.execute_script("document.querySelector('form.logout input[name=csrf]').value = arguments[0]", forged)
        self.find("#logout").click()
        self.wait.until(self.ec.url_to_be(self.rig.base_url + "/logout"))
        self.assertIn("csrf token does not match", self.find("body").text)
        self.driver.get(self.rig.base_url + "/")
        self.assertEqual(self.find("#user").text, USER)

        # The login form with the right password: refused, and no session.
        self.driver.delete_all_cookies()
        self.driver.get(self.rig.base_url + "/login")
        self.driver.execute_script("document.querySelector('input[name=csrf]').value = arguments[0]", forged)
        self.find("#user").send_keys(USER)
        self.find("#password").send_keys(PASSWORD)
        self.find("form button[type=submit]").click()
        self.wait.until(self.ec.presence_of_element_located((self.By.CSS_SELECTOR, "p.error")))
        self.assertIn("expired", self.find("p.error").text)
        self.assertIsNone(self.driver.get_cookie("pralix_desk_session"))
        self.driver.get(self.rig.base_url + "/")
        self.assertTrue(self.driver.current_url.startswith(self.rig.base_url + "/login"))

    def test_logout_ends_the_session_for_its_old_cookie_too(self):
        cookie = self.session_cookie()
        self.assertEqual(self.rig.get("/", cookie=cookie)[0], 200)
        self.find("#logout").click()
        self.wait.until(self.ec.presence_of_element_located((self.By.ID, "password")))
        status, headers, _ = self.rig.get("/", cookie=cookie)
        self.assertEqual(status, 303)
        self.assertTrue(headers["Location"].startswith("/login"), headers["Location"])
        name, value = cookie.split("=", 1)
        self.driver.add_cookie({"name": name, "value": value, "path": "/"})
        self.driver.get(self.rig.base_url + "/printers/" + self.ibfm)
        self.assertTrue(self.driver.current_url.startswith(self.rig.base_url + "/login?next="), self.driver.current_url)


if __name__ == "__main__":
    missing = rigs.browser_missing()
    if missing:
        print("SKIPPED:", missing)
        sys.exit(77)
    sys.exit(0 if unittest.main(exit=False, verbosity=2).result.wasSuccessful() else 1)
