"""The scrapbook: articles saved from a feed whose titles are hostile, browsed, read, edited,
moved and deleted, and the folders added, renamed and deleted, with every failure heard as a
failure and nothing lost. The feed and the article come from the local HTTPS site
(testing/site/fixtures/scrapbook, Shift-JIS as it is)."""
import os
import shutil
import stat

import pytest

CATEGORIES = """
[Category1]
Parameter1=スクラップ試験
Parameter2=rss
Parameter3=https://localhost/scrapbook/feed.xml
Parameter4=<item
Parameter5=</channel>
Parameter6=<link>
Parameter7=</link>
Parameter8=<div class="article-body">
Parameter9=<!-- /article-body -->
Parameter12=2
Parameter17=<title>
Parameter18=</title>
"""

MENU = """
[Menu1]
ListText1=スクラップ試験
MenuName1=scrap.txt
Number1=1
ListText2=受信履歴
Number2=603
ListText3=予備
MenuName3=scrap.txt
Number3=1
ListText4=予備
MenuName4=scrap.txt
Number4=1
ListText5=お気に入り
Number5=604
ListText6=スクラップブック
Number6=606
"""

# The feed's titles as the headline list gets them (colons become full-width on the way in, long
# titles are cut to 255 bytes), and the file each is saved as (titles cut to 160 bytes).
SAVED = {
    "保存する記事": "保存する記事.txt",
    "..\\..\\..\\evil1": "．．＼．．＼．．＼evil1.txt",
    "../../evil2": "．．／．．／evil2.txt",
    "CON": "CON_.txt",
    "C：\\evil3": "C：＼evil3.txt",
    "\x81/evil4": "・evil4.txt",  # the edit box reads the broken pair as one character
    "a" + "長" * 127: "a" + "長" * 79 + ".txt",
}
BODY = ["一行目の本文です。", "二行目の本文です。"]
FEED_COUNT = 7
SETTINGS = {"Opetion20": 2, "Opetion22": 0, "Opetion16": 1}


def lines(text):
    return [line for line in text.replace("\r\n", "\n").replace("\r", "\n").split("\n") if line]


def window(tavlo, title):
    return tavlo.desktop.xdotool("search", "--name", f"^{title}$").strip()


def dialog(tavlo):
    state = tavlo.probe("--dialog")
    return state.get("dialog") or {}


def control(state, control_id):
    return next(c for c in state["controls"] if c["id"] == control_id)


def wait_dialog(tavlo, title):
    tavlo.wait_for(lambda: dialog(tavlo).get("title") == title, what=f"dialog {title}")
    return dialog(tavlo)


def wait_closed(tavlo, title):
    tavlo.wait_for(lambda: not window(tavlo, title), what=f"{title} to close")


def heard_once_more(tavlo, text, before, timeout=15):
    tavlo.wait_for(lambda: tavlo.spoken().count(text) > before, timeout, what=f"'{text}' to be spoken")


def type_text(tavlo, text):
    """Replaces the text of the focused one-line edit box with ASCII text."""
    tavlo.keys("End", "shift+Home", "BackSpace")
    tavlo.desktop.focus_desktop()
    tavlo.desktop.xdotool("type", "--delay", "60", text)


def scrapbook(desktop):
    return desktop.data_folder() / "ScrapBook"


def fresh_scrapbook(desktop):
    """The scrapbook as a first start leaves it (the Wine prefix is shared by the tests)."""
    root = scrapbook(desktop)
    shutil.rmtree(root, ignore_errors=True)
    (root / "ScrapBook").mkdir(parents=True)
    return root


def files_outside(desktop):
    """Every file under the Wine drive, outside the scrapbook tree, that a saved title could
    have made."""
    drive = desktop.workdir / "wineprefix" / "drive_c"
    marks = ("evil", "長", "保存する記事", "CON_")
    found = []
    for folder, _, names in os.walk(drive):
        found += [os.path.join(folder, name) for name in names if any(m in name for m in marks)]
    return [path for path in found if not path.startswith(str(scrapbook(desktop)))]


