"""The audio player of radio categories: an entry opens the player, which plays the stream
(fetched by the program itself, as Wine's DirectShow opens no web address), is driven from the
keyboard and says what it does. The stream is a 75-second WAV on the local site
(testing/site/fixtures/audio). A missing stream and repeated openings are tested in process
(tests/win32/playerthread_test.cpp)."""
import re
import time

import pytest

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
    tavlo.wait_for(lambda: "受信した見出しは2件です" in tavlo.spoken(), timeout=30, what="the radio list")


def player_open(tavlo):
    dialog = tavlo.probe("--dialog").get("dialog")
    return bool(dialog) and dialog["title"] == PLAYER_TITLE


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


@pytest.mark.settings({"Opetion20": 2})
@pytest.mark.menu(MENU)
def test_radio_entry_plays_seeks_steps_the_volume_and_closes(tavlo):
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

    # Escape closes the player; the list has the keyboard again.
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: not player_open(tavlo), timeout=10, what="the player to close")
    assert tavlo.focus_id() == 101
