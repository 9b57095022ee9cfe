"""The audio player of radio categories: an entry opens the player, which plays the stream
(fetched by the program itself, as Wine's DirectShow opens no web address), is driven from the
keyboard and says what it does; a stream that cannot be had, and a file on the computer named as
a station, are announced as unopenable; a hundred openings
and closings leave no thread behind, and no handle beyond what the platform's DirectShow keeps
of every graph; the sleep timer stops it. The stream is a 75-second WAV on the local site (testing/site/fixtures/audio)."""
import json
import re
import time

import pytest

from harness import BUILD, ROOT, windows_path

CATEGORIES = """
[Category1]
Parameter1=ラジオ
Parameter2=radio
Parameter3=https://localhost/audio/radio.html
Parameter4=<div id="list">
Parameter5=</div>
Parameter6=<name>
Parameter7=</name>
Parameter8=<url>
Parameter9=.wav
Parameter12=1
"""

MENU = """
[Menu1]
ListText1=ラジオ
MenuName1=radio.txt
Number1=1
"""

PLAYER_TITLE = "タブロプレーヤー"
OPEN_FAILED = "音声ファイルをオープンできませんでした"
LIST_ID = 101
OPENINGS = 100


@pytest.fixture(scope="module", autouse=True)
def serve(site):
    return site


def receive_radio(tavlo):
    (tavlo.folder / "News" / "radio.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))
    # Enter again when the first one went nowhere (a window that has just come up may not
    # have the keyboard yet).
    for _ in range(3):
        tavlo.keys("Return")
        try:
            tavlo.wait_for(lambda: "ラジオを受信" in tavlo.spoken(), timeout=8, what="the reception")
            break
        except AssertionError:
            tavlo.click_title()
    tavlo.wait_for(lambda: "受信した見出しは3件です" in tavlo.spoken(), timeout=30, what="the radio list")


def player_open(tavlo):
    dialog = tavlo.probe("--dialog").get("dialog")
    return bool(dialog) and dialog["title"] == PLAYER_TITLE


def player_closed(tavlo):
    """The player is gone and the list has the keyboard again."""
    state = tavlo.probe("--dialog")
    return state.get("dialog") is None and (state.get("focus") or {}).get("id") == LIST_ID


def said_after(tavlo, before, pattern, timeout=10):
    """The first text matching pattern spoken after the first `before` texts."""
    def find():
        for text in tavlo.spoken()[before:]:
            if re.fullmatch(pattern, text):
                return text
        return None
    return tavlo.wait_for(find, timeout, what=f"a text like '{pattern}'")


def minutes_seconds(text):
    m = re.search(r"(\d+)分(\d+)秒", text)
    return int(m.group(1)) * 60 + int(m.group(2))


def wait_playing(tavlo, timeout=30):
    """Asks the open player for its state (key 2) until it says it plays."""
    n = len(tavlo.spoken())
    tavlo.wait_for(lambda: (tavlo.keys("2", delay=30, settle=0.15), "再生中" in tavlo.spoken()[n:])[1],
                   timeout=timeout, what="playing")


def check_unreachable_stream(tavlo):
    """The second entry's stream is not on the site: the failure is said, and the player stays
    open with the keyboard, answering its keys, until Escape gives the list back."""
    tavlo.keys("Down")
    n = len(tavlo.spoken())
    tavlo.keys("Return")
    said_after(tavlo, n, OPEN_FAILED, timeout=30)
    assert tavlo.spoken()[n:].count(OPEN_FAILED) == 1
    state = tavlo.probe("--dialog")
    assert state["dialog"]["title"] == PLAYER_TITLE
    assert state["focus"]["hwnd"] == state["dialog"]["hwnd"]
    # Space plays nothing, and the state says so.
    n = len(tavlo.spoken())
    tavlo.keys("space", "2", "1")
    said_after(tavlo, n, "停止中")
    said_after(tavlo, n, "届かない音声")
    assert "再生中" not in tavlo.spoken()[n:]
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: player_closed(tavlo), timeout=10, what="the list to have the keyboard")
    tavlo.keys("Up")


def check_a_local_file_is_refused(tavlo):
    """The third entry names a playable WAV on this computer: only web addresses reach the
    media graph, so it is announced as unopenable and never plays."""
    planted = tavlo.desktop.data_folder() / "planted.wav"
    planted.write_bytes((ROOT / "testing" / "site" / "fixtures" / "audio" / "news.wav").read_bytes())
    tavlo.keys("Down", "Down")
    n = len(tavlo.spoken())
    tavlo.keys("Return")
    said_after(tavlo, n, OPEN_FAILED, timeout=30)
    n = len(tavlo.spoken())
    tavlo.keys("space", "2")
    said_after(tavlo, n, "停止中")
    assert "再生中" not in tavlo.spoken()[n:]
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: player_closed(tavlo), timeout=10, what="the list to have the keyboard")
    tavlo.keys("Up", "Up")
    planted.unlink()


def check_sleep_timer_stops_the_player(tavlo, power):
    """Thirty seconds before its end the sleep timer stops the playing player and says so; the
    player stays open, stopped, and the timer's end action follows."""
    mark = len(tavlo.spoken())
    tavlo.keys("F10")
    tavlo.wait_for(lambda: tavlo.desktop.xdotool("search", "--name", "^お休みタイマー$").split(),
                   what="the sleep timer dialog")
    tavlo.keys("Tab", "Down", "Return")  # 15 minutes, then the machine to sleep (only recorded here)
    said_after(tavlo, mark, "お休みタイマーをセットしました")
    tavlo.keys("Return")
    tavlo.wait_for(lambda: player_open(tavlo), timeout=15, what="the player")
    wait_playing(tavlo)
    said_after(tavlo, mark, "お休みタイマーにより再生を停止しました", timeout=60)
    n = len(tavlo.spoken())
    tavlo.keys("2")
    said_after(tavlo, n, "停止中")
    tavlo.wait_for(lambda: power.exists() and "SetSystemPowerState suspend=1 force=0" in power.read_text(),
                   timeout=60, what="the suspend")
    assert player_open(tavlo)
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: player_closed(tavlo), timeout=10, what="the list to have the keyboard")


