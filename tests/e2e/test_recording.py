"""News recording in one journey: articles reserved from the headline list and a scrapbook
article, the recording dialog with its list, deleting and renaming a reservation, the
conversion through the speech library (over the SAPI stand-in, since Wine's cannot render) and
the converter stand-in, an abort in the middle and a converter that fails."""
import shutil
import time

import pytest

from harness import BUILD, windows_path
from test_articles import open_category

SAPI_CLASSES = [r"HKCR\CLSID\{96749377-3391-11D2-9EE3-00C04F797396}\InprocServer32",
                r"HKCR\CLSID\{715D9C59-4442-11D2-9605-00C04F8EE628}\InprocServer32"]
WINE_SAPI = r"C:\windows\system32\Speech\Common\sapi.dll"


@pytest.fixture
def recorder(tavlo, tmp_path):
    """The converter stand-in as TBAudio\\TBAudio.exe, its log, and the SAPI stand-in."""
    shutil.copy(BUILD / "doubles-converter" / "TBAudio.exe", tavlo.folder / "TBAudio" / "TBAudio.exe")
    log = tmp_path / "converter.log"
    plain_env = tavlo.env
    tavlo.env = lambda: dict(plain_env(), TAVLO_CONVERTER_LOG=windows_path(log))
    for key in SAPI_CLASSES:
        tavlo.desktop.reg(["add", key, "/ve", "/d", windows_path(BUILD / "sapi_double.dll"), "/f"])
    yield log
    for key in SAPI_CLASSES:
        tavlo.desktop.reg(["add", key, "/ve", "/d", WINE_SAPI, "/f"])


def converter_runs(log):
    """(command line, show state) of every converter run."""
    if not log.exists():
        return []
    runs = []
    for line in log.read_text(encoding="utf-8").splitlines():
        _, _, _, text, show = line.split("\t")
        runs.append((text.replace("\\\\", "\\"), int(show)))
    return runs


def dialog(tavlo):
    return tavlo.probe("--dialog").get("dialog") or {}


def reservation_list(tavlo):
    """The lines of the recording dialog's list; [] when the dialog is not in front."""
    for control in dialog(tavlo).get("controls", []):
        if control.get("id") == 103:
            return control.get("items", [])
    return []


def listed(tavlo, count):
    return lambda: len(reservation_list(tavlo)) == count


def window_open(tavlo, title):
    return bool(tavlo.desktop.xdotool("search", "--name", f"^{title}$").split())


def files(folder, pattern):
    return sorted(p.name for p in folder.glob(pattern))


