"""The update check against the local site, whose fixtures/update/<n> folders each publish
release n: silent at start-up unless a newer release is out, confirmed on demand, the product
page handed to the browser, and a site that cannot be reached."""
import pytest

NVDA_ONLY = {"Opetion20": 2}


def menu(maker_site):
    return f"""
[Sources]
MakerSite={maker_site}
[Menu1]
ListText1=更新チェック
Number1=565
"""


def box_open(tavlo, title):
    return bool(tavlo.desktop.xdotool("search", "--name", f"^{title}$").split())


def wait_box(tavlo, title):
    """Waits for a message box and returns the texts of its controls, as a screen reader reads them."""
    tavlo.wait_for(lambda: box_open(tavlo, title), timeout=20, what=f"the box {title}")
    state = tavlo.wait_for(lambda: (lambda s: s.get("dialog") and s["dialog"]["title"] == title and s)(
        tavlo.probe("--dialog")), what=f"{title} in front")
    return [c.get("text") for c in state["dialog"]["controls"]]


def answer(tavlo, title, key):
    tavlo.keys(key)
    tavlo.wait_for(lambda: not box_open(tavlo, title), what=f"the box {title} to close")


def version_requests(site, release):
    log = (site / "requests.log").read_text(encoding="utf-8")
    return log.count(f"GET\t/update/{release}/appversion/tavlo1100.ver\t")


@pytest.mark.settings(dict(NVDA_ONLY, Opetion1=1))
@pytest.mark.menu(menu("https://localhost/update/1139"))
def test_this_release_is_quiet_at_start_up_and_confirmed_on_demand(site, tavlo):
    tavlo.start()
    tavlo.wait_for(lambda: version_requests(site, 1139) == 1, what="the start-up check")
    assert not box_open(tavlo, "更新通知") and not box_open(tavlo, "更新チェック")

    tavlo.keys("Return")
    assert "お使いのタブロ Ver11は最新版です。" in wait_box(tavlo, "更新チェック")
    answer(tavlo, "更新チェック", "Return")
    assert version_requests(site, 1139) == 2
    assert not box_open(tavlo, "更新通知")


@pytest.mark.parametrize("release", [1140, 11405])
def test_a_newer_release_is_offered_at_start_up_and_on_demand(site, desktop, tavlo, browser, release, tmp_path):
    desktop.reset_settings(dict(NVDA_ONLY, Opetion1=1))
    tavlo.use_menu_file(menu(f"https://localhost/update/{release}"))
    tavlo.start()
    offer = "タブロ Ver11の最新版が、作者サイトで公開されています。\n今すぐ、タブロの紹介ページを開いて確認しますか？"
    assert offer in wait_box(tavlo, "更新通知")
    answer(tavlo, "更新通知", "Return")  # Yes is the default button
    page = f"https://localhost/update/{release}/tavlo/"
    tavlo.wait_for(lambda: browser.exists() and browser.read_text().split() == [page], what="the product page")

    tavlo.click_title()
    tavlo.keys("Return")
    assert offer in wait_box(tavlo, "更新通知")
    answer(tavlo, "更新通知", "n")
    assert browser.read_text().split() == [page]
    assert version_requests(site, release) == 2

    # Without a handler for https the shell starts nothing: the user who says Yes hears so.
    saved = tmp_path / "https.reg"
    desktop.reg(["export", r"HKCR\https", str(saved), "/y"])
    desktop.reg(["delete", r"HKCR\https", "/f"])
    try:
        tavlo.keys("Return")
        assert offer in wait_box(tavlo, "更新通知")
        answer(tavlo, "更新通知", "Return")
        tavlo.wait_spoken("ブラウザーを起動できませんでした")
    finally:
        desktop.reg(["import", str(saved)])


@pytest.mark.settings(dict(NVDA_ONLY, Opetion1=1))
@pytest.mark.menu(menu("https://unreachable.invalid"))
def test_a_site_that_cannot_be_reached_is_announced_only_on_demand(tavlo):
    tavlo.start()
    tavlo.keys("Return")
    tavlo.wait_spoken("更新情報を確認できませんでした")
    # The start-up check said nothing, and no box came up at all.
    assert tavlo.spoken().count("更新情報を確認できませんでした") == 1
    assert not box_open(tavlo, "更新チェック") and not box_open(tavlo, "更新通知")

