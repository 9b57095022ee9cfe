"""A scripted walk through Tavlo under Xvfb for machines without a display: it serves the
bundled demo site, starts the program, moves through the menus, receives the demo headlines,
opens an article that is read aloud line by line, and prints every sentence the user hears."""
import subprocess
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import ROOT, Tavlo, WineDesktop  # noqa: E402

SITE = ROOT / "testing" / "site" / "site.sh"

STEPS = [
    ("Down", "move to the next entry of the top menu", 1.0),
    ("Down", "move to the category selection", 1.0),
    ("Return", "open the category selection", 1.0),
    ("alt+1", "ask where I am", 1.0),
    ("ctrl+7", "ask the position in the list", 1.0),
    ("BackSpace", "go back to the top menu", 1.0),
    ("shift+F4", "jump to the local news", 1.5),
    ("ctrl+BackSpace", "back to the top menu", 1.0),
    ("Up", "move to the category selection", 1.0),
    ("Return", "open the category selection again", 1.0),
    ("End", "move to the news of the demo site", 1.0),
    ("Return", "open the demo site's menu", 1.0),
    ("Return", "receive the demo headlines", 4.0),
    ("Return", "open the first article: it is read aloud", 12.0),
    ("Tab", "show the article", 1.0),
    ("BackSpace", "back to the headlines", 1.0),
]


def report(tavlo, key, what, heard):
    state = tavlo.probe()
    focus = (state["focus"] or {}).get("id")
    print(f"[{key}] {what}")
    if focus in (100, 101):
        view = state["controls"][str(focus)]
        if view["selection"] >= 0:
            print(f"    the screen reader reads the selected entry: {view['items'][view['selection']]}")
    spoken = tavlo.spoken()[heard:]
    for text in spoken:
        print(f"    heard: {text}")
    return heard + len(spoken)


def main():
    with tempfile.TemporaryDirectory() as work:
        state = Path(work) / "site"
        site = subprocess.run([str(SITE), "demo", str(state)], stdout=subprocess.DEVNULL)
        if site.returncode != 0:
            print("the demo site could not be started; the walk goes on without it")
        desktop = WineDesktop().start()
        try:
            desktop.reset_settings({"Opetion20": 2})
            tavlo = Tavlo(desktop, work).start()
            heard = 0
            for key, what, settle in STEPS:
                tavlo.keys(key, settle=settle)
                heard = report(tavlo, key, what, heard)
            shot = desktop.screenshot("walk")
            tavlo.keys("alt+F4", settle=0)
            tavlo.wait_exit(20)
            for text in tavlo.spoken()[heard:]:
                print(f"[alt+F4] close\n    heard: {text}")
            print(f"screenshot: {shot}")
        finally:
            desktop.stop()
            subprocess.run([str(SITE), "stop", str(state)], stdout=subprocess.DEVNULL)


if __name__ == "__main__":
    main()
