#!/usr/bin/env python3
"""The report page in a real browser: Chromium, headless, driven through its DevTools pipe.

Writes an estate (the sample project beside one with a missing member, a member named like an HTML
element, a caption that would end a script, a component linked to its library by a form's head, a control
of a library that no component provides, an API declaration), makes
the report over it, and checks:
- the embedded data equal the documents that count, lines, types, components, procedures --top 50,
  declares --by-library and check give with --json (--keep-going where the command has it);
- the HTML validator (tidy) finds nothing to report;
- loaded from a file URL: no console message of level error, no script error, no request for anything
  but the file itself; the summary shows the commands' numbers; the charts are there; the texts from the
  projects are shown as text; a click on a column head sorts the table.
With --screenshot PNG it instead makes the report over the sample project alone and saves a picture of it.

    browser_test.py VBPROJEKT EXAMPLES [--screenshot PNG]
"""
import base64
import json
import os
import shutil
import subprocess
import sys
import tempfile

CHROMIUM = shutil.which("chromium") or shutil.which("chromium-browser")


class Browser:
    """Chromium with --remote-debugging-pipe: commands on fd 3, answers and events on fd 4."""

    def __init__(self, profile):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        # Set up in the child; closing the other descriptors would take these away again.
        def pipes():
            a, b = os.dup(to_browser_r), os.dup(from_browser_w)
            os.dup2(a, 3)
            os.dup2(b, 4)
            os.set_inheritable(3, True)
            os.set_inheritable(4, True)

        self.process = subprocess.Popen(
            [CHROMIUM, "--headless", "--no-sandbox", "--disable-gpu", "--remote-debugging-pipe",
             "--no-first-run", "--no-default-browser-check", "--disable-extensions",
             "--user-data-dir=" + profile, "--hide-scrollbars", "about:blank"],
            preexec_fn=pipes, close_fds=False,
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.events = []
        self.session = None

    def close(self):
        try:
            self.send("Browser.close", session=False)
        except Exception:
            pass
        try:
            self.process.wait(timeout=20)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()

    def message(self):
        while b"\0" not in self.buffer:
            chunk = os.read(self.from_browser, 65536)
            if not chunk:
                raise RuntimeError("Chromium ended")
            self.buffer += chunk
        text, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(text)

    def send(self, method, params=None, session=True):
        self.next_id += 1
        command = {"id": self.next_id, "method": method, "params": params or {}}
        if session and self.session:
            command["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(command).encode() + b"\0")
        while True:
            answer = self.message()
            if answer.get("id") == self.next_id:
                if "error" in answer:
                    raise RuntimeError(method + ": " + json.dumps(answer["error"]))
                return answer.get("result", {})
            if "method" in answer:
                self.events.append(answer)

    def wait_for(self, method):
        for event in self.events:
            if event["method"] == method:
                return event
        while True:
            event = self.message()
            if "method" in event:
                self.events.append(event)
                if event["method"] == method:
                    return event

    def open(self, url, width=1100, height=1400):
        targets = self.send("Target.getTargets", session=False)["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.send("Target.attachToTarget", {"targetId": page["targetId"], "flatten": True},
                                 session=False)["sessionId"]
        for domain in ("Runtime", "Log", "Network", "Page"):
            self.send(domain + ".enable")
        self.send("Emulation.setDeviceMetricsOverride",
                  {"width": width, "height": height, "deviceScaleFactor": 1, "mobile": False})
        self.send("Page.navigate", {"url": url})
        self.wait_for("Page.loadEventFired")

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", {"expression": expression, "returnByValue": True})
        if "exceptionDetails" in result:
            raise RuntimeError("script failed: " + json.dumps(result["exceptionDetails"]))
        return result["result"].get("value")


def run(program, *args, cwd=None, expect=(0,)):
    result = subprocess.run([program, *args], cwd=cwd, capture_output=True)
    if result.returncode not in expect:
        sys.exit(f"{program} {' '.join(args)}: exit {result.returncode}\n{result.stderr.decode()}")
    return result.stdout


def write_estate(folder, examples):
    """The sample project, and before it in byte order a small project of the kinds real estates hold."""
    shutil.copytree(os.path.join(examples, "Beispiel"), os.path.join(folder, "Beispiel"))
    small = os.path.join(folder, "Anfang")
    os.makedirs(small)
    form = ("VERSION 5.00\r\n"
            "Object = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; \"MSCOMCTL.OCX\"\r\n"
            "Begin VB.Form Haupt\r\n"
            "   Caption         =   \"</script><!-- & Co\"\r\n"
            "   Begin Fremd.Regler Regler1\r\n"
            "   End\r\n"
            "   Begin MSComctlLib.ListView Liste\r\n"
            "   End\r\n"
            "End\r\n"
            "Attribute VB_Name = \"Haupt\"\r\n"
            "Private Sub Form_Load()\r\n"
            "    ' Kommentar\r\n"
            "End Sub\r\n")
    with open(os.path.join(small, "<script>.frm"), "w", newline="") as f:
        f.write(form)
    with open(os.path.join(small, "Api.bas"), "w", newline="") as f:
        f.write("Attribute VB_Name = \"Api\"\r\n"
                "Private Declare Function GetTickCount Lib \"kernel32\" () As Long\r\n"
                "Public Function Warte(ByVal n As Long) As Long\r\n"
                "    If n > 0 Then Warte = GetTickCount()\r\n"
                "End Function\r\n")
    with open(os.path.join(small, "Anfang.vbp"), "w", newline="") as f:
        f.write("Type=Exe\r\n"
                "Object={831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0; MSCOMCTL.OCX\r\n"
                "Object={F9043C88-F6F2-101A-A3C9-08002B2F49FB}#1.2#0; COMDLG32.OCX\r\n"
                "Form=<script>.frm\r\n"
                "Form=Fehlt.frm\r\n"
                "Module=Api; Api.bas\r\n"
                "Name=\"Anfang\"\r\n")


def check_page(program, folder, report):
    failures = []
    data = None
    # What the commands say, and the data the page carries.
    sections = {"count": ["--keep-going"], "lines": ["--keep-going"], "types": ["--keep-going"],
                "components": [], "procedures": ["--top", "50", "--keep-going"],
                "declares": ["--by-library", "--keep-going"], "check": []}
    commands = {name: json.loads(run(program, name, "--json", *options, folder, expect=(0, 1)))
                for name, options in sections.items()}
    with open(report, encoding="utf-8") as f:
        html = f.read()
    if "<script>.frm" in html.replace('<script type="application/json" id="vbprojekt-daten">', ""):
        failures.append("a member name reaches the page unescaped")
    start = html.index('<script type="application/json" id="vbprojekt-daten">')
    end = html.index("</script>", start)
    data = json.loads(html[start:end].split(">", 1)[1])
    for name, document in commands.items():
        if data.get(name) != document:
            failures.append(f"the embedded {name} differs from {name} --json")

    tidy = subprocess.run(["tidy", "-e", "-q", report], capture_output=True, text=True)
    if tidy.returncode != 0:
        failures.append("tidy: " + tidy.stderr.strip())

    profile = tempfile.mkdtemp(prefix="vbreport-browser-")
    browser = Browser(profile)
    url = "file://" + os.path.abspath(report)
    try:
        browser.open(url)
        shown = browser.evaluate("""(() => {
            const number = id => { const e = document.getElementById('summe-' + id);
                                   return e ? Number(e.textContent.replace(/\\s/g, '')) : null; };
            const ids = ['projekte', 'mitglieder', 'fehlend', 'objekte', 'zeilen', 'code', 'kommentare', 'leer',
                         'beschreibung', 'attribute', 'prozeduren', 'komplexitaet'];
            const summary = {};
            ids.forEach(id => summary[id] = number(id));
            return { summary,
                     charts: Array.from(document.querySelectorAll('svg.diagramm')).map(s => s.id),
                     bars: document.querySelectorAll('svg.diagramm rect').length,
                     entries: Array.from(document.querySelectorAll('.projekt td')).map(c => c.textContent),
                     scripts: document.querySelectorAll('script').length };
        })()""")
        projects = commands["count"]["projects"]
        members = [m for p in commands["lines"]["projects"] for m in p.get("members", [])]
        expected = {
            "projekte": len(projects),
            "mitglieder": len(members),
            "fehlend": sum(p.get("missing", 0) for p in commands["check"]["projects"]),
            "objekte": sum(p.get("total", 0) for p in projects),
            "zeilen": commands["lines"]["total"]["lines"],
            "code": commands["lines"]["total"]["code"],
            "kommentare": commands["lines"]["total"]["comments"],
            "leer": commands["lines"]["total"]["blank"],
            "beschreibung": commands["lines"]["total"]["description"],
            "attribute": commands["lines"]["total"]["attributes"],
            "prozeduren": commands["procedures"]["total"]["procedures"],
            "komplexitaet": commands["procedures"]["total"]["complexity"],
        }
        if shown["summary"] != expected:
            failures.append(f"summary shows {shown['summary']}, the commands say {expected}")
        charts = {"diagramm-typen", "diagramm-zeilen", "diagramm-komponenten", "diagramm-komplexitaet",
                  "diagramm-deklarationen"}
        if not charts <= set(shown["charts"]) or shown["bars"] < 10:
            failures.append(f"charts missing: {shown['charts']}, {shown['bars']} bars")
        if "<script>.frm" not in shown["entries"]:
            failures.append("the member <script>.frm is not shown as text")
        if shown["scripts"] != 2:
            failures.append(f"{shown['scripts']} script elements, a name or caption made one")

        # A click on "Objekte" sorts the projects by their objects, the largest first.
        order = """Array.from(document.querySelectorAll('#tabelle-projekte tbody tr'))
                   .map(r => [r.cells[0].textContent, Number(r.cells[3].getAttribute('data-wert'))])"""
        before = browser.evaluate(order)
        browser.evaluate("""Array.from(document.querySelectorAll('#tabelle-projekte th button'))
                            .find(b => b.textContent === 'Objekte').click()""")
        after = browser.evaluate(order)
        if after == before or [n for _, n in after] != sorted((n for _, n in before), reverse=True):
            failures.append(f"sorting by objects: {before} became {after}")

        for event in browser.events:
            method, params = event["method"], event.get("params", {})
            if method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
                failures.append("console: " + json.dumps(params.get("args")))
            elif method == "Runtime.exceptionThrown":
                failures.append("script error: " + json.dumps(params.get("exceptionDetails")))
            elif method == "Log.entryAdded" and params["entry"].get("level") == "error":
                failures.append("browser log: " + params["entry"].get("text", ""))
            elif method == "Network.requestWillBeSent" and params["request"]["url"] != url:
                failures.append("request outside the file: " + params["request"]["url"])
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)
    return failures


def screenshot(program, examples, picture):
    # The same path on every machine, as the windows' pictures show.
    work = "/tmp/VB-Projekte"
    shutil.rmtree(work, ignore_errors=True)
    shutil.copytree(os.path.join(examples, "Beispiel"), os.path.join(work, "Beispiel"))
    report = os.path.join(work, "Bericht.html")
    run(program, "report", "Beispiel/Beispiel.vbp", "--output", report, "--title", "Beispiel: Kundenverwaltung",
        cwd=work)
    profile = tempfile.mkdtemp(prefix="vbreport-browser-")
    browser = Browser(profile)
    try:
        browser.open("file://" + report, width=1000, height=1500)
        shot = browser.send("Page.captureScreenshot", {"format": "png"})
        with open(picture, "wb") as f:
            f.write(base64.b64decode(shot["data"]))
    finally:
        browser.close()
        shutil.rmtree(profile, ignore_errors=True)


def main():
    program, examples = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    if not CHROMIUM or not shutil.which("tidy"):
        sys.exit("chromium and tidy are needed (tools/install-deps)")
    if len(sys.argv) > 4 and sys.argv[3] == "--screenshot":
        screenshot(program, examples, sys.argv[4])
        return
    with tempfile.TemporaryDirectory(prefix="vbreport-") as folder:
        estate = os.path.join(folder, "Bestand")
        write_estate(estate, examples)
        report = os.path.join(folder, "Bericht.html")
        run(program, "report", estate, "--output", report, "--title", "Bestand <Test>", expect=(1,))
        failures = check_page(program, estate, report)
        # The sample project alone, as the README shows it.
        single = os.path.join(folder, "Beispiel.html")
        run(program, "report", os.path.join(estate, "Beispiel", "Beispiel.vbp"), "--output", single)
        tidy = subprocess.run(["tidy", "-e", "-q", single], capture_output=True, text=True)
        if tidy.returncode != 0:
            failures.append("tidy (sample project): " + tidy.stderr.strip())
    for failure in failures:
        print("FAILED:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
