"""Real article pages (../shared/realworld, saved from Japanese news sites) opened from a headline
list whose category markers fit none of them: each article's text is found by the main-text
reading of the page and read aloud with the count notice; the forecast page and a page without an
article give the browser question. The pages are served by the local HTTPS site from a folder
made for this module; they are never copied into the repository."""
import html
import os
import shutil
import subprocess
import unicodedata

import pytest

from harness import ROOT

REALWORLD = ROOT.parent / "shared" / "realworld"
ARTICLES = REALWORLD / "articles"
SITE = ROOT / "testing" / "site"

CATEGORY = """
[Category1]
Parameter1=実在の記事
Parameter2=https://localhost/
Parameter3=https://localhost/real/index.html
Parameter4=<ul class="headlines">
Parameter5=</ul>
Parameter6=<li><a href="
Parameter7="
Parameter8=<div class="no-such-article-body">
Parameter9=</div>
Parameter12=1
"""

MENU = """
[Menu1]
ListText1=実在の記事
MenuName1=real.txt
Number1=1
"""

NVDA_READING = {"Opetion20": 2, "Opetion22": 1, "Opetion17": 1, "Opetion19": 0}

# Pages beside the gold-text set: what their article says first.
OTHER_ARTICLES = {"newspaper-nikkei-article.html": "米朝首脳会談"}
NO_ARTICLE = ["tenki-1hour-hiroshima-nishi-2019-RECONSTRUCTED.html", "notice.html"]


def squeeze(text):
    return "".join(unicodedata.normalize("NFKC", text).split())


def first_sentence(name):
    """The first characters of the gold text's first body line (line 1 is the headline)."""
    lines = [line for line in (ARTICLES / "gold" / (name[:-5] + ".txt")).read_text(encoding="utf-8").splitlines()
             if line.strip()]
    return squeeze(lines[1])[:10]


def pages():
    """(file name, what its text must hold, or None for a page that gives the question)."""
    found = [(p.name, first_sentence(p.name)) for p in sorted((ARTICLES / "pages").glob("*.html"))]
    found += [(name, squeeze(start)) for name, start in OTHER_ARTICLES.items()]
    return found + [(name, None) for name in NO_ARTICLE]


@pytest.fixture(scope="module")
def real_site(tmp_path_factory):
    """The local site serving the saved pages under /real/, with a headline list of them."""
    if not ARTICLES.is_dir():
        pytest.skip("no saved real pages beside the repository")
    root = tmp_path_factory.mktemp("real-root")
    real = root / "real"
    real.mkdir()
    for path in sorted((ARTICLES / "pages").glob("*.html")):
        shutil.copy(path, real / path.name)
    for name in list(OTHER_ARTICLES) + NO_ARTICLE[:1]:
        shutil.copy(REALWORLD / name, real / name)
    (real / "notice.html").write_text(
        "<!DOCTYPE html><html><head><meta charset=\"UTF-8\"><title>お知らせ</title></head>"
        "<body><p>この記事は掲載を終了しました。</p></body></html>", encoding="utf-8")
    items = "".join(f'<li><a href="/real/{html.escape(name)}">{name}</a></li>\n' for name, _ in pages())
    (real / "index.html").write_text(
        f"<html><head><meta charset=\"UTF-8\"></head><body><ul class=\"headlines\">\n{items}</ul></body></html>",
        encoding="utf-8")
    state = tmp_path_factory.mktemp("real-site")
    subprocess.run(["sh", str(SITE / "site.sh"), "start", str(root), str(state)], check=True,
                   stdout=subprocess.DEVNULL, timeout=300, env=dict(os.environ, TAVLO_SITE_LIFETIME="1800"))
    yield state
    subprocess.run(["sh", str(SITE / "site.sh"), "stop", str(state)], stdout=subprocess.DEVNULL, timeout=60)


def question_open(tavlo):
    return bool(tavlo.desktop.xdotool("search", "--name", "^受信エラー$").split())


@pytest.mark.settings(NVDA_READING)
@pytest.mark.control({"nvda_speaking_ms": 20})
def test_every_real_article_is_read_and_pages_without_one_give_the_question(real_site, tavlo):
    tavlo.use_menu_file(MENU)
    (tavlo.folder / "News" / "real.txt").write_bytes(CATEGORY.replace("\n", "\r\n").encode("cp932"))
    tavlo.start()
    tavlo.keys("Return")
    expected = pages()
    tavlo.wait_spoken(f"受信した見出しは{len(expected)}件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")

    for position, (name, start) in enumerate(expected):
        mark = len(tavlo.spoken())
        tavlo.keys(*(["Down"] if position else []), "Return", settle=0.2)
        if start is None:
            tavlo.wait_for(lambda: question_open(tavlo), timeout=30, what=f"the question for {name}")
            tavlo.keys("Tab", "space")  # No: the browser is not opened
            tavlo.wait_for(lambda: not question_open(tavlo), what="the question to close")
            assert "このニュースは" not in "".join(tavlo.spoken()[mark:]), name
            continue
        # The count notice, then the article from its first line to "終わり".
        tavlo.wait_for(lambda: "終わり" in tavlo.spoken()[mark:], timeout=60, what=f"the reading of {name}")
        tavlo.wait_reading_ended()
        heard = tavlo.spoken()[mark:]
        notice = [text for text in heard if text.startswith("このニュースは")]
        assert notice and notice[0].endswith("行で、関連リンクは0です。"), (name, heard[:2])
        assert start in squeeze("".join(heard)), (name, start, heard[:3])
        assert "<" not in "".join(heard) and "&#" not in "".join(heard), name
        assert tavlo.focus_id() == 101

    # The setting in the general options, on by default: off, the first article gives the question.
    tavlo.keys("alt+t", "a")
    tavlo.wait_for(lambda: tavlo.desktop.xdotool("search", "--name", "^全般設定$").strip(), what="全般設定")
    box = next(c for c in tavlo.probe("--dialog")["dialog"]["controls"] if c["id"] == 106)
    assert box["checked"] == 1
    for _ in range(8):  # the region box is skipped while it is disabled
        if (tavlo.probe("--dialog").get("focus") or {}).get("id") == 106:
            break
        tavlo.keys("Tab", settle=0.2)
    tavlo.keys("space", "Return")
    tavlo.wait_for(lambda: not tavlo.desktop.xdotool("search", "--name", "^全般設定$").strip(), what="OK")
    assert tavlo.desktop.settings()["Opetion23"] == 0
    tavlo.keys("Home", "Return")
    tavlo.wait_for(lambda: question_open(tavlo), timeout=30, what="the question with the setting off")
    tavlo.keys("Tab", "space")
