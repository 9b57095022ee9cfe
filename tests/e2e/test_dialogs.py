"""The option dialogs, the speech settings and the braille switch, driven by real keystrokes:
what they store, what changes at once and what only at the next start, and how a screen reader
names every control."""
import pytest

SPEECH_DEFAULTS = {"Opetion20": 1, "Opetion17": 1, "Opetion22": 1}
PREFECTURES = ["北海道", "青森県", "岩手県", "宮城県", "秋田県", "山形県", "福島県", "茨城県", "栃木県", "群馬県",
               "埼玉県", "千葉県", "東京都", "神奈川県", "山梨県", "長野県", "新潟県", "岐阜県", "静岡県", "愛知県",
               "三重県", "富山県", "石川県", "福井県", "滋賀県", "京都府", "大阪府", "兵庫県", "奈良県", "和歌山県",
               "鳥取県", "島根県", "岡山県", "広島県", "山口県", "徳島県", "香川県", "愛媛県", "高知県", "福岡県",
               "佐賀県", "長崎県", "熊本県", "大分県", "宮崎県", "鹿児島県", "沖縄県"]
REGIONS = ["道北", "道央", "道東", "道南"]
START_ACTIONS = ["トップメニュー", "前回読んだカテゴリーを受信", "お気に入り", "受信履歴", "お住まいの地域のニュース",
                 "ニュースカテゴリー選択"]


def wait_dialog(tavlo, title):
    tavlo.wait_for(lambda: tavlo.desktop.xdotool("search", "--name", f"^{title}$").strip(), what=f"dialog {title}")
    tavlo.wait_for(lambda: dialog(tavlo).get("title") == title, what=f"{title} in the foreground")


def dialog_closed(tavlo, title):
    tavlo.wait_for(lambda: not tavlo.desktop.xdotool("search", "--name", f"^{title}$").strip(),
                   what=f"dialog {title} to close")


def dialog(tavlo):
    """The dialog in front as the probe sees it: title, the focused control's id, and the controls
    in tab order with their state and their accessible name."""
    state = tavlo.probe("--dialog")
    if not state.get("dialog"):
        return {}
    controls = []
    for c in state["dialog"]["controls"]:
        c = dict(c)
        c["name"] = (c.get("accessible") or {}).get("name")
        controls.append(c)
    return {"title": state["dialog"]["title"], "focus": (state.get("focus") or {}).get("id"), "controls": controls}


def control(state, control_id):
    return next(c for c in state["controls"] if c["id"] == control_id)


def open_speech_settings(tavlo):
    tavlo.keys("alt+t", "s")  # ツール(&T) > 音声設定(&S)
    wait_dialog(tavlo, "音声設定")


def open_general_settings(tavlo):
    tavlo.keys("alt+t", "a")  # ツール(&T) > 全般設定(&A)
    wait_dialog(tavlo, "全般設定")


def open_local_dialog(tavlo):
    # Top menu entry 4 is the local-news menu; its first entry opens the prefecture choice.
    tavlo.keys("Down", "Down", "Down", "Return")
    tavlo.keys("Return")
    wait_dialog(tavlo, "都道府県選択")


@pytest.mark.settings(SPEECH_DEFAULTS)
def test_speech_settings_ok_switches_the_engine_for_the_very_next_message(tavlo, desktop):
    tavlo.start()
    open_speech_settings(tavlo)
    # Engine box, then the two check boxes, cleared with the space bar.
    tavlo.keys("End", "Tab", "space", "Tab", "space", "Return")
    dialog_closed(tavlo, "音声設定")
    values = desktop.settings()
    assert (values["Opetion20"], values["Opetion17"], values["Opetion22"]) == (2, 0, 0)
    before = len(tavlo.heard())
    tavlo.keys("ctrl+7")
    tavlo.wait_spoken("16項目中1項目目")
    after = tavlo.heard()[before:]
    assert [c["engine"] for c in after if c["call"] in ("speak", "speakText")] == ["nvda"]


