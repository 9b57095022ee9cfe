"""Drives the real Tavlo.exe under Wine and Xvfb: real keystrokes in, what a blind user hears
(the screen-reader transcript) and what a screen reader sees (the probe) out."""
import json
import os
import re
import shutil
import subprocess
import tempfile
import time
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
BUILD = Path(os.environ.get("TAVLO_E2E_BUILD", ROOT / "build" / "win64"))
PROGRAM = BUILD / "Tavlo"
ARTIFACTS = ROOT / "tests" / "e2e" / "artifacts"
SETTINGS_KEY = r"HKCU\Software\Morvick\Tavlo2"


def list_category(name, list_address):
    """Category 1 of a category file for a list page of the local site's fixtures: headlines in
    <ul class="headlines"> as <li><a href="...">, the body in <div class="article-body"> up to
    <!-- /article-body -->, the title in <title>."""
    return f"""
[Category1]
Parameter1={name}
Parameter2=https://localhost/
Parameter3={list_address}
Parameter4=<ul class="headlines">
Parameter5=</ul>
Parameter6=<li><a href="
Parameter7="
Parameter8=<div class="article-body">
Parameter9=<!-- /article-body -->
Parameter12=1
Parameter17=<title>
Parameter18=</title>
"""


def unescape(text):
    """A transcript text as it was said: the doubles escape a backslash, CR and LF with a backslash."""
    return re.sub(r"\\([\\rn])", lambda m: {"\\": "\\", "r": "\r", "n": "\n"}[m.group(1)], text)


def windows_path(path):
    return "Z:" + str(Path(path).resolve()).replace("/", "\\")


