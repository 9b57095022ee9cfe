"""The chain of related pages behind an article: the link list, opening a link as news, as full
text or in the browser, going back page by page and to the article, reload at any depth, a dead
link, and the deepest level. The pages come from the local HTTPS site
(testing/site/fixtures/related)."""
import time

import pytest

from harness import list_category

# The related pages are cut by markers of their own.
CATEGORIES = list_category("関連試験", "https://localhost/related/index.html") + """
Parameter13=<div class="related-body">
Parameter14=<!-- /related-body -->
"""

# The relative link "../related/level1.html" joins the whole base "https://localhost/" with two
# slashes at the seam; naming localhost as the goo news host makes the program repair them.
MENU = """
[Sources]
GooNews=localhost
[Menu1]
ListText1=関連試験
MenuName1=related.txt
Number1=1
"""

SETTINGS = {"Opetion20": 2, "Opetion22": 0, "Opetion17": 0}
LINKS = ["一段目の記事", "届かない記事", "ブラウザ用", "ファイルへのリンク"]
DEEPER = "これより深い関連ページは開けません"


def lines(text):
    return [line for line in text.replace("\r\n", "\n").replace("\r", "\n").split("\n") if line]


def body(tavlo):
    return tavlo.view(102)["text"]


def open_article(tavlo):
    tavlo.use_menu_file(MENU)
    (tavlo.folder / "News" / "related.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))
    tavlo.start()
    tavlo.keys("Return")
    tavlo.wait_spoken("受信した見出しは1件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")
    tavlo.keys("Return", settle=1.0)
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, timeout=30, what="the article")


def link_dialog(tavlo):
    """The link list in front: its list box's items and selection, or None."""
    state = tavlo.probe("--dialog")
    dialog = state.get("dialog")
    if not dialog or dialog["title"] != "関連リンク一覧":
        return None
    return next(c for c in dialog["controls"] if c["id"] == 101)


def open_links(tavlo):
    tavlo.keys("ctrl+l")
    return tavlo.wait_for(lambda: link_dialog(tavlo), what="the link list")


def wait_read(tavlo, mark):
    """Waits until the reading that a shown page starts has ended ("終わり" after mark, and the
    program no longer reading)."""
    tavlo.wait_for(lambda: "終わり" in tavlo.spoken()[mark:], timeout=30, what="the reading to end")
    tavlo.wait_reading_ended()


def follow(tavlo, downs=0, button_tabs=0):
    """Opens the link list, picks the link downs lines down and presses the button button_tabs
    tabs after the list (0: Enter, the default button "ニュースとして表示")."""
    mark = len(tavlo.spoken())
    open_links(tavlo)
    tavlo.keys(*(["Down"] * downs))
    if button_tabs:
        tavlo.keys(*(["Tab"] * button_tabs), "space")
    else:
        tavlo.keys("Return")
    return mark


def depth(tavlo):
    mark = len(tavlo.spoken())
    tavlo.keys("alt+7")
    return tavlo.wait_for(lambda: tavlo.spoken()[mark:], what="the depth")[0]


def message_box_open(tavlo):
    return bool(tavlo.desktop.xdotool("search", "--name", "^受信エラー$").split())