@pytest.mark.settings({"Opetion20": 2, "Opetion22": 0})
def test_reserve_edit_record_abort_and_a_failing_converter(site, tavlo, recorder):
    data = tavlo.desktop.data_folder()
    reserved, mp3 = data / "NewsText", data / "mp3"
    open_category(tavlo, 0, 3)

    # Three headlines: an article, a page without an article body (its whole text is kept) and
    # one that cannot be received.
    tavlo.keys("ctrl+m")
    tavlo.wait_for(lambda: tavlo.spoken().count("予約しました") == 1, timeout=30, what="the first reservation")
    assert files(reserved, "*") == ["記事一試験の記事.txt"]
    first = (reserved / "記事一試験の記事.txt").read_bytes()
    assert first.startswith("記事一試験の記事\r\n".encode("cp932")) and first.endswith(b"\0")
    assert "本文の一行目です。".encode("cp932") in first
    tavlo.keys("Down", "ctrl+m")
    tavlo.wait_for(lambda: tavlo.spoken().count("予約しました") == 2, timeout=30, what="the second reservation")
    tavlo.keys("Down", "ctrl+m")
    tavlo.wait_spoken("本文の受信ができませんでした", timeout=30)
    assert tavlo.spoken().count("予約しました") == 2
    assert files(reserved, "*.txt") == ["本文のない記事.txt", "記事一試験の記事.txt"]

    # The recording dialog lists both; Delete removes the selected one without asking.
    tavlo.keys("ctrl+r")
    tavlo.wait_for(listed(tavlo, 2), what="the recording dialog")
    assert dialog(tavlo)["title"] == "ニュース録音"
    doomed = reservation_list(tavlo)[0]
    tavlo.keys("Delete")
    tavlo.wait_spoken("削除しました")
    kept = [name for name in ["本文のない記事", "記事一試験の記事"] if name != doomed]
    assert reservation_list(tavlo) == kept
    assert files(reserved, "*.txt") == [kept[0] + ".txt"]

    # Space edits it: a new title saves it under the new name and removes the old file.
    tavlo.keys("space")
    tavlo.wait_for(lambda: window_open(tavlo, "編集"), what="the edit dialog")
    tavlo.keys("End", "space", "2", "Return")
    tavlo.wait_spoken("変更を保存しました")
    renamed = kept[0] + " 2"
    assert reservation_list(tavlo) == [renamed]
    assert files(reserved, "*.txt") == [renamed + ".txt"]

    # Enter starts the recording: one MP3 file, the wave file and the reservation gone, the
    # converter started hidden with the three quoted paths, and the closing message.
    tavlo.keys("Return")
    tavlo.wait_for(lambda: window_open(tavlo, "録音完了"), timeout=60, what="the closing message")
    box = dialog(tavlo)
    assert "録音作業が終了しました。" in " ".join(c.get("text", "") for c in box.get("controls", []))
    assert files(mp3, "*") == [renamed + ".mp3"]
    assert files(reserved, "*") == []
    program = windows_path(tavlo.folder)
    folder = "C:\\ProgramData\\Morvick\\Tavlo\\mp3\\"
    assert [(run.lower(), show) for run, show in converter_runs(recorder)] == [(
        f'"{program}\\TBAudio\\TBAudio.exe" "{folder}{renamed}.wav" "{folder}{renamed}.mp3"'.lower(), 0)]
    tavlo.keys("Return")
    tavlo.wait_for(lambda: not window_open(tavlo, "録音完了"), what="the message to close")

    # Closing the progress dialog during the first of two: that one is finished, the second
    # stays reserved and nothing more is said.
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")
    tavlo.keys("Up", "Up", "ctrl+m")
    tavlo.wait_for(lambda: tavlo.spoken().count("予約しました") == 3, timeout=30, what="a third reservation")
    tavlo.keys("Down", "ctrl+m")
    tavlo.wait_for(lambda: tavlo.spoken().count("予約しました") == 4, timeout=30, what="a fourth reservation")
    tavlo.set_control({"converter_delay_ms": 2000})
    tavlo.keys("ctrl+r")
    tavlo.wait_for(listed(tavlo, 2), what="the recording dialog again")
    first_name = reservation_list(tavlo)[0]
    tavlo.keys("Return")
    tavlo.wait_for(lambda: len(converter_runs(recorder)) == 2, timeout=30, what="the converter to start")
    tavlo.keys("alt+F4")
    tavlo.wait_for(listed(tavlo, 1), timeout=30, what="the first to be finished")
    time.sleep(1)
    assert not window_open(tavlo, "録音完了")
    assert len(converter_runs(recorder)) == 2
    assert first_name + ".mp3" in files(mp3, "*")
    second_name = reservation_list(tavlo)[0]
    assert files(reserved, "*") == [second_name + ".txt"]

    # A converter that fails: the wave file stays and the message says so.
    tavlo.set_control({"converter_exit": 1, "converter_writes": 0})
    tavlo.keys("Return")
    tavlo.wait_for(lambda: window_open(tavlo, "録音完了"), timeout=60, what="the closing message")
    text = " ".join(c.get("text", "") for c in dialog(tavlo).get("controls", []))
    assert "1件中1件の記事はMP3ファイルに変換できなかったため、Waveファイルのまま保存しました。" in text
    assert second_name + ".wav" in files(mp3, "*") and second_name + ".mp3" not in files(mp3, "*")
    assert files(reserved, "*") == []
    tavlo.keys("Return")

    # A scrapbook article is reserved under its own name, its text copied; the body view
    # shows the article afterwards.
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")
    saved = data / "ScrapBook" / "ScrapBook" / "保存した記事.txt"
    saved.write_bytes("保存した記事の本文です。\r\n".encode("cp932") + b"\0")
    tavlo.keys("F8")
    tavlo.wait_for(lambda: any("保存した記事" in item for item in tavlo.view(101)["items"]),
                   what="the scrapbook's articles")
    tavlo.keys("ctrl+m")
    tavlo.wait_for(lambda: tavlo.spoken().count("予約しました") == 5, timeout=30, what="the scrapbook reservation")
    assert "保存した記事の本文です。".encode("cp932") in (reserved / "保存した記事.txt").read_bytes()
