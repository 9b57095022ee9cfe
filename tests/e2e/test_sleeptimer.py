"""The sleep timer, with its one-second timer ticking every 10 ms and the power calls going to
a recorder (both start-up switches that only tests set): set, announced, cancelled, set again,
each end action, and a reading stopped 30 seconds before the end. The article comes from the
local HTTPS site (testing/site/fixtures/reading)."""
import re

import pytest

from harness import windows_path
from test_reading import CATEGORIES, MENU

NOT_RUNNING = "お休みタイマーは実行されていません"
SHUTDOWN_NOTICE = "お休みタイマーにより、読み上げを停止しました\n30秒後にシステムをシャットダウンします"


def box_open(tavlo, title):
    return bool(tavlo.desktop.xdotool("search", "--name", f"^{title}$").split())


def wait_box(tavlo, title):
    tavlo.wait_for(lambda: box_open(tavlo, title), what=f"the window {title}")


def answer(tavlo, title, *keys):
    tavlo.keys(*keys)
    tavlo.wait_for(lambda: not box_open(tavlo, title), what=f"the window {title} to close")


def set_timer(tavlo, action_downs, again=False):
    """F10, then the dialog with "15分" and the action that many entries below "タブロを終了"."""
    mark = len(tavlo.spoken())
    tavlo.keys("F10")
    if again:
        wait_box(tavlo, "お休みタイマーの再セット確認")
        answer(tavlo, "お休みタイマーの再セット確認", "Return")
    wait_box(tavlo, "お休みタイマー")
    answer(tavlo, "お休みタイマー", "Tab", *(["Down"] * action_downs), "Return")
    done = "お休みタイマーをセットし直しました" if again else "お休みタイマーをセットしました"
    tavlo.wait_for(lambda: done in tavlo.spoken()[mark:], what=done)


def recorded(path):
    return path.read_text().splitlines() if path.exists() else []


@pytest.mark.settings({"Opetion20": 2, "Opetion19": 0, "Opetion22": 1, "Opetion17": 0, "Opetion1": 0})
@pytest.mark.control({"nvda_speaking_ms": 2000})
def test_sleep_timer_journey(site, tavlo, tmp_path):
    power = tmp_path / "power.txt"
    tavlo.switches = {"TAVLO_SLEEP_TICK_MS": "10", "TAVLO_POWER_RECORD": windows_path(power)}
    tavlo.use_menu_file(MENU)
    (tavlo.folder / "News" / "reading.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))
    tavlo.start()

    # No timer: the state says so, and cancelling asks nothing.
    tavlo.keys("alt+0")
    tavlo.wait_spoken(NOT_RUNNING)
    mark = len(tavlo.spoken())
    tavlo.keys("shift+F10", settle=1.0)
    assert not box_open(tavlo, "お休みタイマーのキャンセル確認") and tavlo.spoken()[mark:] == []

    # Set (sleep), the state in minutes and seconds, cancelled.
    set_timer(tavlo, 1)
    tavlo.keys("alt+0")
    tavlo.wait_for(lambda: any(re.fullmatch(r"お休みタイマー実行中 1[0-4]分\d{1,2}秒後にシステムをスリープに移行します", t)
                               for t in tavlo.spoken()), what="the state")
    tavlo.keys("shift+F10")
    wait_box(tavlo, "お休みタイマーのキャンセル確認")
    answer(tavlo, "お休みタイマーのキャンセル確認", "Return")
    tavlo.wait_spoken("お休みタイマーをキャンセルしました")
    mark = len(tavlo.spoken())
    tavlo.keys("alt+0")
    tavlo.wait_for(lambda: NOT_RUNNING in tavlo.spoken()[mark:], what="no timer")

    # Sleep, with a "set again?" answered No on the way: the timer runs on and ends in a suspend.
    set_timer(tavlo, 1)
    tavlo.keys("F10")
    wait_box(tavlo, "お休みタイマーの再セット確認")
    answer(tavlo, "お休みタイマーの再セット確認", "n")
    tavlo.wait_for(lambda: "SetSystemPowerState suspend=1 force=0" in recorded(power), 60, what="the suspend")
    granted = recorded(power)[0]
    assert recorded(power) == [granted, "SetSystemPowerState suspend=1 force=0"]
    assert granted in ("EnableShutdownPrivilege granted=1", "EnableShutdownPrivilege granted=0")

    # Hibernation, set again over a running sleep timer.
    set_timer(tavlo, 1)
    set_timer(tavlo, 2, again=True)
    tavlo.wait_for(lambda: len(recorded(power)) == 4, 60, what="the hibernation")
    assert recorded(power)[2:] == [granted, "SetSystemPowerState suspend=0 force=0"]

    # Shutdown while an article is read aloud: the reading stops at 30 seconds with the notice.
    tavlo.keys("Return")
    tavlo.wait_spoken("受信した見出しは3件です", timeout=30)
    set_timer(tavlo, 3)
    mark = len(tavlo.spoken())
    tavlo.keys("Return", settle=0)
    tavlo.wait_for(lambda: SHUTDOWN_NOTICE in tavlo.spoken()[mark:], 60, what="the shutdown notice")
    tavlo.wait_for(lambda: len(recorded(power)) >= 5, 60, what="the shutdown")
    shutdown = ["ExitWindowsEx flags=0x5 reason=0"] if granted.endswith("=1") else []
    assert recorded(power)[4:] == [granted] + shutdown
    heard = tavlo.spoken()[mark:]
    assert "終わり" not in heard and heard[-1] == SHUTDOWN_NOTICE

    # "タブロを終了" closes the program the normal way.
    tavlo.click_title()
    set_timer(tavlo, 0)
    assert tavlo.wait_exit(timeout=60) == 0
    assert tavlo.spoken()[-1] == "タブロを終了します"
