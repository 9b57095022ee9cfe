"""Receiving a category's headlines from the local HTTPS site: what is heard, what the headline
list shows, and what happens when pages fail or receptions overlap."""
import time

import pytest


H = "https://localhost/headlines/"


def category(n, **parameters):
    lines = [f"[Category{n}]"]
    lines += [f"Parameter{k[1:]}={v}" for k, v in sorted(parameters.items(), key=lambda kv: int(kv[0][1:]))]
    return "\n".join(lines) + "\n"


def p(**values):
    """Parameters by number: p(p1="name", p3="address") -> {"p1": ..., "p3": ...}."""
    return values


LIST = p(p1="一覧", p2="https://localhost/", p3=H + "list.sjis.html", p4='<div id="list">', p5="</div>",
         p6='<li><a href="', p7='"', p15=H + "more.html")
FEED = p(p1="フィード", p2="rss", p3=H + "feed.xml", p4="<item", p5="</channel>", p6="<link>", p7="</link>",
         p12="1", p17="<title>", p18="</title>")
MANY = p(p1="多数", p2="https://localhost/", p3=H + "many.html", p4='<div id="list">', p5="</div>",
         p6='<li><a href="', p7='"', p12="1", p15=H + "more.html")
RADIO = p(p1="ラジオ", p2="radio", p3=H + "radio.html", p4='<div id="list">', p5="</div>",
          p8="<name>", p9="</name>", p6="<url>", p7=".mp3", p12="1")
QUICK_A = p(p1="カテゴリーA", p2="https://localhost/", p3="https://localhost/_fault/slow/headlines/quickA.html?delay=0.3",
            p4='<div id="list">', p5="</div>", p6='<li><a href="', p7='"', p12="1")
QUICK_B = dict(QUICK_A, p1="カテゴリーB", p3=H + "quickB.html")
BROKEN = p(p1="届かない", p2="https://localhost/", p3="")
SLOW = dict(MANY, p1="遅い一覧", p3="https://localhost/_fault/slow/headlines/many.html?delay=0.5", p15="")

CATEGORIES = "".join(category(n, **{k: v for k, v in params.items()})
                     for n, params in [(1, LIST), (2, FEED), (3, MANY), (4, RADIO), (5, QUICK_A), (6, QUICK_B),
                                       (7, BROKEN), (8, SLOW)])

MENU = """
[Menu1]
ListText1=一覧
MenuName1=cats.txt
Number1=1
ListText2=フィード
MenuName2=cats.txt
Number2=2
ListText3=多数
MenuName3=cats.txt
Number3=3
ListText4=ラジオ
MenuName4=cats.txt
Number4=4
ListText5=カテゴリーA
MenuName5=cats.txt
Number5=5
ListText6=カテゴリーB
MenuName6=cats.txt
Number6=6
ListText7=届かない
MenuName7=cats.txt
Number7=7
ListText8=節のないカテゴリー
MenuName8=cats.txt
Number8=99
ListText9=遅い一覧
MenuName9=cats.txt
Number9=8
"""

PCTALKER = {"Opetion20": 1, "Opetion16": 1}


@pytest.fixture(scope="module", autouse=True)
def serve(site):
    """Every test of this file receives from the local site."""
    return site