class WineDesktop:
    """One Xvfb display and one Wine prefix, whose programs all open in a virtual desktop so that
    focus and keystrokes behave as on Windows."""

    def __init__(self, workdir=None):
        # Every session gets a prefix of its own unless told otherwise: Tavlo allows one
        # instance per Wine session, so two test runs must never share a prefix.
        self.temporary = workdir is None
        if workdir is None:
            (ROOT / "build").mkdir(exist_ok=True)
            workdir = tempfile.mkdtemp(prefix="e2e-", dir=ROOT / "build")
        self.workdir = Path(workdir)
        self.display = None
        self.xvfb = None
        self.env = dict(os.environ)
        self.env.update({
            "WINEPREFIX": str(self.workdir / "wineprefix"),
            "WINEDEBUG": "-all",
            "LANG": "ja_JP.UTF-8",
            "LC_ALL": "ja_JP.UTF-8",
            "WINEDLLOVERRIDES": "mscoree,mshtml=;winemenubuilder.exe=d",
        })

    def start(self):
        self.workdir.mkdir(parents=True, exist_ok=True)
        # No sound card here: the player plays into a silent ALSA device, set up in a home of
        # the tests' own.
        home = self.workdir / "home"
        home.mkdir(exist_ok=True)
        (home / ".asoundrc").write_text("pcm.!default { type null }\n")
        self.env["HOME"] = str(home)
        # Two test runs at once (scripts/e2e.sh) take their displays from different ranges.
        base = int(os.environ.get("TAVLO_E2E_DISPLAY_BASE", "90"))
        for n in range(base, base + 50):
            if not Path(f"/tmp/.X11-unix/X{n}").exists() and not Path(f"/tmp/.X{n}-lock").exists():
                self.display = f":{n}"
                break
        self.xvfb = subprocess.Popen(["Xvfb", self.display, "-screen", "0", "1280x1024x24", "-nolisten", "tcp"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.env["DISPLAY"] = self.display
        for _ in range(100):
            if Path(f"/tmp/.X11-unix/X{self.display[1:]}").exists():
                break
            time.sleep(0.05)
        # No key repeat: a key held a little long on a loaded machine must not arrive twice.
        subprocess.run(["xset", "r", "off"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if not (self.workdir / "wineprefix" / "system.reg").exists():
            self.run(["wineboot", "-i"], timeout=180)
            self.run(["wineserver", "-w"], timeout=180)
        self.reg(["add", r"HKCU\Software\Wine\Explorer", "/v", "Desktop", "/d", "Default", "/f"])
        self.reg(["add", r"HKCU\Software\Wine\Explorer\Desktops", "/v", "Default", "/d", "1024x768", "/f"])
        subprocess.Popen(["wineserver", "-p"], env=self.env)
        return self

    def stop(self):
        subprocess.run(["wineserver", "-k"], env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if self.xvfb:
            self.xvfb.terminate()
            self.xvfb.wait(10)
        if self.temporary:
            shutil.rmtree(self.workdir, ignore_errors=True)

    def run(self, args, timeout=60, **kw):
        return subprocess.run(args, env=self.env, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              timeout=timeout, **kw)

    def reg(self, args):
        """Runs Wine's reg. A write is checked: Wine now and then fails to start a process on a
        loaded machine, and a test must not go on without the value it set."""
        for attempt in range(3):
            result = self.run(["wine", "reg"] + args)
            if args[0] not in ("add", "import") or result.returncode == 0:
                return result
            time.sleep(0.5)
        raise AssertionError(f"reg {' '.join(args)} failed ({result.returncode})")

    def settings(self):
        """The values of the settings key as {name: int}; {} when the key is missing."""
        out = self.reg(["query", SETTINGS_KEY]).stdout.decode("utf-8", "replace")
        values = {}
        for line in out.splitlines():
            parts = line.split()
            if len(parts) == 3 and parts[1] == "REG_DWORD":
                values[parts[0]] = int(parts[2], 16)
        return values

    def reset_settings(self, values=None):
        self.reg(["delete", SETTINGS_KEY, "/f"])
        for name, value in (values or {}).items():
            self.reg(["add", SETTINGS_KEY, "/v", name, "/t", "REG_DWORD", "/d", str(value), "/f"])

    def data_folder(self):
        return self.workdir / "wineprefix" / "drive_c" / "ProgramData" / "Morvick" / "Tavlo"

    def xdotool(self, *args):
        return subprocess.run(["xdotool"] + list(args), env=self.env, stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, timeout=30).stdout.decode()

    def focus_desktop(self):
        ids = self.xdotool("search", "--name", "Wine desktop").split()
        if ids:
            self.xdotool("windowfocus", "--sync", ids[0])

    def screenshot(self, name):
        ARTIFACTS.mkdir(parents=True, exist_ok=True)
        path = ARTIFACTS / f"{name}.png"
        subprocess.run(["import", "-display", self.display, "-window", "root", str(path)],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=30)
        return path


class Tavlo:
    """One run of the program from a program folder of its own, with the screen-reader doubles
    beside it."""

    def __init__(self, desktop, workdir, pctalker=True, nvda=True, control=None, folder=None):
        """folder: an installed program folder to run instead of a copy of the built one."""
        self.desktop = desktop
        self.workdir = Path(workdir)
        self.folder = Path(folder) if folder else self.workdir / "Tavlo"
        if not folder:
            if self.folder.exists():
                shutil.rmtree(self.folder)
            shutil.copytree(PROGRAM, self.folder)
        if pctalker:
            shutil.copy(BUILD / "PCTKUSR64.dll", self.folder)
        if nvda:
            shutil.copy(BUILD / "nvdaControllerClient64.dll", self.folder)
        self.transcript_path = self.workdir / "transcript.txt"
        self.control_path = self.workdir / "control.txt"
        self.transcript_path.write_text("")
        self.set_control(control or {})
        self.process = None
        # Start-up switches only tests set (for example TAVLO_POWER_RECORD), given per run.
        self.switches = {}

    def set_control(self, values):
        self.control_path.write_text("".join(f"{k}={v}\n" for k, v in values.items()))

    def env(self):
        env = dict(self.desktop.env)
        env["TAVLO_TRANSCRIPT"] = windows_path(self.transcript_path)
        env["TAVLO_SR_CONTROL"] = windows_path(self.control_path)
        env["WINEDEBUG"] = "-all,err+all"  # Wine's errors reach wine.log; its traces stay off
        env.update(self.switches)
        return env

    def use_menu_file(self, text):
        """Replaces the program's menu definition file with text (given as UTF-8)."""
        path = self.folder / "News" / "Tavlo.menu"
        path.write_bytes(text.replace("\n", "\r\n").encode("cp932"))

    def use_category_file(self, name, text):
        """Writes a category file (given as UTF-8) into the program's News folder."""
        (self.folder / "News" / name).write_bytes(text.replace("\n", "\r\n").encode("cp932"))

    def start(self, wait=True, cwd=None):
        """cwd: another working folder to start in than the program folder."""
        program = str(self.folder / "Tavlo.exe") if cwd else "Tavlo.exe"
        # Wine's own messages go to a log beside the transcript: a timed-out wait quotes its end.
        with open(self.workdir / "wine.log", "ab") as log:
            self.process = subprocess.Popen(["wine", program], cwd=cwd or self.folder, env=self.env(),
                                            stdout=subprocess.DEVNULL, stderr=log)
        if wait:
            self.wait_for(lambda: self.window_exists(), what="the main window")
            time.sleep(0.5)
            self.click_title()
        return self

    def click_title(self):
        """Clicks the title bar, as a user would, so that Wine's virtual desktop hands the
        keyboard to the window (it does not always do so when the window appears)."""
        self.desktop.focus_desktop()
        self.desktop.xdotool("mousemove", "120", "12", "click", "1")
        time.sleep(0.2)

    def start_second(self):
        """Starts a second instance from the same folder and returns its exit code."""
        return subprocess.run(["wine", "Tavlo.exe"], cwd=self.folder, env=self.env(),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=60).returncode

    def window_exists(self):
        return bool(self.desktop.xdotool("search", "--name", "^タブロ$").split()) or self.probe_ok()

    def probe_ok(self):
        try:
            return bool(self.probe().get("found"))
        except Exception:
            return False

    def wait_exit(self, timeout=20):
        return self.process.wait(timeout)

    def kill(self):
        if self.process and self.process.poll() is None:
            self.desktop.run(["wine", "taskkill", "/f", "/im", "Tavlo.exe"])
            try:
                self.process.wait(10)
            except subprocess.TimeoutExpired:
                self.process.kill()

    def keys(self, *keys, delay=120, settle=0.4):
        self.desktop.focus_desktop()
        for key in keys:
            self.desktop.xdotool("key", "--delay", str(delay), key)
            time.sleep(delay / 1000)
        time.sleep(settle)

    def probe(self, *args):
        """The window as a screen reader sees it (see testing/doubles/probe.cpp); args are the
        probe's options, such as "--activate" or "--dialog"."""
        # Wine now and then fails to start a process on a loaded machine and prints its own
        # message instead ("ShellExecuteEx が失敗"); the probe is then simply started again.
        for attempt in range(3):
            out = self.desktop.run(["wine", str(BUILD / "probe.exe")] + list(args), timeout=60).stdout
            try:
                return json.loads(out.decode("utf-8"))
            except ValueError:
                time.sleep(0.5)
        raise AssertionError("the probe did not run: " + out.decode("cp932", "replace"))

    def view(self, control_id):
        """What the probe sees of one child control."""
        return self.probe()["controls"][str(control_id)]

    def focus_id(self):
        """The control id of Tavlo's keyboard focus; None when Tavlo has no focus."""
        return (self.probe()["focus"] or {}).get("id")

    def heard(self):
        """The transcript as a list of dicts: time (ms), engine, call, text, detail."""
        calls = []
        for line in self.transcript_path.read_text(encoding="utf-8").splitlines():
            parts = line.split("\t")
            parts += [""] * (5 - len(parts))
            calls.append({"time": float(parts[0]), "engine": parts[1], "call": parts[2],
                          "text": unescape(parts[3]), "detail": parts[4]})
        return calls

    def spoken(self):
        """The texts handed to a screen reader to speak, in order."""
        return [c["text"] for c in self.heard() if c["call"] in ("speak", "speakText")]

    def wait_for(self, predicate, timeout=15, what="the condition"):
        end = time.time() + timeout
        while time.time() < end:
            value = predicate()
            if value:
                return value
            time.sleep(0.1)
        raise AssertionError(f"timed out waiting for {what}\n" + self.last_words())

    def last_words(self):
        """The end of the transcript and of Wine's messages, for a failure's report."""
        spoken = self.spoken()[-6:] if self.transcript_path.exists() else []
        log = self.workdir / "wine.log"
        wine = log.read_text(encoding="utf-8", errors="replace").splitlines()[-12:] if log.exists() else []
        return "last spoken: " + " | ".join(spoken) + "\nWine's last messages:\n" + "\n".join(wine)

    def wait_reading_ended(self, timeout=30):
        """Waits until no reading runs, by the program's own count of its reading threads: a
        reading refuses most keys until it has ended, which is a little after its last words
        reach the screen reader."""
        self.wait_for(lambda: self.probe().get("reading") == 0, timeout, what="the reading to end")

    def wait_spoken(self, text, timeout=10):
        return self.wait_for(lambda: text in self.spoken(), timeout, what=f"'{text}' to be spoken")