@pytest.mark.settings(SPEECH_DEFAULTS)
def test_speech_settings_cancel_and_close_store_nothing(tavlo, desktop):
    tavlo.start()
    for close in ("Escape", "alt+F4"):
        open_speech_settings(tavlo)
        tavlo.keys("End", "Tab", "space", "Tab", "space")
        state = dialog(tavlo)
        assert control(state, 101)["selection"] == 2
        assert (control(state, 106)["checked"], control(state, 107)["checked"]) == (0, 0)
        tavlo.keys(close)
        dialog_closed(tavlo, "音声設定")
        assert desktop.settings() == SPEECH_DEFAULTS, close
    tavlo.keys("ctrl+7")
    tavlo.wait_for(lambda: any(c["engine"] == "pctalker" and c["call"] == "speak" and c["text"] == "16項目中1項目目"
                               for c in tavlo.heard()), what="PC-Talker to speak the position")
    assert not [c for c in tavlo.heard() if c["engine"] == "nvda" and c["call"] == "speakText"]


@pytest.mark.settings({"Opetion20": 2})
def test_braille_switch_under_nvda_shows_each_new_state_on_the_display(tavlo):
    tavlo.start()
    tavlo.keys("alt+b")
    tavlo.wait_spoken("点字表示オン")
    tavlo.keys("alt+b")
    tavlo.wait_spoken("点字表示オフ")
    braille = [c["text"] for c in tavlo.heard() if c["call"] == "brailleMessage"]
    assert "点字表示オン" in braille
    assert braille[-1] == "点字表示オフ"
    # Switched off, later messages no longer reach the display.
    count = len(braille)
    tavlo.keys("ctrl+7")
    tavlo.wait_spoken("16項目中1項目目")
    assert len([c for c in tavlo.heard() if c["call"] == "brailleMessage"]) == count


@pytest.mark.settings({"Opetion20": 1})
def test_braille_switch_under_pctalker_is_spoken_without_calling_nvda(tavlo):
    tavlo.start()
    tavlo.keys("alt+b", "alt+b", settle=0.8)
    assert tavlo.spoken()[-2:] == ["点字表示オン", "点字表示オフ"]
    assert not [c for c in tavlo.heard() if c["engine"] == "nvda"]


@pytest.mark.settings({"Opetion20": 2, "Opetion0": 12, "Opetion15": 1})
def test_local_dialog_region_box_follows_hokkaido_and_ok_stores_both(tavlo, desktop):
    tavlo.start()
    open_local_dialog(tavlo)
    state = dialog(tavlo)
    assert control(state, 101)["items"] == PREFECTURES and control(state, 101)["selection"] == 12
    assert control(state, 102)["items"] == REGIONS and control(state, 102)["selection"] == 1
    assert not control(state, 102)["enabled"]
    tavlo.keys("Home")  # 北海道
    assert control(dialog(tavlo), 102)["enabled"]
    tavlo.keys("Down")  # 青森県
    assert not control(dialog(tavlo), 102)["enabled"]
    tavlo.keys("Home", "Tab", "Down", "Return")  # 北海道, then 道東 in the region box
    dialog_closed(tavlo, "都道府県選択")
    values = desktop.settings()
    assert (values["Opetion0"], values["Opetion15"]) == (0, 2)


@pytest.mark.settings({"Opetion20": 2, "Opetion0": 0, "Opetion15": 3})
def test_local_dialog_keeps_the_disabled_region_and_cancel_stores_nothing(tavlo, desktop):
    tavlo.start()
    open_local_dialog(tavlo)
    tavlo.keys("Down", "Escape")
    dialog_closed(tavlo, "都道府県選択")
    assert desktop.settings() == {"Opetion20": 2, "Opetion0": 0, "Opetion15": 3}
    tavlo.keys("Return")  # the same entry again
    wait_dialog(tavlo, "都道府県選択")
    tavlo.keys(*["Down"] * 12)  # 東京都
    assert not control(dialog(tavlo), 102)["enabled"]
    tavlo.keys("Return")
    dialog_closed(tavlo, "都道府県選択")
    values = desktop.settings()
    assert (values["Opetion0"], values["Opetion15"]) == (12, 3)


