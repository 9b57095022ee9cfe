import fcntl
import os
import stat
import subprocess

import pytest

from harness import ROOT, Tavlo, WineDesktop

SITE = ROOT / "testing" / "site"


@pytest.fixture(scope="session")
def desktop():
    d = WineDesktop().start()
    yield d
    d.stop()


@pytest.fixture(scope="module")
def site(tmp_path_factory):
    """The local HTTPS site on https://localhost/ serving testing/site/fixtures for one test
    module; yields its state folder (requests.log lists every request)."""
    state = tmp_path_factory.mktemp("site")
    subprocess.run(["sh", str(SITE / "site.sh"), "start", str(SITE / "fixtures"), str(state)], check=True,
                   stdout=subprocess.DEVNULL, timeout=300, env=dict(os.environ, TAVLO_SITE_LIFETIME="1800"))
    yield state
    subprocess.run(["sh", str(SITE / "site.sh"), "stop", str(state)], stdout=subprocess.DEVNULL, timeout=60)


@pytest.fixture
def tavlo(desktop, tmp_path, request):
    """Starts Tavlo with the settings a test names through @pytest.mark.settings({...}) and the
    screen-reader answers of @pytest.mark.control({...}); takes a screenshot and closes it after."""
    settings = request.node.get_closest_marker("settings")
    control = request.node.get_closest_marker("control")
    desktop.reset_settings(settings.args[0] if settings else {"Opetion20": 2})
    run = Tavlo(desktop, tmp_path, control=control.args[0] if control else None)
    menu = request.node.get_closest_marker("menu")
    if menu:
        run.use_menu_file(menu.args[0])
    yield run
    desktop.screenshot(request.node.name)
    run.kill()


@pytest.fixture
def browser(tavlo, tmp_path):
    """Points Wine's browser launcher at a script that records every address it is given."""
    log = tmp_path / "browser.log"
    script = tmp_path / "browser.sh"
    script.write_text(f'#!/bin/sh\nprintf "%s\\n" "$@" >> "{log}"\n')
    script.chmod(script.stat().st_mode | stat.S_IXUSR)
    tavlo.desktop.reg(["add", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/d", str(script), "/f"])
    yield log
    tavlo.desktop.reg(["delete", r"HKCU\Software\Wine\WineBrowser", "/v", "Browsers", "/f"])


def pytest_configure(config):
    for name in ("settings", "control", "menu"):
        config.addinivalue_line("markers", f"{name}(values): per-test {name} for the tavlo fixture")


def claim(queue):
    """Takes the next test file's name off the shared queue (None when it is empty)."""
    with open(queue + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        with open(queue, encoding="utf-8") as f:
            names = f.read().split()
        if not names:
            return None
        with open(queue, "w", encoding="utf-8") as f:
            f.write("\n".join(names[1:]))
        return names[0]


def pytest_runtestloop(session):
    """With TAVLO_E2E_QUEUE (scripts/e2e.sh), several sessions run at once and each takes whole
    test files from the queue until it is empty; the display and the Wine prefix of a session
    serve all the files it takes."""
    queue = os.environ.get("TAVLO_E2E_QUEUE")
    if not queue or session.config.option.collectonly:
        return None
    files = {}
    for item in session.items:
        files.setdefault(item.path.name, []).append(item)

    def next_file():
        while True:
            name = claim(queue)
            if name is None or files.get(name):
                return name

    current = next_file()
    while current is not None:
        items = files[current]
        following = None
        for i, item in enumerate(items):
            if i + 1 < len(items):
                after = items[i + 1]
            else:
                # The next file is taken before the last test of this one ends, so that the
                # teardown keeps what the two share (the session's desktop).
                following = next_file()
                after = files[following][0] if following else None
            item.config.hook.pytest_runtest_protocol(item=item, nextitem=after)
            if session.shouldfail:
                raise session.Failed(session.shouldfail)
            if session.shouldstop:
                raise session.Interrupted(session.shouldstop)
        current = following
    return True
