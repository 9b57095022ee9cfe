"""The commands of the body view and the lists, through real keys: the reading-position
announcements, word wrap stored at once, find forward and backward in the body and in the
headline list, the clipboard copies, save as, the editor hand-over, the title dialog, the keys
that do nothing, and the context menus of each view. The pages come from the local HTTPS site
(testing/site/fixtures/commands)."""
import subprocess
import time

import pytest

from harness import list_category, windows_path

CATEGORIES = list_category("コマンド試験", "https://localhost/commands/index.html")

MENU = """
[Menu1]
ListText1=コマンド試験
MenuName1=commands.txt
Number1=1
"""

KANA = "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわをん。"
# The article as the body view holds it, line by line (the line break after the start marker
# gives the empty first line).
ARTICLE = ["", "東京で会議が開かれました。", "Tavlo reads news aloud.", "会議は明日も続きます。会議の結果は来週。",
           "折り返しの試験に使う長い行です。" + KANA * 4, "The end."]
ADDRESS = "https://localhost/commands/meeting.html"
TITLE = "会議の記事"
HEADLINES = ["1 会議の記事", "2 Plain ASCII news", "3 会議の続報"]
NOT_FOUND = "見つかりませんでした"


def open_headlines(tavlo):
    tavlo.use_menu_file(MENU)
    tavlo.use_category_file("commands.txt", CATEGORIES)
    tavlo.start()
    tavlo.keys("Return")
    tavlo.wait_spoken("受信した見出しは3件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")


def open_article(tavlo):
    tavlo.keys("Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102 and tavlo.view(102)["lineCount"] >= len(ARTICLE),
                   what="the article in the body view")


def says(tavlo, *keys, timeout=10):
    """Presses the keys and returns what is spoken after them (waits for the first text)."""
    mark = len(tavlo.spoken())
    tavlo.keys(*keys, delay=60, settle=0)
    tavlo.wait_for(lambda: len(tavlo.spoken()) > mark, timeout, what=f"speech after {keys}")
    time.sleep(0.2)  # room for a second message that must not come
    return tavlo.spoken()[mark:]


def silent(tavlo, *keys, seconds=1.0):
    mark = len(tavlo.spoken())
    tavlo.keys(*keys, settle=seconds)
    return tavlo.spoken()[mark:] == []


def dialog_title(tavlo):
    state = tavlo.probe("--dialog")
    return (state.get("dialog") or {}).get("title")


def wait_dialog(tavlo, title):
    tavlo.wait_for(lambda: dialog_title(tavlo) == title, what=f"the dialog {title}")


def find(tavlo, text, key="ctrl+f"):
    """Opens the find dialog, puts the search text in as an input method would, then Enter."""
    tavlo.keys(key)
    wait_dialog(tavlo, "検索")
    tavlo.probe("--dialog", "--set-text", "101", text)
    mark = len(tavlo.spoken())
    tavlo.keys("Return")
    tavlo.wait_for(lambda: len(tavlo.spoken()) > mark, what="the search result")
    return tavlo.spoken()[mark:]