def platform_cost(tavlo):
    """Handles Wine's DirectShow keeps of every graph and of every file it renders itself."""
    fixture = ROOT / "testing" / "site" / "fixtures" / "audio" / "news.wav"
    return json.loads(tavlo.desktop.run(["wine", str(BUILD / "graphcost.exe"), windows_path(fixture)]).stdout)


def open_and_close_many(tavlo):
    """Opens the first entry's player, waits until it plays, and closes it, a hundred times:
    threads come back to where they were, and handles grow by no more than the platform keeps
    of every graph."""
    before = tavlo.probe()
    started = time.time()
    again = 0
    for i in range(OPENINGS):
        # Enter again when the first one went nowhere (Wine's desktop may hand the keyboard
        # back to the main window a moment after the player has gone).
        for attempt in range(3):
            tavlo.keys("Return", delay=30, settle=0)
            try:
                tavlo.wait_for(lambda: player_open(tavlo), timeout=2.5, what=f"the player, opening {i}")
                break
            except AssertionError:
                if attempt == 2:
                    raise
                again += 1
        wait_playing(tavlo, timeout=15)
        tavlo.keys("Escape", delay=30, settle=0)
        tavlo.wait_for(lambda: player_closed(tavlo), timeout=10, what=f"the list, closing {i}")
    took = time.time() - started
    # The platform's media threads may take a moment to wind down after the last graph.
    after = tavlo.wait_for(lambda: (lambda p: p if p["threads"] <= before["threads"] + 2 else None)(tavlo.probe()),
                           timeout=10, what="the threads to wind down")
    cost = platform_cost(tavlo)
    grown = after["handles"] - before["handles"]
    print(f"\n{OPENINGS} openings in {took:.1f} s ({took / OPENINGS:.2f} s each): handles "
          f"{before['handles']} -> {after['handles']} (+{grown}), threads {before['threads']} -> "
          f"{after['threads']}; the platform keeps {cost['graph']} a graph, {cost['render']} a rendered file; "
          f"Enter pressed again {again} times")
    assert grown <= OPENINGS * cost["graph"] + 20


@pytest.mark.settings({"Opetion20": 2})
@pytest.mark.menu(MENU)
def test_radio_entry_plays_seeks_steps_the_volume_and_closes(tavlo, tmp_path):
    power = tmp_path / "power.txt"
    tavlo.switches = {"TAVLO_SLEEP_TICK_MS": "10", "TAVLO_POWER_RECORD": windows_path(power)}
    tavlo.start()
    receive_radio(tavlo)
    tavlo.keys("Return")
    tavlo.wait_for(lambda: player_open(tavlo), timeout=15, what="the player")

    # Playing once the program has fetched the stream; the position moves.
    n = len(tavlo.spoken())
    tavlo.wait_for(lambda: (tavlo.keys("2", settle=0.3), "再生中" in tavlo.spoken()[n:])[1], timeout=30,
                   what="playing")
    n = len(tavlo.spoken())
    tavlo.keys("3")
    assert said_after(tavlo, n, r"長さ 1分15秒")
    n = len(tavlo.spoken())
    tavlo.keys("4")
    first = minutes_seconds(said_after(tavlo, n, r"再生位置 \d+分\d+秒"))
    time.sleep(1.5)
    n = len(tavlo.spoken())
    tavlo.keys("4")
    second = minutes_seconds(said_after(tavlo, n, r"再生位置 \d+分\d+秒"))
    assert second > first

    # Stopped, each seek says where it landed.
    n = len(tavlo.spoken())
    tavlo.keys("space", "2")
    said_after(tavlo, n, r"停止中")
    steps = [("Right", 10), ("ctrl+Right", 60), ("ctrl+Right", 0), ("Left", -10), ("ctrl+Left", -60)]
    position = second
    for key, step in steps:
        n = len(tavlo.spoken())
        tavlo.keys(key)
        landed = minutes_seconds(said_after(tavlo, n, r"\d+分\d+秒"))
        expected = max(0, position + step) if position + step < 75 else position
        assert abs(landed - expected) <= 1, (key, position, landed)
        position = landed
    n = len(tavlo.spoken())
    tavlo.keys("BackSpace")
    assert minutes_seconds(said_after(tavlo, n, r"\d+分\d+秒")) == 0

    # Volume: from the middle three steps up, then down to the bottom and no further.
    n = len(tavlo.spoken())
    tavlo.keys("Up", "Up", "Up", "5")
    said_after(tavlo, n, r"ボリューム 13")
    n = len(tavlo.spoken())
    tavlo.keys(*(["Down"] * 15), "5")
    said_after(tavlo, n, r"ボリューム 0")

    # Escape closes the player; the list has the keyboard again, and no reading of the empty
    # body follows.
    n = len(tavlo.spoken())
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: player_closed(tavlo), timeout=10, what="the list to have the keyboard")
    time.sleep(0.5)
    assert tavlo.spoken()[n:] == []

    check_unreachable_stream(tavlo)
    check_a_local_file_is_refused(tavlo)
    open_and_close_many(tavlo)
    check_sleep_timer_stops_the_player(tavlo, power)