def start_with_feed(tavlo):
    tavlo.use_menu_file(MENU)
    (tavlo.folder / "News" / "scrap.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))
    tavlo.start()
    tavlo.keys("Return")
    tavlo.wait_spoken(f"受信した見出しは{FEED_COUNT}件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")


def save_shown_article(tavlo, check_title=None):
    """Ctrl+S in the body view and Enter in the save dialog; with check_title, what the dialog
    offers is checked first."""
    before = tavlo.spoken().count("保存しました")
    tavlo.keys("ctrl+s")
    tavlo.wait_for(lambda: window(tavlo, "スクラップブック保存"), what="the save dialog")
    if check_title:
        state = wait_dialog(tavlo, "スクラップブック保存")
        assert control(state, 101)["text"] == check_title
        folders = control(state, 102)
        assert folders["items"][folders["selection"]] == "ScrapBook"
    tavlo.keys("Return")
    heard_once_more(tavlo, "保存しました", before)
    wait_closed(tavlo, "スクラップブック保存")


@pytest.mark.settings(SETTINGS)
def test_hostile_titles_are_saved_inside_the_scrapbook_and_the_article_is_read_edited_moved_deleted(
        site, tavlo, desktop):
    default = fresh_scrapbook(desktop) / "ScrapBook"
    other = scrapbook(desktop) / "other"
    other.mkdir()
    start_with_feed(tavlo)

    # Every headline opened and saved under its own title into the default folder. The article
    # is received on the window thread, so the keys after Enter wait for it.
    for position in range(FEED_COUNT):
        tavlo.keys("Return")
        save_shown_article(tavlo, "保存する記事" if position == 0 else None)
        tavlo.keys("Escape", "Down")
    assert files_outside(desktop) == []
    saved = sorted(p.name for p in default.iterdir())
    for title, name in SAVED.items():
        assert name in saved, title
    assert len(saved) == FEED_COUNT
    assert max(len(name.encode("cp932")) for name in saved) <= 164
    article = (default / "保存する記事.txt").read_bytes()
    assert article.endswith(b"\x00") and not article.endswith(b"\x00\x00")
    assert lines(article[:-1].decode("cp932")) == BODY

    # F8: the default folder's articles, numbered; the saved one read aloud from the body view.
    tavlo.keys("F8")
    tavlo.wait_spoken("既定のスクラップブックに移動します")
    entries = tavlo.view(101)["items"]
    assert sorted(e.split(" ", 1)[1] + ".txt" for e in entries) == saved
    assert [e.split(" ", 1)[0] for e in entries] == [str(i + 1) for i in range(FEED_COUNT)]
    position = next(i for i, e in enumerate(entries) if e.endswith(" 保存する記事"))
    tavlo.keys(*(["Down"] * position), "Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the saved article")
    assert lines(tavlo.view(102)["text"]) == BODY
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+1")  # read from the top
    tavlo.wait_for(lambda: "終わり" in tavlo.spoken()[mark:], timeout=30, what="the reading to end")
    tavlo.wait_reading_ended()
    assert [t for t in tavlo.spoken()[mark:] if t in BODY] == BODY

    # Ctrl+F9: a new title; the file is renamed with it and the entry keeps its number.
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the article list")
    tavlo.keys("ctrl+F9")
    state = wait_dialog(tavlo, "スクラップブック編集")
    assert control(state, 101)["text"] == "保存する記事"
    type_text(tavlo, "edited.1")
    before = tavlo.spoken().count("変更を保存しました")
    tavlo.keys("Return")
    heard_once_more(tavlo, "変更を保存しました", before)
    assert not (default / "保存する記事.txt").exists()
    assert (default / "edited．1.txt").read_bytes() == article
    assert tavlo.view(101)["items"][position] == f"{position + 1} edited．1"

    # Shift+F9 into a folder that already holds an article of that name: refused, heard, kept.
    (other / "edited．1.txt").write_bytes(b"older\x00")
    tavlo.keys("shift+F9")
    state = wait_dialog(tavlo, "別のフォルダに移動")
    target = control(state, 101)["items"].index("other")
    tavlo.keys(*(["Down"] * (target - control(state, 101)["selection"])), "Return")
    tavlo.wait_spoken("移動に失敗しました")
    assert "移動しました" not in tavlo.spoken()
    assert (default / "edited．1.txt").read_bytes() == article
    assert (other / "edited．1.txt").read_bytes() == b"older\x00"

    # Again once the name is free: moved, and the list loses the entry.
    (other / "edited．1.txt").unlink()
    tavlo.keys("shift+F9")
    state = wait_dialog(tavlo, "別のフォルダに移動")
    tavlo.keys(*(["Down"] * (target - control(state, 101)["selection"])), "Return")
    tavlo.wait_spoken("移動しました")
    assert not (default / "edited．1.txt").exists()
    assert (other / "edited．1.txt").read_bytes() == article
    assert len(tavlo.view(101)["items"]) == FEED_COUNT - 1

    # Ctrl+Delete on an article that cannot be deleted (read-only): heard as a failure, kept.
    victim = default / "CON_.txt"
    victim.chmod(stat.S_IRUSR)
    position = next(i for i, e in enumerate(tavlo.view(101)["items"]) if e.endswith(" CON_"))
    tavlo.keys(*(["Up"] * FEED_COUNT), *(["Down"] * position), "ctrl+Delete")
    tavlo.wait_for(lambda: window(tavlo, "削除確認"), what="the question")
    tavlo.keys("Return")
    tavlo.wait_spoken("削除に失敗しました")
    assert victim.exists()
    victim.chmod(stat.S_IRUSR | stat.S_IWUSR)
    tavlo.keys("ctrl+Delete")
    tavlo.wait_for(lambda: window(tavlo, "削除確認"), what="the question again")
    tavlo.keys("Return")
    tavlo.wait_spoken("削除しました")
    assert not victim.exists()
    assert len(tavlo.view(101)["items"]) == FEED_COUNT - 2


@pytest.mark.settings({"Opetion20": 1, "Opetion22": 0})
def test_folders_are_added_renamed_and_deleted_from_the_folder_list(tavlo, desktop):
    root = fresh_scrapbook(desktop)
    full = root / "full"
    full.mkdir()
    for name in ("a.txt", "b.txt", "c.txt"):
        (full / name).write_bytes(b"x\x00")
    mixed = root / "mixed"
    mixed.mkdir()
    (mixed / "kept.txt").write_bytes(b"kept\x00")
    (mixed / "picture.png").write_bytes(b"png")
    tavlo.start()

    def folders():
        return tavlo.view(100)["items"]

    def select(name):
        items = folders()
        tavlo.keys(*(["Up"] * len(items)), *(["Down"] * items.index(name)))

    def folder_menu(key):
        tavlo.keys("ctrl+F8")
        tavlo.wait_spoken("メニューオープン")
        tavlo.keys(key)

    tavlo.keys("shift+F8")
    tavlo.wait_spoken("スクラップブックのフォルダ一覧に移動します")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the folder list")
    assert sorted(folders()) == ["ScrapBook", "full", "mixed"]

    # Add: a name that would leave the root is refused and the dialog stays; a good one is made.
    folder_menu("n")
    wait_dialog(tavlo, "新しいフォルダの作成")
    type_text(tavlo, "..\\escape")
    tavlo.keys("Return")
    tavlo.wait_spoken("フォルダの作成に失敗しました")
    assert dialog(tavlo).get("title") == "新しいフォルダの作成"
    type_text(tavlo, "added")
    tavlo.keys("Return")
    wait_closed(tavlo, "新しいフォルダの作成")
    assert (root / "added").is_dir() and not (root.parent / "escape").exists()
    tavlo.wait_for(lambda: "added" in folders(), what="the new folder in the list")

    # Rename: the default folder is protected; another is renamed.
    select("ScrapBook")
    folder_menu("r")
    tavlo.wait_for(lambda: window(tavlo, "変更エラー"), what="the rename refusal")
    tavlo.keys("Return")
    wait_closed(tavlo, "変更エラー")
    select("added")
    folder_menu("r")
    state = wait_dialog(tavlo, "フォルダ名の変更")
    assert control(state, 101)["text"] == "added"
    type_text(tavlo, "renamed")
    tavlo.keys("Return")
    wait_closed(tavlo, "フォルダ名の変更")
    tavlo.wait_for(lambda: "renamed" in folders(), what="the renamed folder")
    assert (root / "renamed").is_dir() and not (root / "added").exists()

    # Delete: a folder of articles goes with them; one holding another file stays whole.
    select("full")
    folder_menu("d")
    tavlo.wait_for(lambda: window(tavlo, "フォルダの削除確認"), what="the question")
    tavlo.keys("Return")
    tavlo.wait_spoken("削除しました")
    assert not full.exists()
    tavlo.wait_for(lambda: "full" not in folders(), what="the list without the folder")
    select("mixed")
    folder_menu("d")
    tavlo.wait_for(lambda: window(tavlo, "フォルダの削除確認"), what="the question again")
    tavlo.keys("Return")
    tavlo.wait_spoken("フォルダの削除に失敗しました")
    assert (mixed / "kept.txt").read_bytes() == b"kept\x00" and (mixed / "picture.png").exists()
    assert "mixed" in folders()


@pytest.mark.settings(SETTINGS)
def test_leaving_the_scrapbook_gives_the_lists_back_their_menu_and_headlines(site, tavlo, desktop):
    root = fresh_scrapbook(desktop)
    (root / "ScrapBook" / "kept.txt").write_bytes(b"kept\x00")
    start_with_feed(tavlo)
    headlines = tavlo.view(101)["items"]

    # F8 lists the default folder's articles; F2 leaves the scrapbook, and the headline list holds
    # the headlines again, so Enter there opens the headline it reads.
    tavlo.keys("F8")
    tavlo.wait_for(lambda: tavlo.view(101)["items"] == ["1 kept"], what="the folder's articles")
    tavlo.keys("F2")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the favorites")
    assert tavlo.view(101)["items"] == headlines

    # Ctrl+Backspace from the folder's articles back to the top menu: Enter on its first entry
    # receives that category instead of opening the first folder.
    tavlo.keys("F8")
    tavlo.wait_for(lambda: tavlo.view(101)["items"] == ["1 kept"], what="the folder's articles again")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the article list")
    tavlo.keys("ctrl+BackSpace")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the top menu")
    assert tavlo.view(100)["items"][0] == "スクラップ試験"
    before = tavlo.spoken().count(f"受信した見出しは{FEED_COUNT}件です")
    mark = len(tavlo.spoken())
    tavlo.keys("Home", "Return")
    heard_once_more(tavlo, f"受信した見出しは{FEED_COUNT}件です", before, timeout=30)
    assert "スクラップブック" not in tavlo.spoken()[mark:]
    assert tavlo.view(101)["items"] == headlines


@pytest.mark.settings(SETTINGS)
def test_a_folder_made_in_the_save_dialog_leaves_the_folder_list_opening_what_it_reads(site, tavlo, desktop):
    root = fresh_scrapbook(desktop)
    for name in ("f1", "f2", "f3", "f4"):
        (root / name).mkdir()
        (root / name / f"in_{name}.txt").write_bytes(name.encode() + b"\x00")
    start_with_feed(tavlo)
    tavlo.keys("Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, timeout=30, what="the article")
    tavlo.keys("shift+F8")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the folder list")
    listed = tavlo.view(100)["items"]
    tavlo.keys("Tab")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")
    tavlo.keys("Tab")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")

    # New folders from the save dialog until one of them is listed before a folder of the list.
    tavlo.keys("ctrl+s")
    wait_dialog(tavlo, "スクラップブック保存")
    shifted = None
    for new in ("a0", "m0", "z0", "b9", "q5"):
        tavlo.keys("Tab", "Tab", "space")
        wait_dialog(tavlo, "新しいフォルダの作成")
        type_text(tavlo, new)
        tavlo.keys("Return")
        wait_closed(tavlo, "新しいフォルダの作成")
        boxed = tavlo.wait_for(lambda: new in (control(wait_dialog(tavlo, "スクラップブック保存"), 102)["items"])
                               and control(wait_dialog(tavlo, "スクラップブック保存"), 102)["items"],
                               what="the new folder in the dialog")
        shifted = next((i for i, name in enumerate(listed) if boxed[i] != name), None)
        if shifted is not None:
            break
        tavlo.keys("shift+Tab")  # back to the title box
    assert shifted is not None, "no new folder was listed before another"
    tavlo.keys("Escape")
    wait_closed(tavlo, "スクラップブック保存")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view again")

    # The folder list still reads as it did, and opens the folder it reads.
    tavlo.keys("F4")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the folder list again")
    assert tavlo.view(100)["items"] == listed
    target = listed[shifted]
    tavlo.keys(*(["Down"] * shifted), "Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the folder's articles")
    expected = ["1 in_" + target] if target != "ScrapBook" else []
    assert tavlo.view(101)["items"] == expected