@pytest.mark.settings({"Opetion20": 2, "Opetion21": 0, "Opetion1": 1, "Opetion16": 1})
def test_general_settings_start_action_waits_for_the_next_start(tavlo, desktop):
    tavlo.start()
    open_general_settings(tavlo)
    state = dialog(tavlo)
    assert (control(state, 101)["checked"], control(state, 103)["checked"]) == (1, 1)
    assert control(state, 106)["checked"] == 1  # the main-text fallback, on by default
    assert control(state, 102)["items"] == START_ACTIONS and control(state, 102)["selection"] == 0
    # Clear the update check, choose the category menu as the first screen.
    tavlo.keys("space", "Tab", "End", "Return")
    dialog_closed(tavlo, "全般設定")
    values = desktop.settings()
    assert [values[n] for n in ("Opetion1", "Opetion21", "Opetion16", "Opetion0", "Opetion15", "Opetion23")] == [
        0, 5, 1, 12, 0, 1]
    # Nothing changes on the screen now: still the top menu.
    assert tavlo.view(100)["items"][:3] == ["操作マニュアル", "受信履歴", "ニュースカテゴリー選択"]
    # The dialog shows the stored choice, not the one this start began with.
    open_general_settings(tavlo)
    state = dialog(tavlo)
    assert control(state, 102)["selection"] == 5 and control(state, 101)["checked"] == 0
    tavlo.keys("Escape")
    dialog_closed(tavlo, "全般設定")
    tavlo.wait_for(lambda: tavlo.focus_id() == 100, what="the menu list to have the keyboard")
    tavlo.keys("alt+F4")
    tavlo.wait_exit()
    tavlo.start()
    assert tavlo.view(100)["items"][:2] == ["主要ニュース", "国内"]


@pytest.mark.settings({"Opetion20": 2, "Opetion21": 9, "Opetion0": 60, "Opetion15": 1})
def test_general_settings_ok_keeps_values_its_boxes_cannot_show(tavlo, desktop):
    tavlo.start()
    open_general_settings(tavlo)
    state = dialog(tavlo)
    assert control(state, 102)["selection"] == -1 and control(state, 104)["selection"] == -1
    tavlo.keys("Return")
    dialog_closed(tavlo, "全般設定")
    values = desktop.settings()
    assert (values["Opetion21"], values["Opetion0"], values["Opetion15"]) == (9, 60, 1)


def spoken_name(c):
    """What a screen reader calls a control: a button by its own text, a box without text of its
    own by the label right before it."""
    return c["name"] if c["class"] == "Button" else c["label"]


@pytest.mark.settings({"Opetion20": 2, "Opetion0": 0})
@pytest.mark.parametrize("opener, title, names", [
    (open_local_dialog, "都道府県選択", ["都道府県選択", "北海道地域選択", "OK", "CANCEL"]),
    (open_general_settings, "全般設定", ["起動時に更新チェックを行う", "起動直後の動作 :", "記事リストで各記事に番号を付ける",
                                     "都道府県選択", "北海道地域選択", "本文が見つからない記事はページから本文を探す",
                                     "OK", "CANCEL"]),
    (open_speech_settings, "音声設定", ["音声エンジン", "記事受信時に本文の読み上げを行う", "記事受信時に行数とリンク数を通知",
                                    "OK", "CANCEL"]),
])
def test_every_control_is_reached_by_tab_and_named_by_its_label(tavlo, opener, title, names):
    tavlo.start()
    opener(tavlo)
    heard = []
    for _ in range(len(names)):
        state = dialog(tavlo)
        heard.append(spoken_name(control(state, state["focus"])))
        tavlo.keys("Tab", settle=0.2)
    assert heard == names
    # The labels themselves are never seen; the general settings' start-action label is.
    for c in dialog(tavlo)["controls"]:
        if c["class"] == "Static" and c["text"] != "起動直後の動作 :":
            assert (c["size"]["width"], c["size"]["height"]) == (0, 0), c["text"]
        if c["class"] == "Button":
            assert c["name"] == c["text"]
            assert c["style"] & 0xF in (0, 1, 2), c["text"]  # push buttons and plain check boxes
    tavlo.keys("Escape")
