"""Opening articles from the headline list: the cleaned body in the body view, the browser
offered for a page without a body, a download that fails, continuation pages and the weather
forecast. The pages come from the local HTTPS site (testing/site/fixtures/articles)."""
import time

import pytest



CATEGORY = """
[Category{n}]
Parameter1={name}
Parameter2={source}
Parameter3={list}
Parameter4={area_start}
Parameter5={area_end}
Parameter6={item_start}
Parameter7={item_end}
Parameter8=<div class="article-body">
Parameter9=<!-- /article-body -->
Parameter10=【広告】
Parameter11=【広告ここまで】
Parameter12=1
Parameter17=<title>
Parameter18=</title>
"""

CATEGORIES = "".join([
    CATEGORY.format(n=1, name="記事試験", source="https://localhost/",
                    list="https://localhost/articles/index.html", area_start='<ul class="headlines">',
                    area_end="</ul>", item_start='<li><a href="', item_end='"'),
    CATEGORY.format(n=2, name="分割記事", source="rss", list="https://localhost/articles/feed.xml",
                    area_start="<item", area_end="</channel>", item_start="<link>", item_end="</link>"),
    CATEGORY.format(n=3, name="天気", source="https://localhost/tenki/",
                    list="https://localhost/articles/weather.html", area_start='<ul class="headlines">',
                    area_end="</ul>", item_start='<li><a href="', item_end='"'),
    CATEGORY.format(n=4, name="遅い記事", source="https://localhost/",
                    list="https://localhost/articles/trickle.html", area_start='<ul class="headlines">',
                    area_end="</ul>", item_start='<li><a href="', item_end='"'),
    CATEGORY.format(n=5, name="書式記事", source="https://localhost/",
                    list="https://localhost/articles/rtf-list.html", area_start='<ul class="headlines">',
                    area_end="</ul>", item_start='<li><a href="', item_end='"'),
])

MENU = """
[Sources]
YahooNewsHost=https://localhost
Weather=https://localhost/tenki/
[Menu1]
ListText1=記事試験
MenuName1=articles.txt
Number1=1
ListText2=分割記事
MenuName2=articles.txt
Number2=2
ListText3=天気
MenuName3=articles.txt
Number3=3
ListText4=遅い記事
MenuName4=articles.txt
Number4=4
ListText5=書式記事
MenuName5=articles.txt
Number5=5
"""


def lines(text):
    return text.replace("\r\n", "\n").replace("\r", "\n").split("\n")


