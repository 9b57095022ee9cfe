"""The main window as a screen-reader user meets it: start, second start, size, focus, close,
and a start from another folder."""
import shutil
import subprocess
import time

import pytest

MENU_BAR = ["ファイル(&F)", "編集(&E)", "関連記事(&L)", "スクラップブック(&S)", "お気に入り(&F)",
            "ニュース録音(&W)", "読み(&R)", "ツール(&T)", "ヘルプ(&H)"]
DATA_FOLDERS = ["", "NewsText", "mp3", "ScrapBook", "ScrapBook/ScrapBook"]


def view(state, control_id):
    return state["controls"][str(control_id)]


@pytest.mark.settings({})
def test_first_start_builds_the_window_and_the_data_folders(tavlo, desktop):
    tavlo.start()
    state = tavlo.probe()
    assert state["class"] == "Tavlo"
    assert state["title"] == "タブロ"
    assert state["menu"] == MENU_BAR
    children = state["children"]
    assert [c["id"] for c in children] == [1, 100, 1, 101, 2, 102] + list(range(70, 100))
    assert [c["text"] for c in children[:6:2]] == ["メニュー選択", "記事リスト", "本文"]
    assert not any(c["visible"] for c in children[:6:2])
    assert [view(state, i)["class"].upper() for i in (100, 101, 102)] == ["LISTBOX", "LISTBOX", "RICHEDIT"]
    assert all(not view(state, i)["visible"] for i in range(70, 100))
    # The top menu is shown and focused; the other views are hidden.
    assert state["focus"]["id"] == 100
    assert view(state, 100)["visible"] and not view(state, 102)["visible"]
    assert view(state, 100)["items"][:3] == ["操作マニュアル", "受信履歴", "ニュースカテゴリー選択"]
    for folder in DATA_FOLDERS:
        assert (desktop.data_folder() / folder).is_dir(), folder
    # First start: the key holds all eighteen defaults, the main-text fallback on.
    values = desktop.settings()
    assert len(values) == 18
    assert values["Opetion0"] == 12 and values["Opetion15"] == 0 and values["Opetion22"] == 1
    assert values["Opetion23"] == 1


def test_a_start_elsewhere_takes_the_programs_own_menus_and_no_planted_library(tavlo, desktop, tmp_path):
    """Started from another working folder, Tavlo reads the menus of its own folder, and an NVDA
    library found only in that folder or in the data folder (which every local user may write
    to) is never loaded."""
    elsewhere = tmp_path / "elsewhere"
    (elsewhere / "News").mkdir(parents=True)
    (elsewhere / "News" / "Tavlo.menu").write_bytes("[Menu1]\r\nListText1=偽のメニュー\r\nNumber1=561\r\n".encode("cp932"))
    library = "nvdaControllerClient64.dll"
    (tavlo.folder / library).rename(elsewhere / library)
    planted = desktop.data_folder() / library
    planted.parent.mkdir(parents=True, exist_ok=True)
    shutil.copy(elsewhere / library, planted)
    try:
        tavlo.start(cwd=elsewhere)
        assert view(tavlo.probe(), 100)["items"][:3] == ["操作マニュアル", "受信履歴", "ニュースカテゴリー選択"]
        tavlo.keys("ctrl+7", "alt+F4")
        assert tavlo.wait_exit() == 0
        assert [c for c in tavlo.heard() if c["engine"] == "nvda"] == []
    finally:
        planted.unlink()


def test_second_start_restores_the_first_window_and_exits_0(tavlo):
    tavlo.start()
    tavlo.probe("--minimize")
    assert tavlo.probe()["minimized"]
    assert tavlo.start_second() == 0
    state = tavlo.wait_for(lambda: (lambda s: s if not s["minimized"] else None)(tavlo.probe()),
                           what="the first window to be restored")
    assert state["instances"] == 1


def test_resizing_resizes_all_three_views_and_focus_returns(tavlo, desktop):
    tavlo.start()
    tavlo.keys("Tab")  # the headline list
    assert tavlo.focus_id() == 101
    for width, height in ((700, 500), (420, 300)):
        state = tavlo.probe("--resize", str(width), str(height))
        client = state["client"]
        assert client["width"] < width and client["height"] < height
        for i in (100, 101, 102):
            size = view(state, i)["size"]
            assert size["width"] == client["width"], i
            # a list box rounds its height down to whole lines
            assert 0 <= client["height"] - size["height"] < 24, i
    assert tavlo.focus_id() == 101
    other = subprocess.Popen(["wine", "notepad"], env=desktop.env)
    try:
        tavlo.wait_for(lambda: tavlo.focus_id() != 101,
                       what="the focus to leave Tavlo")
        state = tavlo.probe("--activate")
        tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the focus to come back to the list")
    finally:
        other.kill()
        desktop.run(["wine", "taskkill", "/f", "/im", "notepad.exe"])


def test_closing_under_nvda_says_goodbye_before_exit(tavlo):
    tavlo.start()
    tavlo.keys("alt+F4")
    assert tavlo.wait_exit() == 0
    assert tavlo.spoken()[-1] == "タブロを終了します"


@pytest.mark.settings({"Opetion20": 1})
def test_closing_under_pctalker_holds_two_seconds(tavlo):
    tavlo.start()
    start = time.time()
    tavlo.keys("alt+F4", settle=0)
    assert tavlo.wait_exit() == 0
    assert time.time() - start >= 1.9
    assert tavlo.spoken() == ["タブロを終了します"]


@pytest.mark.settings({"Opetion20": 1})
@pytest.mark.control({"pctalker_present": 0})
def test_closing_without_pctalker_is_immediate_and_silent(tavlo):
    tavlo.start()
    start = time.time()
    tavlo.keys("alt+F4", settle=0)
    assert tavlo.wait_exit() == 0
    assert time.time() - start < 1.5
    assert tavlo.spoken() == []


@pytest.mark.settings({"Opetion20": 0})
def test_no_engine_makes_no_screen_reader_call(tavlo):
    tavlo.start()
    tavlo.keys("ctrl+7", "alt+F4")
    assert tavlo.wait_exit() == 0
    assert tavlo.heard() == []


@pytest.mark.settings({"Opetion4": 3})
def test_legacy_engine_value_selects_nvda_without_rewriting_the_key(tavlo, desktop):
    tavlo.start()
    tavlo.keys("ctrl+7")
    tavlo.wait_spoken("16項目中1項目目")
    assert desktop.settings() == {"Opetion4": 3}
