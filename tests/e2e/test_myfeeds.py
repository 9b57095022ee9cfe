"""マイフィード: the user's own feeds added by address or from a page's feed links, renamed,
reordered, deleted, exchanged as OPML, received and read, with what is new since last time, and
all of it still there after a restart."""
import os
import re
import shutil
import subprocess
import time

import pytest

from harness import ROOT, windows_path

SITE = ROOT / "testing" / "site"
FIXTURES = SITE / "fixtures" / "myfeeds"
BASE = "https://localhost/myfeeds/"
EMPTY = "マイフィードにはフィードがありません。コントロール+Nで追加できます"


@pytest.fixture(scope="module")
def feedsite(tmp_path_factory):
    """The local site serving a copy of the feed fixtures, which the test may change."""
    docroot = tmp_path_factory.mktemp("docroot")
    shutil.copytree(FIXTURES, docroot / "myfeeds")
    state = tmp_path_factory.mktemp("site")
    subprocess.run(["sh", str(SITE / "site.sh"), "start", str(docroot), str(state)], check=True,
                   stdout=subprocess.DEVNULL, timeout=300, env=dict(os.environ, TAVLO_SITE_LIFETIME="1800"))
    yield docroot / "myfeeds"
    subprocess.run(["sh", str(SITE / "site.sh"), "stop", str(state)], stdout=subprocess.DEVNULL, timeout=60)


def dialog(tavlo):
    return tavlo.probe("--dialog").get("dialog") or {}


def wait_dialog(tavlo, title):
    tavlo.wait_for(lambda: dialog(tavlo).get("title") == title, what=f"dialog {title}")
    return dialog(tavlo)


def edit_text(state):
    return next(c for c in state["controls"] if c["id"] == 101)["text"]


def window(tavlo, title):
    return tavlo.desktop.xdotool("search", "--name", f"^{title}$").strip()


def type_text(tavlo, text):
    tavlo.keys("End", "shift+Home", "BackSpace")
    tavlo.desktop.focus_desktop()
    tavlo.desktop.xdotool("type", "--delay", "40", text)


def hears(tavlo, *keys, expect, timeout=20):
    """Presses keys and waits until expect is spoken after them; returns the seconds it took."""
    mark = len(tavlo.spoken())
    start = time.time()
    tavlo.keys(*keys, settle=0.1)
    tavlo.wait_for(lambda: expect in tavlo.spoken()[mark:], timeout, what=f"'{expect}' to be spoken")
    return time.time() - start


def feeds(tavlo):
    return tavlo.view(100)["items"]


def select(tavlo, index):
    tavlo.keys("Home", *(["Down"] * index))
    tavlo.wait_for(lambda: tavlo.view(100)["selection"] == index, what=f"entry {index}")


def open_my_feeds(tavlo, expect=None):
    """From the top menu to the category selection and its last entry, マイフィード."""
    tavlo.keys("Down", "Down", "Return", settle=0.6)
    tavlo.wait_for(lambda: "マイフィード" in feeds(tavlo), what="the category selection")
    if expect:
        hears(tavlo, "End", "Return", expect=expect)
    else:
        tavlo.keys("End", "Return")
        tavlo.wait_for(lambda: "マイフィード" not in feeds(tavlo), what="the feeds")


def add(tavlo, address, expect, name=None):
    tavlo.keys("ctrl+n")
    wait_dialog(tavlo, "フィードの追加")
    type_text(tavlo, address)
    mark = len(tavlo.spoken())
    tavlo.keys("Return", settle=0.2)
    if name is None:
        tavlo.wait_for(lambda: expect in tavlo.spoken()[mark:], 20, what=expect)
        return None
    state = wait_dialog(tavlo, "フィードの名前")
    offered = edit_text(state)
    if name:
        type_text(tavlo, name)
    hears(tavlo, "Return", expect=expect)
    return offered


