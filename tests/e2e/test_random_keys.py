"""Ten thousand random keys into the real program against the local site: accelerators, the
navigation keys, Enter, Escape, Tab and letters, with every dialog and message box answered by
Escape. The program must stay alive and answering, keep its handles and threads, and end with
Alt+F4 and exit code 0.

It takes several minutes, so it runs only when asked: TAVLO_RANDOM_KEYS=1 (or
`sh scripts/test.sh --random-keys`). TAVLO_RANDOM_KEYS_COUNT sets the number of keys and
TAVLO_RANDOM_KEYS_SEED the seed (both printed with the figures)."""
import os
import random
import re
import time

import pytest

from harness import ARTIFACTS, ROOT
from test_articles import CATEGORY

pytestmark = pytest.mark.skipif(os.environ.get("TAVLO_RANDOM_KEYS") != "1",
                                reason="random keystrokes run only with TAVLO_RANDOM_KEYS=1")

CATEGORIES = "".join([
    CATEGORY.format(n=1, name="記事", source="https://localhost/", list="https://localhost/articles/index.html",
                    area_start='<ul class="headlines">', area_end="</ul>", item_start='<li><a href="',
                    item_end='"'),
    CATEGORY.format(n=2, name="読み上げ", source="https://localhost/", list="https://localhost/reading/index.html",
                    area_start='<ul class="headlines">', area_end="</ul>", item_start='<li><a href="',
                    item_end='"'),
    CATEGORY.format(n=3, name="フィード", source="rss", list="https://localhost/articles/feed.xml",
                    area_start="<item", area_end="</channel>", item_start="<link>", item_end="</link>"),
    CATEGORY.format(n=4, name="届かない", source="https://localhost/", list="https://localhost/none.html",
                    area_start="<ul>", area_end="</ul>", item_start='<a href="', item_end='"'),
])

MENU = "[Menu1]\n" + "".join(f"ListText{n}={name}\nMenuName{n}=random.txt\nNumber{n}={n}\n"
                               for n, name in enumerate(["記事", "読み上げ", "フィード", "届かない"], 1))

# Commands that end the program or start another one (browser, editor, the manual in the
# editor), whose window would take the keys that follow.
LEFT_OUT = {510, 504, 505, 561}

VIRTUAL_KEYS = {"RETURN": "Return", "PRIOR": "Prior", "NEXT": "Next", "BACK": "BackSpace", "DELETE": "Delete",
                "APPS": "Menu", "TAB": "Tab", "LEFT": "Left", "RIGHT": "Right", "UP": "Up", "DOWN": "Down",
                "HOME": "Home", "END": "End", "ESCAPE": "Escape", "SPACE": "space"}
MODIFIERS = {"CONTROL": "ctrl", "SHIFT": "shift", "ALT": "alt"}
NAVIGATION = ["Up", "Down", "Left", "Right", "Home", "End", "Prior", "Next"]
LETTERS = [chr(c) for c in range(ord("a"), ord("z") + 1)]

BATCH = 50
CHECK_EVERY = 1000
HANDLE_GROWTH = 60
THREAD_GROWTH = 4


def command_numbers():
    """Command names of resources/resource.h (where there is one) to their numbers."""
    header = ROOT / "resources" / "resource.h"
    if not header.exists():
        return {}
    return {name: int(value) for name, value in
            re.findall(r"^#define\s+(IDM_\w+)\s+(\d+)", header.read_text(encoding="utf-8"), re.M)}


def accelerator_keys():
    """The program's accelerator table as xdotool key names, less LEFT_OUT."""
    numbers = command_numbers()
    text = (ROOT / "resources" / "tavlo.rc").read_text(encoding="utf-8")
    table = re.search(r"ACCELERATORS\s*BEGIN(.*?)\nEND", text, re.S).group(1)
    keys = []
    for line in table.splitlines():
        parts = [p.strip() for p in line.split(",") if p.strip()]
        if len(parts) < 2:
            continue
        command = int(parts[1]) if parts[1].isdigit() else numbers.get(parts[1])
        if command is None or command in LEFT_OUT:
            continue
        key, flags = parts[0], parts[2:]
        if key.startswith('"^'):
            name = "ctrl+" + key[2].lower()
        elif key.startswith('"'):
            name = key[1].lower()
        elif key.startswith("VK_NUMPAD"):
            name = "KP_" + key[len("VK_NUMPAD"):]
        elif re.fullmatch(r"VK_F\d+", key):
            name = key[3:]
        else:
            name = VIRTUAL_KEYS[key[3:]]
        prefix = "".join(MODIFIERS[f] + "+" for f in flags if f in MODIFIERS)
        keys.append(prefix + name)
    return keys


