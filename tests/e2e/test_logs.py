"""The reception history and the favorites as a user meets them: receiving categories fills the
history, which is reopened and pruned from the list; favorites are registered up to their limit;
radio and web entries go to the browser; the start actions open on the logs (never on a file
outside the News folder); the help menu."""
import re
import time

import pytest

RADIO = "http://www3.nhk.or.jp/netradio/player/index.html?ch=fm&area=osaka"

MENU = f"""
[Menu1]
ListText1=操作マニュアル
Number1=561
ListText2=受信履歴
Number2=603
ListText3=カテゴリー
MenuName3=Menu4
ListText4=地域
MenuName4=Menu97
ListText5=お気に入り
Number5=604
[Menu4]
ListText1=試験一
MenuName1=logs.txt
Number1=1
ListText2=試験二
MenuName2=logs.txt
Number2=2
ListText3=試験三
MenuName3=logs.txt
Number3=3
ListText4=ラジオの項目
MenuName4={RADIO}
Number4=601
ListText5=ホームページ
MenuName5=https://localhost/home.html
Number5=601
ListText6=危ないリンク
MenuName6=file:///c:/windows/notepad.exe
Number6=601
[Menu97]
ListText1=都道府県の選択
Number1=501
"""

CATEGORY = """
[Category{n}]
Parameter1={name}
Parameter2=https://localhost/
Parameter3=https://localhost/articles/index.html
Parameter4=<ul class="headlines">
Parameter5=</ul>
Parameter6=<li><a href="
Parameter7="
"""
NAMES = {1: "一つ目のニュース", 2: "二つ目のニュース", 3: "三つ目のニュース"}
CATEGORIES = "".join(CATEGORY.format(n=n, name=name) for n, name in NAMES.items())


def prepare(tavlo, desktop, history=(), favorites=()):
    """Menus and categories of this module, and the two logs as given: (file, name, number)."""
    tavlo.use_menu_file(MENU)
    (tavlo.folder / "News" / "logs.txt").write_bytes(CATEGORIES.replace("\n", "\r\n").encode("cp932"))
    folder = desktop.data_folder()
    folder.mkdir(parents=True, exist_ok=True)
    write_log(folder / "history.log", history)
    write_log(folder / "BookMark.log", favorites)


def write_log(path, entries):
    entries = list(entries) + [("", "", 0)] * (50 - len(entries))
    text = "[FilePath]\n" + "".join(f"FilePath{i}={e[0]}\n" for i, e in enumerate(entries))
    text += "[FileName]\n" + "".join(f"FileName{i}={e[1]}\n" for i, e in enumerate(entries))
    text += "[Number]\n" + "".join(f"Number{i}={e[2]}\n" for i, e in enumerate(entries))
    path.write_bytes(text.replace("\n", "\r\n").encode("cp932"))


def read_log(path):
    """The file as [(section, key, value)] in file order, and its used entries [(file, name, number)]."""
    keys = []
    section = None
    for line in path.read_bytes().decode("cp932").splitlines():
        if line.startswith("["):
            section = line.strip("[]")
        elif "=" in line:
            key, value = line.split("=", 1)
            keys.append((section, key, value))
    values = {key: value for _, key, value in keys}
    entries = []
    for i in range(50):
        if not values.get(f"FilePath{i}"):
            break
        entries.append((values[f"FilePath{i}"], values[f"FileName{i}"], int(values[f"Number{i}"])))
    return keys, entries


def names(path):
    return [name for _, name, _ in read_log(path)[1]]


def old(count):
    return [("old.txt", f"古い項目{i}", 1) for i in range(count)]


def menu_items(tavlo):
    return tavlo.view(100)["items"]


def receive(tavlo, *keys):
    """Presses keys that start a reception and waits for it to finish on the headline list."""
    before = tavlo.spoken().count("受信した見出しは3件です")
    tavlo.keys(*keys)
    tavlo.wait_for(lambda: tavlo.spoken().count("受信した見出しは3件です") > before, timeout=30,
                   what="the headlines")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")


def back_to_menu(tavlo):
    tavlo.keys("BackSpace")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the menu list")