def receive(tavlo, index, count, new):
    """Enter on feed index; returns the headlines and the seconds from Enter to the count."""
    select(tavlo, index)
    took = hears(tavlo, "Return", expect=f"受信した見出しは{count}件です。新着{new}件", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")
    return tavlo.view(101)["items"], took


def back_to_feeds(tavlo):
    tavlo.keys("BackSpace")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the feeds list")


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_my_feeds_journey(feedsite, tavlo, tmp_path):
    data = tavlo.desktop.data_folder()
    for name in ("MyFeeds.ini", "MyFeeds.ini.bak"):
        (data / name).unlink(missing_ok=True)
    shutil.rmtree(data / "MyFeeds", ignore_errors=True)
    tavlo.start()
    open_my_feeds(tavlo, expect=EMPTY)

    # A feed's address: its own title is offered as the name.
    assert add(tavlo, BASE + "rss2.xml", "「港町ニュース」を追加しました", name="") == "港町ニュース"
    # A page with two feeds: the user chooses the second, an Atom feed in EUC-JP.
    tavlo.keys("ctrl+n")
    wait_dialog(tavlo, "フィードの追加")
    type_text(tavlo, BASE + "page.html")
    hears(tavlo, "Return", expect="2件のフィードが見つかりました。追加するフィードを選んでください")
    wait_dialog(tavlo, "追加するフィードの選択")
    tavlo.keys("Down", "Return")
    assert edit_text(wait_dialog(tavlo, "フィードの名前")) == "川辺の記録"
    hears(tavlo, "Return", expect="「川辺の記録」を追加しました")
    assert add(tavlo, BASE + "rss1.rdf", "「山里だより」を追加しました", name="") == "山里だより"
    # A page without feeds, an address that cannot be reached, one already there.
    add(tavlo, BASE + "none.html", "フィードが見つかりませんでした")
    tavlo.wait_for(lambda: window(tavlo, "フィードの追加"), what="the message box")
    tavlo.keys("Return")
    tavlo.wait_for(lambda: not window(tavlo, "フィードの追加"), what="the message box to close")
    add(tavlo, "https://nosuchhost.invalid/feed.xml", "記事リストの受信ができませんでした")
    add(tavlo, BASE + "rss2.xml", "「港町ニュース」はすでにマイフィードにあります")
    assert feeds(tavlo) == ["港町ニュース", "川辺の記録", "山里だより"]
    assert tavlo.view(100)["selection"] == 0

    # Rename and move up: the selection stays on the feed acted on.
    select(tavlo, 1)
    tavlo.keys("shift+F2")
    assert edit_text(wait_dialog(tavlo, "フィード名の変更")) == "川辺の記録"
    type_text(tavlo, "Kawabe")
    hears(tavlo, "Return", expect="名前を「Kawabe」に変更しました")
    hears(tavlo, "alt+Up", expect="「Kawabe」を1番目に移動しました")
    hears(tavlo, "alt+Up", expect="これ以上上には移動できません")
    assert feeds(tavlo) == ["Kawabe", "港町ニュース", "山里だより"]
    assert tavlo.view(100)["selection"] == 0

    # OPML: nested outlines flattened, the feed already listed skipped.
    tavlo.keys("ctrl+o")
    wait_dialog(tavlo, "マイフィードの読み込み")
    tavlo.desktop.xdotool("type", "--delay", "30", windows_path(feedsite / "import.opml"))
    hears(tavlo, "Return", expect="2件のフィードを読み込みました（1件は登録済み）")
    assert feeds(tavlo) == ["Kawabe", "港町ニュース", "山里だより", "表通り新聞", "壊れたフィード"]

    # Delete, after the confirmation.
    select(tavlo, 2)
    tavlo.keys("Delete")
    tavlo.wait_for(lambda: window(tavlo, "フィードの削除"), what="the confirmation")
    hears(tavlo, "Return", expect="削除しました")
    assert feeds(tavlo) == ["Kawabe", "港町ニュース", "表通り新聞", "壊れたフィード"]
    assert tavlo.view(100)["selection"] == 2

    # Receive: every item with an http(s) address, all of them new the first time.
    headlines, took = receive(tavlo, 1, 3, 3)
    assert all(line.startswith("新 ") or " 新 " in line for line in headlines)
    assert "新しい" in headlines[0] and "市場 & 祭り。" in headlines[1] and "灯台の話" in headlines[2]
    tavlo.keys("Return", settle=1.0)
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the article")
    body = tavlo.view(102)["text"]
    assert "新しい連絡船が着きました" in body and "トップ" not in body
    tavlo.keys("BackSpace")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headlines again")
    back_to_feeds(tavlo)

    # The site adds two items: only they are new.
    feed = feedsite / "rss2.xml"
    text = feed.read_text(encoding="utf-8")
    feed.write_text(text.replace("<item>", "<item><title>朝市の再開</title><link>a4.html</link></item>\n"
                                 "<item><title>夜の花火</title><link>a5.html</link></item>\n<item>", 1),
                    encoding="utf-8")
    headlines, _ = receive(tavlo, 1, 5, 2)
    assert ["新 " in line for line in headlines] == [True, True, False, False, False]
    assert "朝市の再開" in headlines[0]
    back_to_feeds(tavlo)

    # Atom in EUC-JP, RSS 2.0 in Shift_JIS, and a broken feed that still gives its items.
    headlines, _ = receive(tavlo, 0, 2, 2)
    assert "鮎の季節" in headlines[0] and "橋の" in headlines[1] and "修理" in headlines[1]
    back_to_feeds(tavlo)
    headlines, _ = receive(tavlo, 2, 2, 2)
    assert "表参道の十一月" in headlines[0] and "ソース表示の話" in headlines[1]
    back_to_feeds(tavlo)
    headlines, _ = receive(tavlo, 3, 3, 3)
    assert "一つ目 & 二つ目" in headlines[0]
    back_to_feeds(tavlo)

    # Export: OPML 2.0 in UTF-8.
    exported = tmp_path / "feeds.opml"
    tavlo.keys("ctrl+shift+o")
    wait_dialog(tavlo, "マイフィードの書き出し")
    tavlo.desktop.xdotool("type", "--delay", "30", windows_path(exported))
    hears(tavlo, "Return", expect="4件のフィードを書き出しました")
    opml = exported.read_bytes().decode("utf-8")
    assert 'version="2.0"' in opml and "港町ニュース" in opml
    assert re.findall(r'xmlUrl="([^"]+)"', opml) == [
        BASE + "atom.eucjp.xml", BASE + "rss2.xml", BASE + "news.sjis.xml", BASE + "broken.xml"]

    # Stored in the data folder and found again after a restart, with what was seen.
    stored = (data / "MyFeeds.ini").read_bytes().decode("cp932")
    assert stored.count("Parameter2=feed") == 4 and "Parameter1=Kawabe" in stored
    tavlo.kill()
    tavlo.start()
    open_my_feeds(tavlo)
    assert feeds(tavlo) == ["Kawabe", "港町ニュース", "表通り新聞", "壊れたフィード"]
    receive(tavlo, 1, 5, 0)

    # The reception history names the feed and receives it again.
    tavlo.keys("ctrl+F1")
    tavlo.wait_spoken("受信履歴に移動します")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100 and feeds(tavlo)[:1] == ["港町ニュース"], what="the history")
    mark = len(tavlo.spoken())
    tavlo.keys("Return")
    tavlo.wait_for(lambda: any(t.startswith("受信した見出しは5件です") for t in tavlo.spoken()[mark:]), timeout=30,
                   what="the feed received from the history")
    assert "記事リストの受信ができませんでした" not in tavlo.spoken()[mark:]
    print(f"\nEnter to count on the local site: {took:.2f} s (first reception)")