def utf16_units(lines):
    """The character count of the body text: each line break is one character of the control."""
    return sum(len(line.encode("utf-16-le")) // 2 for line in lines) + len(lines) - 1


@pytest.mark.settings({"Opetion20": 2, "Opetion19": 0, "Opetion22": 0, "Opetion17": 0})
def test_body_commands_announce_position_lines_counts_and_find(site, tavlo, tmp_path):
    open_headlines(tavlo)
    open_article(tavlo)

    # Position, line and the parts of the line around the caret, Japanese and ASCII.
    assert says(tavlo, "ctrl+Home", "ctrl+7") == ["1行1列"]
    assert says(tavlo, "Down", "ctrl+4") == [ARTICLE[1]]
    assert says(tavlo, "Right", "Right", "Right", "ctrl+5") == ["東京で"]
    assert says(tavlo, "ctrl+6") == ["会議が開かれました。"]
    assert says(tavlo, "ctrl+7") == ["2行4列"]
    assert says(tavlo, "Down", "Home", "Right", "Right", "Right", "Right", "Right", "Right", "ctrl+5") == ["Tavlo "]
    assert says(tavlo, "ctrl+6") == ["reads news aloud."]
    assert says(tavlo, "Home", "ctrl+5") == [""]
    assert says(tavlo, "ctrl+8") == [f"{len(ARTICLE)}行"]
    assert says(tavlo, "ctrl+9") == [f"{utf16_units(ARTICLE)}文字"]

    # F11 wraps the long line at the window edge and stores the choice at once.
    assert says(tavlo, "F11") == ["折り返し表示オン"]
    assert tavlo.desktop.settings()["Opetion19"] == 1
    wrapped = int(says(tavlo, "ctrl+8")[0].rstrip("行"))
    assert wrapped > len(ARTICLE)
    assert says(tavlo, "F11") == ["折り返し表示オフ"]
    assert tavlo.desktop.settings()["Opetion19"] == 0
    assert says(tavlo, "ctrl+8") == [f"{len(ARTICLE)}行"]

    # Find forward from the caret, again, past the last match, and backward.
    tavlo.keys("ctrl+Home")
    assert find(tavlo, "会議") == ["2行4列"]
    assert says(tavlo, "F3") == ["4行1列"]
    assert says(tavlo, "F3") == ["4行12列"]
    assert says(tavlo, "F3") == [NOT_FOUND]
    assert tavlo.view(102)["caretLine"] == 3
    assert says(tavlo, "shift+F3") == ["4行1列"]
    assert says(tavlo, "ctrl+Home", "shift+F3") == [NOT_FOUND]
    # ASCII typed into the dialog, which shows the previous search text first.
    tavlo.keys("ctrl+f")
    wait_dialog(tavlo, "検索")
    box = next(c for c in tavlo.probe("--dialog")["dialog"]["controls"] if c["id"] == 101)
    assert box["text"] == "会議"
    tavlo.keys("ctrl+a")
    tavlo.desktop.xdotool("type", "--delay", "80", "news")
    assert says(tavlo, "Return") == ["3行13列"]

    # The page address, and the title with the address, on the clipboard.
    assert says(tavlo, "ctrl+F11") == ["記事のURLをコピーしました"]
    assert tavlo.probe("--clipboard")["clipboard"] == ADDRESS
    assert says(tavlo, "shift+F11") == ["記事のタイトルとURLをコピーしました"]
    assert tavlo.probe("--clipboard")["clipboard"] == TITLE + "\n" + ADDRESS

    # Save as into a folder with a dot in its name, under a name that ends in ".txt".
    folder = tmp_path / "my.docs"
    folder.mkdir()
    tavlo.keys("ctrl+shift+s")
    wait_dialog(tavlo, "名前を付けて保存")
    tavlo.desktop.xdotool("type", "--delay", "40", windows_path(folder / "news.txt"))
    tavlo.keys("Return", settle=1.0)
    saved = folder / "news.txt"
    tavlo.wait_for(saved.exists, what="the saved file")
    expected = "\n".join(ARTICLE).encode("cp932") + b"\0"
    tavlo.wait_for(lambda: saved.read_bytes() == expected, what="the whole text and its zero byte")

    # The editor hand-over writes Temp.txt in the data folder and opens it.
    temp = tavlo.desktop.data_folder() / "Temp.txt"
    tavlo.keys("ctrl+e", settle=1.0)
    try:
        tavlo.wait_for(lambda: temp.exists() and temp.read_bytes() == expected, what="the editor file")
    finally:
        tavlo.desktop.run(["wine", "taskkill", "/f", "/im", "notepad.exe"])


@pytest.mark.settings({"Opetion20": 1, "Opetion19": 0, "Opetion22": 0, "Opetion17": 0})
@pytest.mark.control({"pctalker_busy_ms": 0})
def test_lists_find_title_context_menus_and_silent_keys(site, tavlo):
    open_headlines(tavlo)

    # Find in the headline list: Shift+F3 does nothing before a search text is kept, F3 asks for
    # one; PC-Talker is told the entry found; there is no wrap-around.
    assert silent(tavlo, "shift+F3")
    assert find(tavlo, "会議", key="F3") == [HEADLINES[2]]
    assert tavlo.view(101)["selection"] == 2
    assert says(tavlo, "F3") == [NOT_FOUND]
    assert tavlo.view(101)["selection"] == 2
    assert says(tavlo, "shift+F3") == [HEADLINES[0]]
    assert says(tavlo, "shift+F3") == [NOT_FOUND]
    assert tavlo.view(101)["selection"] == 0

    # The title dialog shows the entry as the list does, from Shift+T and from the context menu.
    tavlo.keys("shift+t")
    wait_dialog(tavlo, "記事タイトル確認")
    box = next(c for c in tavlo.probe("--dialog")["dialog"]["controls"] if c["id"] == 101)
    assert box["text"] == HEADLINES[0]
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the list again")
    assert says(tavlo, "Menu") == ["メニューオープン"]
    tavlo.keys("t")
    wait_dialog(tavlo, "記事タイトル確認")
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the list again")

    # Keys that do nothing, in the list.
    assert silent(tavlo, "ctrl+2", "ctrl+0", "alt+2", "shift+Return")
    assert tavlo.focus_id() == 101

    # F5 in the list receives it again.
    tavlo.keys("F5")
    tavlo.wait_for(lambda: tavlo.spoken().count("受信した見出しは3件です") == 2, 30, what="the list again")

    # The body's popup: its "記事のURLをコピー(&U)" runs the copy.
    open_article(tavlo)
    assert says(tavlo, "Menu") == ["メニューオープン"]
    assert says(tavlo, "u") == ["記事のURLをコピーしました"]
    assert tavlo.probe("--clipboard")["clipboard"] == ADDRESS
    # F5 in the body receives the article again and reads it on.
    mark = len(tavlo.spoken())
    tavlo.keys("F5")
    tavlo.wait_for(lambda: "終わり" in tavlo.spoken()[mark:], 30, what="the article read again")
    tavlo.wait_reading_ended()
    assert ARTICLE[1] in tavlo.spoken()[mark:]
    # The title dialog is refused in the body; Shift+T is a capital letter there.
    assert silent(tavlo, "shift+t")
    assert dialog_title(tavlo) is None

    # Back to the menu list: its popup, and the folder popup only at level 1.
    tavlo.keys("F4")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the menu list")
    assert says(tavlo, "ctrl+F8") == ["メニューオープン"]
    assert says(tavlo, "Menu") == ["メニューオープン"]
    tavlo.keys("Escape")
    assert tavlo.focus_id() == 100
