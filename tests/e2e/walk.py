"""A scripted walk through Tavlo under Xvfb for machines without a display: it starts the
program, moves through the menus as a user would, and prints every sentence the user hears."""
import sys
import tempfile
from pathlib import Path

sys.path.insert(0, str(Path(__file__).parent))
from harness import Tavlo, WineDesktop  # noqa: E402

STEPS = [
    ("Down", "move to the next entry of the top menu"),
    ("Down", "move to the category selection"),
    ("Return", "open the category selection"),
    ("alt+1", "ask where I am"),
    ("ctrl+7", "ask the position in the list"),
    ("BackSpace", "go back to the top menu"),
    ("shift+F4", "jump to the local news"),
    ("ctrl+BackSpace", "back to the top menu"),
    ("Return", "open the category selection again"),
    ("End", "move to the news of the demo site"),
    ("Return", "open the demo site's menu"),
    ("Return", "receive the demo headlines"),
    ("Down", "move to the second headline"),
]


def main():
    desktop = WineDesktop().start()
    try:
        desktop.reset_settings({"Opetion20": 2})
        with tempfile.TemporaryDirectory() as work:
            tavlo = Tavlo(desktop, work).start()
            heard = 0
            for key, what in STEPS:
                tavlo.keys(key, settle=1.2)
                state = tavlo.probe()
                selected = state["controls"]["100"]
                spoken = tavlo.spoken()[heard:]
                heard += len(spoken)
                print(f"[{key}] {what}")
                if selected.get("selection", -1) >= 0:
                    print(f"    screen reader reads the selected entry: {selected['items'][selected['selection']]}")
                for text in spoken:
                    print(f"    heard: {text}")
            shot = desktop.screenshot("walk")
            tavlo.keys("alt+F4", settle=0)
            tavlo.wait_exit(20)
            for text in tavlo.spoken()[heard:]:
                print(f"[alt+F4] close\n    heard: {text}")
            print(f"screenshot: {shot}")
    finally:
        desktop.stop()


if __name__ == "__main__":
    main()
