"""Continuous reading: an article read aloud line by line through the screen-reader doubles
(which take time to speak), stopped by a key or by the focus leaving, and the headline list read
article after article. The pages come from the local HTTPS site (testing/site/fixtures/reading)."""
import subprocess
import time

import pytest

from harness import list_category

CATEGORIES = list_category("読み上げ試験", "https://localhost/reading/index.html")

MENU = """
[Menu1]
ListText1=読み上げ試験
MenuName1=reading.txt
Number1=1
"""

# What the twelve-line article holds, line by line, as the body view shows it. The cleaning of
# the article folds empty lines away, so the fixture's empty line after the second line does not
# reach the view; the line break just after the body's start marker does, as an empty line 0.
TWELVE = ["", "第一行は見出しです。", "第二行の文です。", "あ",
          "第五行は長めの文で、読み上げの途中で止める試験に使います。", "第六行です。", "第七行です。",
          "第八行です。", "第九行です。", "関連一：続報一", "関連二：続報二", "関連三：続報三"]
END = "終わり"

NVDA = {"Opetion20": 2, "Opetion19": 0}
PCTALKER = {"Opetion20": 1, "Opetion19": 0}


def open_headlines(tavlo):
    tavlo.use_menu_file(MENU)
    tavlo.use_category_file("reading.txt", CATEGORIES)
    tavlo.start()
    tavlo.keys("Return")
    tavlo.wait_spoken("受信した見出しは3件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")


def said_after(tavlo, mark):
    """The texts spoken after the transcript's first mark entries."""
    return tavlo.spoken()[mark:]


def body(tavlo):
    return tavlo.view(102)


def reading_done(tavlo, mark, timeout=30):
    tavlo.wait_for(lambda: END in said_after(tavlo, mark), timeout, what="the end of the reading")
    tavlo.wait_reading_ended(timeout)


def lines(text):
    return text.replace("\r\n", "\n").replace("\r", "\n").split("\n")


def nvda_hears(text_lines):
    """The lines NVDA is given: more than two Shift-JIS bytes."""
    return [line for line in text_lines if len(line.encode("cp932")) > 2]


@pytest.mark.settings(dict(NVDA, Opetion22=1, Opetion17=1))
@pytest.mark.control({"nvda_speaking_ms": 150})
def test_article_read_on_reception_with_its_count_notice(site, tavlo):
    open_headlines(tavlo)
    mark = len(tavlo.spoken())
    tavlo.keys("Return")
    reading_done(tavlo, mark)
    assert said_after(tavlo, mark) == (["このニュースは12行で、関連リンクは3です。"] + nvda_hears(TWELVE) + [END])
    view = body(tavlo)
    assert view["lineCount"] == 12
    # The caret stays on the last line; the list keeps the focus and the body stays hidden.
    assert view["caretLine"] == 11 and not view["visible"]
    assert tavlo.focus_id() == 101
    # The reading is over: Tab (refused while reading) shows the body view again.
    tavlo.keys("Tab")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")


@pytest.mark.settings(dict(NVDA, Opetion22=0, Opetion17=1))
@pytest.mark.control({"nvda_speaking_ms": 100})
def test_reading_from_the_caret_and_from_the_top(site, tavlo):
    open_headlines(tavlo)
    tavlo.keys("Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")
    tavlo.keys("Down")
    assert body(tavlo)["caretLine"] == 1
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+3")
    reading_done(tavlo, mark)
    # From line 1: no count notice.
    assert said_after(tavlo, mark) == nvda_hears(TWELVE[1:]) + [END]
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+1")
    reading_done(tavlo, mark)
    assert said_after(tavlo, mark) == (["このニュースは12行で、関連リンクは3です。"] + nvda_hears(TWELVE) + [END])
    assert body(tavlo)["caretLine"] == 11


def no_more_speech(tavlo, mark, seconds=2.0):
    time.sleep(seconds)
    return said_after(tavlo, mark)


@pytest.mark.settings(dict(NVDA, Opetion22=1, Opetion17=0))
@pytest.mark.control({"nvda_speaking_ms": 1500})
def test_a_stop_key_ends_the_reading_where_it_is(site, tavlo):
    open_headlines(tavlo)
    mark = len(tavlo.spoken())
    tavlo.keys("Return", settle=0)
    fifth = TWELVE[4]
    tavlo.wait_for(lambda: fifth in said_after(tavlo, mark), 30, what="line 5")
    tavlo.keys("Up", settle=0)
    heard = no_more_speech(tavlo, mark)
    assert heard[-1] == fifth and END not in heard
    view = body(tavlo)
    assert view["caretLine"] == 4
    # Up did not move the selection: it stopped the reading and put the focus in the body.
    assert tavlo.view(101)["selection"] == 0
    assert tavlo.focus_id() == 102

    # From the body, Ctrl+3 reads on from the caret; an arrow key stops it again.
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+3", settle=0)
    tavlo.wait_for(lambda: TWELVE[5] in said_after(tavlo, mark), 30, what="line 6")
    tavlo.keys("Down", settle=0)
    heard = no_more_speech(tavlo, mark)
    assert heard == [fifth, TWELVE[5]]
    assert body(tavlo)["caretLine"] == 5