def install_categories(tavlo):
    (tavlo.folder / "News" / "cats.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))


def receive(tavlo, position, count_text):
    """Enter on the top-menu entry at position; waits for the count announcement."""
    install_categories(tavlo)
    before = len(tavlo.spoken())
    tavlo.keys(*(["Down"] * position), "Return")
    tavlo.wait_for(lambda: count_text in tavlo.spoken()[before:], timeout=30, what=count_text)
    time.sleep(1.0)  # the first title follows the count after its delay
    return tavlo.spoken()[before:]


def headlines(tavlo):
    return tavlo.view(101)


@pytest.mark.settings(PCTALKER)
@pytest.mark.menu(MENU)
def test_enter_receives_cleans_numbers_and_continues_on_the_second_page(tavlo):
    tavlo.start()
    heard = receive(tavlo, 0, "受信した見出しは5件です")
    # Shift-JIS first page, UTF-8 second page with Parameter12 empty: both read right.
    assert heard == ["一覧を受信", "受信した見出しは5件です", "TokyoStocks：上昇"]
    listed = headlines(tavlo)
    assert listed["items"] == ["1 TokyoStocks：上昇", "2 大雨警報", "3 三番目の見出し",
                               "4 二ページ目の見出し", "5 二ページ目：最後"]
    assert listed["selection"] == 0
    assert tavlo.focus_id() == 101

    # F5 receives it again, the same.
    before = len(tavlo.spoken())
    tavlo.keys("F5")
    tavlo.wait_for(lambda: tavlo.spoken()[before:].count("受信した見出しは5件です") == 1, timeout=30,
                   what="the reload")
    assert headlines(tavlo)["items"] == listed["items"]


@pytest.mark.settings({"Opetion20": 2, "Opetion16": 0})
@pytest.mark.menu(MENU)
def test_rss_feed_under_nvda_unnumbered(tavlo):
    tavlo.start()
    heard = receive(tavlo, 1, "受信した見出しは2件です")
    assert "フィードを受信" in heard
    assert headlines(tavlo)["items"] == ["フィードの一番目", "フィード：二番目"]


@pytest.mark.settings(PCTALKER)
@pytest.mark.menu(MENU)
def test_a_long_first_page_leaves_no_room_for_the_second_and_radio_stops_at_100(tavlo):
    tavlo.start()
    receive(tavlo, 2, "受信した見出しは260件です")
    items = headlines(tavlo)["items"]
    assert len(items) == 260 and items[-1] == "260 多数の見出し260"

    tavlo.keys("BackSpace")
    heard = receive(tavlo, 1, "受信した見出しは100件です")  # from 多数 one down: ラジオ
    assert heard == ["ラジオを受信", "受信した見出しは100件です"]  # no first title for radio
    items = headlines(tavlo)["items"]
    assert len(items) == 100 and items[0] == "放送局 1" and items[-1] == "放送局 100"  # uncleaned


@pytest.mark.settings(PCTALKER)
@pytest.mark.menu(MENU)
def test_a_list_page_that_cannot_be_received_leaves_an_empty_list(tavlo):
    tavlo.start()
    receive(tavlo, 0, "受信した見出しは5件です")
    tavlo.keys("BackSpace")
    heard = receive(tavlo, 6, "記事リストの受信ができませんでした")
    assert heard == ["届かないを受信", "記事リストの受信ができませんでした"]
    assert headlines(tavlo)["count"] == 0
    assert tavlo.focus_id() == 101

    # A menu entry whose category section is missing fails the same way.
    tavlo.keys("BackSpace")
    heard = receive(tavlo, 1, "記事リストの受信ができませんでした")
    assert heard == ["を受信", "記事リストの受信ができませんでした"]


@pytest.mark.settings(PCTALKER)
@pytest.mark.menu(MENU)
def test_receptions_in_quick_succession_leave_the_list_of_the_last(tavlo):
    tavlo.start()
    install_categories(tavlo)
    tavlo.keys("Down", "Down", "Down", "Down")  # カテゴリーA, whose page arrives slowly
    for _ in range(10):
        tavlo.keys("Return", "BackSpace", "Down", "Return", "BackSpace", "Up", delay=60, settle=0)
    tavlo.keys("Down", "Return", settle=0)  # カテゴリーB last
    tavlo.wait_for(lambda: tavlo.spoken()[-2:] == ["受信した見出しは40件です", "カテゴリーBの見出し1"], timeout=40,
                   what="the last reception's announcement")
    # Let any earlier slow reception finish its download and make sure it changed nothing.
    time.sleep(4)
    items = headlines(tavlo)["items"]
    assert items == [f"{i} カテゴリーBの見出し{i}" for i in range(1, 41)]
    assert headlines(tavlo)["selection"] == 0
    assert tavlo.spoken()[-2:] == ["受信した見出しは40件です", "カテゴリーBの見出し1"]
    assert tavlo.process.poll() is None


@pytest.mark.settings(PCTALKER)
@pytest.mark.menu(MENU)
def test_fifty_quick_reloads_of_a_slow_page_keep_the_threads_few(tavlo):
    """F5 held against a page that takes eight seconds: each reload supersedes the one before,
    which stops its download; the threads stay few and the last reload's list is heard."""
    tavlo.start()
    install_categories(tavlo)
    before = tavlo.probe()["threads"]
    tavlo.keys(*(["Down"] * 8), "Return")
    tavlo.wait_spoken("遅い一覧を受信")
    tavlo.keys(*(["F5"] * 50), delay=40, settle=0)
    during = tavlo.probe()["threads"]
    tavlo.wait_spoken("受信した見出しは260件です", timeout=60)
    assert tavlo.spoken().count("受信した見出しは260件です") == 1
    assert headlines(tavlo)["count"] == 260
    after = tavlo.wait_for(lambda: (lambda n: n if n <= before + 2 else None)(tavlo.probe()["threads"]),
                           timeout=20, what="the threads to wind down")
    print(f"[ measured ] threads {before} before, {during} after fifty reloads, {after} at the end")
    assert during <= before + 6