@pytest.mark.settings(SETTINGS)
def test_links_open_level_by_level_and_backspace_restores_each_page(site, tavlo, browser):
    open_article(tavlo)
    article = body(tavlo)
    assert lines(article)[0] == "元記事の本文です。"

    items = open_links(tavlo)
    assert items["items"] == LINKS and items["selection"] == 0
    tavlo.keys("Escape")  # cancel changes nothing
    tavlo.wait_for(lambda: link_dialog(tavlo) is None, what="the link list to close")
    assert body(tavlo) == article and depth(tavlo) == "ニュース本文です。"

    wait_read(tavlo, follow(tavlo))  # Enter: as news, cut by the related-page markers
    level1 = body(tavlo)
    assert lines(level1) == ["一段目の本文です。", "二段目の記事"]
    assert "GET\t/related/level1.html\t" in (site / "requests.log").read_text(encoding="utf-8")
    assert depth(tavlo) == "関連ページ1階層目です。"
    assert open_links(tavlo)["items"] == ["二段目の記事"]
    tavlo.keys("Return")
    tavlo.wait_for(lambda: "二段目の本文です。" in body(tavlo), timeout=30, what="level 2")
    level2 = body(tavlo)
    tavlo.wait_for(lambda: tavlo.spoken().count("終わり") >= 2, timeout=30, what="the reading to end")
    tavlo.wait_reading_ended()

    # F5 at any depth receives the page shown once more, one level deeper.
    mark = len(tavlo.spoken())
    tavlo.keys("F5")
    wait_read(tavlo, mark)
    assert body(tavlo) == level2 and depth(tavlo) == "関連ページ3階層目です。"

    for said, text in [("前の関連ページに戻る", level2), ("前の関連ページに戻る", level1),
                       ("ニュース本文に戻る", article)]:
        mark = len(tavlo.spoken())
        tavlo.keys("BackSpace")
        tavlo.wait_for(lambda: said in tavlo.spoken()[mark:], what=said)
        assert body(tavlo) == text
    assert depth(tavlo) == "ニュース本文です。"

    wait_read(tavlo, follow(tavlo))
    wait_read(tavlo, follow(tavlo))
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+BackSpace")
    tavlo.wait_for(lambda: "ニュース本文に戻る" in tavlo.spoken()[mark:], what="back to the article")
    assert body(tavlo) == article and depth(tavlo) == "ニュース本文です。"

    # Full text: nothing is cut by the markers.
    wait_read(tavlo, follow(tavlo, button_tabs=2))
    assert "枠の外の文です。" in lines(body(tavlo))
    tavlo.keys("BackSpace")
    tavlo.wait_for(lambda: body(tavlo) == article, what="the article again")

    # The browser gets web addresses only; the level stays.
    follow(tavlo, downs=2, button_tabs=3)
    tavlo.wait_for(lambda: browser.exists() and browser.read_text().strip(), timeout=20, what="the browser")
    assert browser.read_text().split() == ["https://localhost/related/web.html"]
    mark = follow(tavlo, downs=3, button_tabs=3)
    tavlo.wait_spoken("このアドレスはブラウザで開けません")
    time.sleep(1)
    assert browser.read_text().split() == ["https://localhost/related/web.html"]
    assert body(tavlo) == article and depth(tavlo) == "ニュース本文です。"

    # A dead link: the error box, and the page and the level stay.
    follow(tavlo, downs=1)
    tavlo.wait_for(lambda: message_box_open(tavlo), timeout=30, what="the error box")
    tavlo.keys("Return")
    tavlo.wait_for(lambda: not message_box_open(tavlo), what="the error box to close")
    assert body(tavlo) == article and depth(tavlo) == "ニュース本文です。"


@pytest.mark.settings(SETTINGS)
def test_the_chain_stops_at_the_deepest_level(site, tavlo):
    open_article(tavlo)
    wait_read(tavlo, follow(tavlo))
    for _ in range(28):  # each reload goes one level deeper: related page 29 is the deepest
        mark = len(tavlo.spoken())
        tavlo.keys("F5")
        wait_read(tavlo, mark)
    assert depth(tavlo) == "関連ページ29階層目です。"
    shown = body(tavlo)

    mark = len(tavlo.spoken())
    tavlo.keys("F5")
    tavlo.wait_for(lambda: DEEPER in tavlo.spoken()[mark:], what="the refusal")
    follow(tavlo)
    tavlo.wait_for(lambda: tavlo.spoken().count(DEEPER) >= 2, what="the refusal of a link")
    assert body(tavlo) == shown and depth(tavlo) == "関連ページ29階層目です。"
    assert tavlo.process.poll() is None