@pytest.mark.settings(dict(NVDA, Opetion22=0, Opetion17=0))
@pytest.mark.control({"nvda_speaking_ms": 3000})
def test_switching_to_another_window_puts_the_caret_on_the_line_above(site, tavlo):
    open_headlines(tavlo)
    tavlo.keys("Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")
    tavlo.keys("Down", "Down", "Down", "Down", "Down")  # line 5, the sixth line
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+3", settle=0)
    tavlo.wait_for(lambda: TWELVE[5] in said_after(tavlo, mark), 30, what="line 6")
    other = subprocess.Popen(["wine", "notepad"], env=tavlo.env(), stdout=subprocess.DEVNULL,
                             stderr=subprocess.DEVNULL)
    try:
        tavlo.wait_for(lambda: tavlo.focus_id() is None, 30, what="another window to take the focus")
        heard = no_more_speech(tavlo, mark)
        assert heard == [TWELVE[5]]
        view = body(tavlo)
        assert view["caretLine"] == 4
        assert view["caret"] == sum(len(line) + 1 for line in TWELVE[:4])
    finally:
        other.terminate()
        other.wait(10)


@pytest.mark.settings(dict(PCTALKER, Opetion22=1, Opetion17=1))
def test_pctalker_absent_runs_through_silently_then_present_speaks_every_line(site, tavlo):
    open_headlines(tavlo)  # the reception is heard; then PC-Talker goes away
    tavlo.set_control({"pctalker_present": 0})
    start = len(tavlo.heard())
    tavlo.keys("Return")
    tavlo.wait_for(lambda: body(tavlo)["caretLine"] == 11, 30, what="the reading to reach the last line")
    calls = tavlo.heard()[start:]
    assert not [c for c in calls if c["call"] == "speak"]
    assert len([c for c in calls if c["call"] == "present"]) >= 12

    tavlo.set_control({"pctalker_present": 1, "pctalker_busy_ms": 100})
    # The caret is on the last line while that line is still being given out, and Tab is
    # refused until the reading is over.
    tavlo.wait_reading_ended()
    tavlo.keys("Tab")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102, what="the body view")
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+1")
    reading_done(tavlo, mark)
    # PC-Talker is given every line, the empty one and the one-character one too.
    assert said_after(tavlo, mark) == ["このニュースは12行で、関連リンクは3です。"] + TWELVE + [END]


@pytest.mark.settings(dict(NVDA, Opetion22=1, Opetion17=1))
@pytest.mark.control({"nvda_speaking_ms": 100})
def test_ctrl_enter_reads_the_headlines_article_after_article(site, tavlo):
    tavlo.use_menu_file(MENU)
    tavlo.use_category_file("reading.txt", CATEGORIES)
    tavlo.start()
    tavlo.keys("ctrl+Return", settle=1.5)
    assert "連続読み上げ開始" not in tavlo.spoken()  # nothing from the menu list
    tavlo.keys("Return")
    tavlo.wait_spoken("受信した見出しは3件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")

    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+Return")
    tavlo.wait_for(lambda: "連続読み上げ終わり" in said_after(tavlo, mark), 60, what="the end of the list")
    heard = said_after(tavlo, mark)
    # The other two articles also begin with an empty line (see TWELVE); their notices count it.
    short = ["", "短い記事の一行目です。", "短い記事の二行目です。"]
    long = ["", "長い行の前です。", "長" * 2000, "長い行の後です。"]
    long_heard = ["長い行の前です。", "長" * 1536, "長い行の後です。"]  # 4,000 bytes cut to the 3,072 that fit
    assert heard == (["連続読み上げ開始", "このニュースは12行で、関連リンクは3です。"] + nvda_hears(TWELVE) + [END]
                     + [f"このニュースは{len(short)}行で、関連リンクは0です。"] + nvda_hears(short) + [END]
                     + [f"このニュースは{len(long)}行で、関連リンクは0です。"] + long_heard + [END]
                     + ["連続読み上げ終わり"])
    assert tavlo.view(101)["selection"] == 2


@pytest.mark.settings(dict(NVDA, Opetion22=0, Opetion17=0))
@pytest.mark.control({"nvda_speaking_ms": 50})
def test_ctrl_page_down_and_up_receive_and_read_the_next_and_previous_article(site, tavlo):
    # Reading on reception is off: Enter only shows the article, yet Ctrl+Page Down and Up read
    # the article they bring, after its title.
    open_headlines(tavlo)
    tavlo.keys("Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 102 and body(tavlo)["length"] > 0, 30, what="the body view")

    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+Next")
    reading_done(tavlo, mark)
    assert said_after(tavlo, mark) == ["次のニュースを受信", "短い記事", "短い記事の一行目です。", "短い記事の二行目です。",
                                       END]
    assert tavlo.view(101)["selection"] == 1
    assert "短い記事の一行目です。" in body(tavlo)["text"]
    assert tavlo.focus_id() == 102

    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+Prior")
    reading_done(tavlo, mark)
    assert said_after(tavlo, mark) == ["前のニュースを受信", "十二行の記事"] + nvda_hears(TWELVE) + [END]
    assert tavlo.view(101)["selection"] == 0
    mark = len(tavlo.spoken())
    tavlo.keys("ctrl+Prior")
    tavlo.wait_spoken("前のニュースはありません。")