def browser_addresses(log):
    return log.read_text().split() if log.exists() else []


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0, "Opetion21": 0})
def test_history_fills_reopens_and_loses_exactly_the_deleted_entry(site, tavlo, desktop, browser):
    history = desktop.data_folder() / "history.log"
    prepare(tavlo, desktop, history=old(47))
    tavlo.start()
    receive(tavlo, "Down", "Down", "Return", "Return")  # カテゴリー > 試験一
    for _ in range(2):
        back_to_menu(tavlo)
        receive(tavlo, "Down", "Return")
    assert names(history) == [NAMES[3], NAMES[2], NAMES[1]] + [f"古い項目{i}" for i in range(47)]
    keys, entries = read_log(history)
    assert [k for _, k, _ in keys] == ([f"FilePath{i}" for i in range(50)] + [f"FileName{i}" for i in range(50)]
                                       + [f"Number{i}" for i in range(50)])
    assert entries[0] == ("logs.txt", NAMES[3], 3)

    # The radio entry goes to the browser and joins the history under its station name: the
    # 51st name, so the oldest falls out. A web page keeps its list text.
    back_to_menu(tavlo)
    tavlo.keys("Down", "Return")
    tavlo.wait_for(lambda: browser_addresses(browser) == [RADIO], timeout=20, what="the radio page")
    assert names(history)[:2] == ["NHK-FM 大阪", NAMES[3]]
    assert len(names(history)) == 50 and "古い項目46" not in names(history)
    assert read_log(history)[1][0] == (RADIO, "NHK-FM 大阪", 601)
    tavlo.keys("Down", "Return")
    tavlo.wait_for(lambda: len(browser_addresses(browser)) == 2, timeout=20, what="the web page")
    assert browser_addresses(browser)[1] == "https://localhost/home.html"
    assert names(history)[0] == "ホームページ"
    # Anything but a web address never reaches the shell.
    tavlo.keys("Down", "Return")
    tavlo.wait_spoken("ブラウザーで開けるアドレスではありません")
    time.sleep(1)
    assert len(browser_addresses(browser)) == 2
    assert names(history)[0] == "ホームページ"

    tavlo.keys("ctrl+F1")
    tavlo.wait_spoken("受信履歴に移動します")
    shown = ["ホームページ", "NHK-FM 大阪", NAMES[3], NAMES[2], NAMES[1]]
    tavlo.wait_for(lambda: menu_items(tavlo)[:5] == shown, what="the history")
    assert tavlo.focus_id() == 100 and len(menu_items(tavlo)) == 50

    # Reopening an entry receives it again; it is at the top the next time the history is shown.
    receive(tavlo, "Down", "Down", "Return")
    back_to_menu(tavlo)
    assert menu_items(tavlo)[:5] == shown  # the list shown is the one loaded before
    tavlo.keys("BackSpace", "Return")  # the top menu, and 受信履歴 again
    tavlo.wait_for(lambda: menu_items(tavlo)[:3] == [NAMES[3], "ホームページ", "NHK-FM 大阪"],
                   what="the history shown again")

    # Reopen 一つ目 (position 4), come back to the same list, delete it: exactly that entry goes,
    # although the file has it at the top by now.
    receive(tavlo, "Down", "Down", "Down", "Down", "Return")
    assert names(history)[0] == NAMES[1]
    back_to_menu(tavlo)
    tavlo.keys("Delete")
    tavlo.wait_spoken("削除しました")
    assert NAMES[1] not in names(history) and NAMES[2] in names(history)
    assert names(history)[:4] == [NAMES[3], "ホームページ", "NHK-FM 大阪", NAMES[2]]
    items = menu_items(tavlo)
    assert NAMES[1] not in items and len(items) == 49
    assert tavlo.view(100)["selection"] == 4


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0, "Opetion21": 0})
def test_favorites_register_up_to_fifty_and_f2_shows_them(tavlo, desktop, browser):
    favorites = desktop.data_folder() / "BookMark.log"
    prepare(tavlo, desktop, favorites=old(48))
    tavlo.start()
    # The top menu's first entry opens the manual with the program the user has for text files;
    # without one, the user hears that it could not be opened.
    tavlo.desktop.reg(["delete", r"HKCR\.txt", "/f"])
    tavlo.keys("Return")
    tavlo.wait_spoken("操作マニュアルを開けませんでした")
    tavlo.desktop.reg(["add", r"HKCR\.txt", "/ve", "/d", "txtfile", "/f"])
    tavlo.keys("Return")
    tavlo.wait_for(lambda: tavlo.desktop.xdotool("search", "--name", "manual").strip(), timeout=20,
                   what="the manual to open")
    tavlo.desktop.run(["wine", "taskkill", "/f", "/im", "notepad.exe"])
    tavlo.desktop.reg(["delete", r"HKCR\.txt", "/f"])  # as the fresh prefix had it
    tavlo.click_title()
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the menu list again")
    tavlo.keys("ctrl+F2")  # the top menu: nothing to register
    assert not any("お気に入り" in text for text in tavlo.spoken())
    tavlo.keys("Down", "Down", "Return")
    tavlo.keys("ctrl+F2")
    tavlo.wait_spoken(f"{NAMES[1]}をお気に入りに登録しました")
    tavlo.keys("ctrl+F2")
    tavlo.wait_spoken(f"{NAMES[1]}はすでにお気に入りに登録されています")
    tavlo.keys("Down", "Down", "Down", "ctrl+F2")
    tavlo.wait_spoken("NHK-FM 大阪をお気に入りに登録しました")
    before = favorites.read_bytes()
    tavlo.keys("Up", "ctrl+F2")
    tavlo.wait_spoken("お気に入りは上限の50件まで登録されています")
    assert favorites.read_bytes() == before
    _, entries = read_log(favorites)
    assert len(entries) == 50
    assert entries[:2] == [(RADIO, "NHK-FM 大阪", 601), ("logs.txt", NAMES[1], 1)]

    tavlo.keys("F2")
    tavlo.wait_spoken("お気に入りに移動します")
    tavlo.wait_for(lambda: menu_items(tavlo)[:2] == ["NHK-FM 大阪", NAMES[1]], what="the favorites")
    assert tavlo.focus_id() == 100
    tavlo.keys("F2", "ctrl+F2")  # already there; nothing to register inside the list
    tavlo.keys("Down", "Delete")
    tavlo.wait_spoken("削除しました")
    assert names(favorites)[:2] == ["NHK-FM 大阪", "古い項目0"] and len(names(favorites)) == 49
    assert menu_items(tavlo)[:2] == ["NHK-FM 大阪", "古い項目0"]

    # The help menu: the version box, and the maker's pages in the browser.
    tavlo.keys("alt+h", "v")
    tavlo.wait_for(lambda: tavlo.desktop.xdotool("search", "--name", "^バージョン情報$").strip(), what="the version box")
    box = tavlo.probe("--dialog")["dialog"]
    assert "タブロ Ver11.39" in str(box) and "2026年2月24日公開" in str(box)
    tavlo.keys("Return")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the menu list to have the keyboard")
    tavlo.keys("alt+h", "h")
    tavlo.wait_for(lambda: browser_addresses(browser), timeout=20, what="the change history page")
    assert re.fullmatch(r"https://[^/]+/tavlo/ver11/history\.html", browser_addresses(browser)[0])

    spoken = tavlo.spoken()
    assert spoken.count("お気に入りに移動します") == 1
    assert sum("お気に入りに登録しました" in s for s in spoken) == 2


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_start_actions_open_on_the_history_the_favorites_and_the_last_category(site, tavlo, desktop):
    history = desktop.data_folder() / "history.log"
    logs = [("logs.txt", NAMES[2], 2), ("logs.txt", NAMES[1], 1)]
    for action, items in ((3, [NAMES[2], NAMES[1]]), (2, [NAMES[3]])):
        prepare(tavlo, desktop, history=logs, favorites=[("logs.txt", NAMES[3], 3)])
        desktop.reset_settings({"Opetion20": 2, "Opetion22": 0, "Opetion21": action})
        tavlo.start()
        tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the menu list")
        assert menu_items(tavlo) == items
        tavlo.kill()

    desktop.reset_settings({"Opetion20": 2, "Opetion22": 0, "Opetion21": 1})
    prepare(tavlo, desktop, history=logs)
    tavlo.start()
    tavlo.wait_spoken(f"{NAMES[2]}を受信", timeout=30)
    tavlo.wait_spoken("受信した見出しは3件です", timeout=30)
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")
    assert names(history) == [NAMES[2], NAMES[1]]
    assert "受信履歴に移動します" not in tavlo.spoken()

    # A planted entry whose file lies outside the News folder steers no reception.
    tavlo.kill()
    planted = CATEGORY.format(n=1, name="植えた項目").replace("articles/index.html", "planted/list.html")
    (tavlo.folder.parent / "planted.txt").write_bytes(planted.replace("\n", "\r\n").encode("cp932"))
    prepare(tavlo, desktop, history=[("..\\..\\planted.txt", "植えた項目", 1)] + logs)
    tavlo.start()
    tavlo.wait_spoken("記事リストの受信ができませんでした", timeout=30)
    assert "植えた項目を受信" not in tavlo.spoken()
    assert "/planted/" not in (site / "requests.log").read_text(encoding="utf-8")
    assert names(history)[:3] == ["植えた項目", NAMES[2], NAMES[1]]
