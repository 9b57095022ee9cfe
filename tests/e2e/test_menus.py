"""Moving through the menus with the keys, and the announcements of where the user is."""
import pytest

MENU = """
[Menu1]
ListText1=深い階層
MenuName1=Sub2
ListText2=受信履歴
Number2=603
ListText3=カテゴリー
MenuName3=Menu4
ListText4=地域
MenuName4=Menu97
ListText5=お気に入り
Number5=604
ListText6=スクラップ
Number6=606
ListText7=五十一項目
MenuName7=Fifty
ListText8=欠けた節
MenuName8=NoSuchSection
[Menu4]
ListText1=一
MenuName1=Sub2
Number1=-1
ListText2=二
MenuName2=Sub2
Number2=abc
ListText3=三
ListText5=五
MenuName5=Sub2
[Sub2]
ListText1=国内
MenuName1=Sub3
ListText2=政治
MenuName2=Sub3
[Sub3]
ListText1=国会
MenuName1=Sub4
[Sub4]
ListText1=深い
MenuName1=Sub5
ListText2=もっと深い
MenuName2=Sub5
[Sub5]
ListText1=六階層目
[Menu97]
ListText1=都道府県の選択
Number1=501
ListText2=地域ニュース
MenuName2=local.txt
Number2=13
[Fifty]
""" + "".join(f"ListText{n}=項目{n}\n" for n in range(1, 52))


def menu(tavlo):
    return tavlo.view(100)


def assert_menu(tavlo, first_item, selection, count=None):
    m = menu(tavlo)
    assert m["items"][0] == first_item
    assert m["selection"] == selection
    if count is not None:
        assert m["count"] == count


@pytest.mark.menu(MENU)
def test_enter_right_and_the_back_keys_move_through_levels(tavlo):
    tavlo.start()
    tavlo.keys("Down", "Down", "Return")
    assert_menu(tavlo, "一", 0, count=3)  # entries 1, 2, 3 and 5: three shown
    tavlo.keys("Right")  # Number -1: a submenu
    assert_menu(tavlo, "国内", 0)
    tavlo.keys("BackSpace")
    assert_menu(tavlo, "一", 0)
    tavlo.keys("Down", "Right")  # "abc" reads as 0: a submenu
    assert_menu(tavlo, "国内", 0)
    tavlo.keys("Down", "Return")
    assert_menu(tavlo, "国会", 0)
    tavlo.keys("Escape")
    assert_menu(tavlo, "国内", 1)
    tavlo.keys("Left")
    assert_menu(tavlo, "一", 1)
    tavlo.keys("BackSpace")
    assert_menu(tavlo, "深い階層", 2)
    before = len(tavlo.heard())
    tavlo.keys("BackSpace")
    assert_menu(tavlo, "深い階層", 2)
    assert len(tavlo.heard()) == before


@pytest.mark.menu(MENU)
def test_levels_stop_at_fifty_entries_and_at_the_fifth_level(tavlo):
    tavlo.start()
    tavlo.keys(*["Down"] * 6, "Return")
    assert menu(tavlo)["count"] == 50
    tavlo.keys("BackSpace", "Down", "Return")  # a missing section: an empty level that counts
    assert menu(tavlo)["count"] == 0
    tavlo.keys("BackSpace")
    assert_menu(tavlo, "深い階層", 7)
    tavlo.keys("Home", "Return", "Return", "Return")  # levels 1 to 3
    assert_menu(tavlo, "深い", 0)
    tavlo.keys("Down", "Return")  # level 4, the fifth and last
    assert_menu(tavlo, "六階層目", 0)
    tavlo.keys("Return")  # a sixth level is refused: the fifth stays
    assert_menu(tavlo, "六階層目", 0)
    tavlo.keys("alt+1")
    tavlo.wait_spoken("国内 国会 もっと深い")
    tavlo.keys("BackSpace")
    assert_menu(tavlo, "深い", 1)


@pytest.mark.menu(MENU)
def test_where_am_i_and_position_at_every_level(tavlo):
    tavlo.start()
    expected = ["トップメニュー", "深い階層", "深い階層 国内", "国内 国会", "国内 国会 深い"]
    for level, text in enumerate(expected):
        if level:
            tavlo.keys("Return")
        tavlo.keys("alt+1")
        tavlo.wait_spoken(text)
    tavlo.keys("ctrl+7")
    tavlo.wait_spoken("1項目中1項目目")


@pytest.mark.menu(MENU)
def test_back_to_top_menu_from_level_three(tavlo):
    tavlo.start()
    tavlo.keys("Down", "Down", "Return", "Return", "Return")
    assert_menu(tavlo, "国会", 0)
    tavlo.keys("ctrl+BackSpace")
    tavlo.wait_spoken("トップメニューに戻る")
    assert_menu(tavlo, "深い階層", 2)
    before = tavlo.spoken()
    tavlo.keys("ctrl+BackSpace")  # at the top menu: nothing
    assert tavlo.spoken() == before


@pytest.mark.menu(MENU)
def test_tab_cycles_the_views_and_f4_shows_the_menu(tavlo):
    tavlo.start()
    order = []
    for _ in range(3):
        tavlo.keys("Tab")
        order.append(tavlo.focus_id())
    assert order == [101, 102, 100]
    order = []
    for _ in range(3):
        tavlo.keys("shift+Tab")
        order.append(tavlo.focus_id())
    assert order == [102, 101, 100]
    tavlo.keys("Tab", "F4")
    assert tavlo.focus_id() == 100
    visible = [v for v in (100, 101, 102) if tavlo.view(v)["visible"]]
    assert visible == [100]


@pytest.mark.menu(MENU)
def test_local_news_jump_speaks_once(tavlo):
    tavlo.start()
    tavlo.keys("shift+F4")
    tavlo.wait_spoken("お住まいの地域のニュースに移動します")
    assert_menu(tavlo, "都道府県の選択", 0)
    count = tavlo.spoken().count("お住まいの地域のニュースに移動します")
    tavlo.keys("Down", "shift+F4")
    assert tavlo.spoken().count("お住まいの地域のニュースに移動します") == count
    assert_menu(tavlo, "都道府県の選択", 1)
    tavlo.keys("BackSpace")
    assert_menu(tavlo, "深い階層", 3)


@pytest.mark.menu(MENU)
@pytest.mark.settings({"Opetion20": 2, "Opetion21": 5})
def test_start_action_5_opens_the_category_menu(tavlo):
    tavlo.start()
    assert_menu(tavlo, "一", 0)
    tavlo.keys("BackSpace")
    assert_menu(tavlo, "深い階層", 2)