def open_category(tavlo, position, count):
    tavlo.use_menu_file(MENU)
    (tavlo.folder / "News" / "articles.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))
    tavlo.start()
    tavlo.keys(*(["Down"] * position), "Return")
    tavlo.wait_spoken(f"受信した見出しは{count}件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")


def open_headline(tavlo, downs=0):
    tavlo.keys(*(["Down"] * downs), "Return", settle=1.0)


def message_box_open(tavlo):
    return bool(tavlo.desktop.xdotool("search", "--name", "^受信エラー$").split())


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_enter_shows_the_cleaned_article_and_backspace_returns(site, tavlo):
    open_category(tavlo, 0, 3)
    open_headline(tavlo)
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")
    body = tavlo.view(102)
    assert body["visible"] and not tavlo.view(101)["visible"]
    text = [line for line in lines(body["text"]) if line]
    assert text == ["記事の見出し：試験", "　本文の一行目です。矢印", "二行目にタブ。", "関連：続報 B: 詳しく",
                    "記事E", "最後の段落です。", "var t = 1; "]
    # The relative address went to the category base without its final slash.
    log = (site / "requests.log").read_text(encoding="utf-8")
    assert "GET\t/articles/plain.html\t" in log

    tavlo.keys("BackSpace")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list again")
    assert tavlo.view(101)["visible"] and not tavlo.view(102)["visible"]


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0, "Opetion19": 0})
def test_an_article_that_is_a_rich_text_document_is_shown_and_read_as_its_characters(site, tavlo):
    open_category(tavlo, 4, 2)
    open_headline(tavlo)
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")
    document = r"{\rtf1\ansi{\fonttbl{\f0 x;}}見える\v 隠し\v0 の本文{\pict\pngblip 89504e470d0a1a0a}}"
    text = [line for line in lines(tavlo.view(102)["text"]) if line]
    assert text == [document, "二行目です。"]
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+1")  # read from the top
    tavlo.wait_spoken("終わり", timeout=30)
    assert document in tavlo.spoken()[mark:]


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_page_without_a_body_offers_the_browser(site, tavlo, browser):
    open_category(tavlo, 0, 3)
    open_headline(tavlo, downs=1)
    tavlo.wait_for(lambda: message_box_open(tavlo), what="the question")
    tavlo.keys("Tab", "space")  # No
    tavlo.wait_for(lambda: not message_box_open(tavlo), what="the question to close")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list to have the keyboard")
    time.sleep(1)  # room for a browser that must not be started
    assert not browser.exists()

    open_headline(tavlo)
    tavlo.wait_for(lambda: message_box_open(tavlo), what="the question again")
    tavlo.keys("Return")  # Yes, the default button
    tavlo.wait_for(lambda: browser.exists() and browser.read_text().strip(), timeout=20, what="the browser")
    assert browser.read_text().split() == ["https://localhost/articles/missing.html"]
    assert not tavlo.view(102)["visible"]


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_download_failure_is_spoken_and_the_list_stays(site, tavlo):
    open_category(tavlo, 0, 3)
    open_headline(tavlo, downs=2)
    tavlo.wait_spoken("本文の受信ができませんでした", timeout=30)
    assert tavlo.focus_id() == 101
    assert not tavlo.view(102)["visible"]


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_ctrl_page_down_onto_articles_that_fail_leaves_the_article_shown(site, tavlo, browser):
    open_category(tavlo, 0, 3)
    open_headline(tavlo)
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")
    shown = tavlo.view(102)["text"]
    assert "本文の一行目です。" in shown

    # The next page has no body: the browser is declined; the article stays in the body view.
    tavlo.keys("ctrl+Next")
    tavlo.wait_for(lambda: message_box_open(tavlo), what="the question")
    tavlo.keys("Tab", "space")  # No
    tavlo.wait_for(lambda: not message_box_open(tavlo), what="the question to close")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view again")
    assert tavlo.view(102)["text"] == shown
    mark = len(tavlo.spoken())
    tavlo.keys("alt+7")
    tavlo.wait_for(lambda: "ニュース本文です。" in tavlo.spoken()[mark:], what="the depth")

    # The one after cannot be received at all: the same.
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+Next")
    tavlo.wait_spoken("本文の受信ができませんでした", timeout=30)
    assert tavlo.spoken()[mark:] == ["次のニュースを受信", "本文の受信ができませんでした"]
    assert tavlo.view(102)["text"] == shown and tavlo.focus_id() == 102
    assert tavlo.view(101)["selection"] == 2
    assert not browser.exists()


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_an_address_too_long_for_its_buffer_is_not_fetched_cut(site, tavlo):
    """With the category's base put before it, the second headline's address no longer fits
    its buffer: the cut address would name another page, so nothing is fetched."""
    open_category(tavlo, 4, 2)
    open_headline(tavlo, downs=1)
    tavlo.wait_spoken("本文の受信ができませんでした", timeout=30)
    assert tavlo.focus_id() == 101
    assert "/articles/long-" not in (site / "requests.log").read_text(encoding="utf-8")


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_an_article_trickling_in_is_given_up_at_the_deadline(site, tavlo):
    """The page comes one byte a second (fourteen minutes in all); the download gives up at
    its deadline (3 s for the test), the failure is heard and the window answers again."""
    tavlo.switches["TAVLO_FETCH_DEADLINE_MS"] = "3000"
    open_category(tavlo, 3, 1)
    asked = time.time()
    open_headline(tavlo)
    tavlo.wait_spoken("本文の受信ができませんでした", timeout=40)
    assert tavlo.focus_id() == 101
    assert not tavlo.view(102)["visible"]
    print(f"[ measured ] trickling article given up, window answering {time.time() - asked:.1f} s after Enter")
    log = (site / "requests.log").read_text(encoding="utf-8")
    assert "GET\t/_fault/trickle/articles/plain.html\t" in log


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_paged_article_joins_its_continuation_pages(site, tavlo):
    open_category(tavlo, 1, 1)
    open_headline(tavlo)
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, timeout=30, what="the body view")
    text = [line for line in lines(tavlo.view(102)["text"]) if line]
    assert text == ["一ページ目の本文です。", "次のページ", "2ページ目の本文です。", "3ページ目の本文です。"]
    log = (site / "requests.log").read_text(encoding="utf-8")
    for query in ("?page=2", "?page=3", "?page=4"):
        assert f"GET\t/articles/rss.html{query}\t" in log
    assert "?page=5" not in log  # page 4 is missing: the joining stops there


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_forecast_page_is_read_as_a_forecast(site, tavlo):
    open_category(tavlo, 2, 1)
    open_headline(tavlo)
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, timeout=30, what="the body view")
    text = lines(tavlo.view(102)["text"])
    assert text[text.index("11月5日(火)晴れ"):][:5] == ["11月5日(火)晴れ", "気温", "最高気温　20℃", "最低気温　12℃",
                                                     "降水確率　10%"]
    assert " " not in "".join(text)


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_article_after_article_waits_while_the_reception_error_box_is_up(site, tavlo, browser):
    open_category(tavlo, 0, 3)
    tavlo.keys("ctrl+Return")  # from the first article on, one after another
    tavlo.wait_for(lambda: message_box_open(tavlo), timeout=30, what="the box of the article without a body")
    mark = len(tavlo.spoken())
    time.sleep(3.5)  # three ticks of the mode
    assert message_box_open(tavlo)
    assert tavlo.view(101)["selection"] == 1
    assert "連続読み上げ終わり" not in tavlo.spoken()[mark:]
    tavlo.keys("Tab", "space")  # No
    tavlo.wait_for(lambda: not message_box_open(tavlo), what="the box to close")
    # Answered, the mode goes on to the last article and ends there.
    tavlo.wait_spoken("連続読み上げ終わり", timeout=40)
    assert tavlo.view(101)["selection"] == 2