def draw(rng, accelerators):
    kind = rng.random()
    if kind < 0.35:
        return rng.choice(accelerators)
    if kind < 0.60:
        return rng.choice(NAVIGATION)
    if kind < 0.70:
        return "Return"
    if kind < 0.80:
        return "Escape"
    if kind < 0.85:
        return "Tab"
    return rng.choice(LETTERS)


def answer_dialogs(tavlo, figures):
    """Escape until no dialog or message box is up; counts what it answered."""
    for _ in range(6):
        dialog = tavlo.probe("--dialog").get("dialog")
        if not dialog:
            return
        figures["dialogs answered"] += 1
        tavlo.keys("Escape", delay=30, settle=0.3)
    raise AssertionError(f"a dialog stays up after Escape: {dialog}")


def answering_probe(tavlo, figures):
    """The probe's view of the main window, timed; the window must answer within 5 s."""
    started = time.time()
    state = tavlo.probe()
    took = time.time() - started
    figures["slowest probe (s)"] = max(figures["slowest probe (s)"], round(took, 2))
    assert state.get("found"), "the main window is gone"
    assert took < 5, f"the window took {took:.1f} s to answer"
    return state


def report(figures):
    """The figures, printed and kept in tests/e2e/artifacts/random_keys.txt."""
    ARTIFACTS.mkdir(parents=True, exist_ok=True)
    text = "".join(f"{k}: {v}\n" for k, v in figures.items())
    (ARTIFACTS / "random_keys.txt").write_text(text, encoding="utf-8")
    print("\nrandom keystrokes\n" + text)


@pytest.mark.settings({"Opetion20": 2})
@pytest.mark.menu(MENU)
def test_random_keystrokes_leave_the_program_alive_answering_and_lean(tavlo, site):
    count = int(os.environ.get("TAVLO_RANDOM_KEYS_COUNT", "10000"))
    seed = int(os.environ.get("TAVLO_RANDOM_KEYS_SEED", "13"))
    rng = random.Random(seed)
    accelerators = accelerator_keys()
    assert len(accelerators) > 50
    (tavlo.folder / "News" / "random.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))
    tavlo.start()
    # A first reception, so that the counts start from a program that has worked.
    tavlo.keys("Return")
    tavlo.wait_for(lambda: any("件です" in t for t in tavlo.spoken()), timeout=30, what="the first reception")
    start = answering_probe(tavlo, {"slowest probe (s)": 0})
    figures = {"keys": 0, "seed": seed, "dialogs answered": 0, "slowest probe (s)": 0,
               "handles at start": start["handles"], "threads at start": start["threads"],
               "most handles": start["handles"], "most threads": start["threads"]}
    began = time.time()
    sent = 0
    try:
        while sent < count:
            batch = [draw(rng, accelerators) for _ in range(min(BATCH, count - sent))]
            tavlo.desktop.focus_desktop()
            tavlo.desktop.xdotool("key", "--delay", "20", *batch)
            sent += len(batch)
            figures["keys"] = sent
            assert tavlo.process.poll() is None, f"the program ended after {sent} keys"
            answer_dialogs(tavlo, figures)
            if sent % CHECK_EVERY == 0 or sent == count:
                time.sleep(1.0)  # let receptions and readings started by the keys settle
                answer_dialogs(tavlo, figures)
                state = answering_probe(tavlo, figures)
                figures["most handles"] = max(figures["most handles"], state["handles"])
                figures["most threads"] = max(figures["most threads"], state["threads"])
    finally:
        figures["seconds"] = round(time.time() - began)
        report(figures)

    # Quiet again, the program holds about what it held after its first reception.
    tavlo.keys("Escape", "Escape", settle=3.0)
    answer_dialogs(tavlo, figures)
    end = answering_probe(tavlo, figures)
    figures.update({"handles at end": end["handles"], "threads at end": end["threads"]})
    report(figures)
    assert end["handles"] - start["handles"] <= HANDLE_GROWTH, figures
    assert end["threads"] - start["threads"] <= THREAD_GROWTH, figures

    tavlo.keys("alt+F4", settle=1.0)
    answer_dialogs(tavlo, figures)
    assert tavlo.wait_exit(30) == 0
