"""News recording in one journey: an article reserved from the body view, a related page and a
scrapbook article, a reservation that cannot be written, the recording dialog with its list,
deleting and renaming a reservation, the conversion through the speech library (over the SAPI
stand-in, since Wine's cannot render) and the converter stand-in, an abort in the middle and a
converter that fails. The article and its related page come from the local HTTPS site
(testing/site/fixtures/related)."""
import shutil

import pytest

from harness import BUILD, windows_path
from test_related import SETTINGS, body, follow, lines, open_article, wait_read

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


def selected(tavlo):
    """The selected line of the recording dialog's list, or None."""
    for control in dialog(tavlo).get("controls", []):
        if control.get("id") == 103 and 0 <= control.get("selection", -1) < len(control.get("items", [])):
            return control["items"][control["selection"]]
    return None


def listed(tavlo, count):
    return lambda: len(reservation_list(tavlo)) == count


def window_open(tavlo, title):
    return bool(tavlo.desktop.xdotool("search", "--name", f"^{title}$").split())


def files(folder, pattern):
    return sorted(p.name for p in folder.glob(pattern))


def reserve(tavlo, count, what):
    """Ctrl+M, then waits until "予約しました" has been said count times in all."""
    tavlo.keys("ctrl+m")
    tavlo.wait_for(lambda: tavlo.spoken().count("予約しました") == count, timeout=30, what=what)


def select_item(tavlo, name):
    """Selects the headline list's line that holds name."""
    def index():
        items = tavlo.view(101)["items"]
        return next((n + 1 for n, item in enumerate(items) if name in item), None)
    tavlo.keys("Home", *(["Down"] * (tavlo.wait_for(index, what=f"'{name}' in the list") - 1)))


def converted(program, name):
    """The converter's command line for the reservation name."""
    folder = "C:\\ProgramData\\Morvick\\Tavlo\\mp3\\"
    return (f'"{program}\\TBAudio\\TBAudio.exe" "{folder}{name}.wav" "{folder}{name}.mp3"'.lower(), 0)


@pytest.mark.settings(SETTINGS)
def test_reserve_edit_record_abort_and_a_failing_converter(site, tavlo, recorder):
    data = tavlo.desktop.data_folder()
    reserved, mp3 = data / "NewsText", data / "mp3"
    scrapbook = data / "ScrapBook" / "ScrapBook"
    open_article(tavlo)
    for name in ["保存した記事", "もう一つの記事", "三つ目の記事"]:
        (scrapbook / f"{name}.txt").write_bytes(f"{name}の本文です。\r\n".encode("cp932") + b"\0")

    # A reservation that cannot be written (the folder is a file) is said to have failed.
    reserved.rmdir()
    reserved.write_bytes(b"")
    tavlo.keys("ctrl+m")
    tavlo.wait_spoken("録音予約ができませんでした", timeout=30)
    assert "予約しました" not in tavlo.spoken()
    reserved.unlink()
    reserved.mkdir()

    # From the body view: the article received again, its headline first and a zero byte last.
    reserve(tavlo, 1, "the article's reservation")
    assert files(reserved, "*") == ["関連の元記事.txt"]
    article = (reserved / "関連の元記事.txt").read_bytes()
    assert article.startswith("関連の元記事\r\n".encode("cp932")) and article.endswith(b"\0")
    assert "元記事の本文です。".encode("cp932") in article

    # A related page: its link's text becomes the title line of the body view and the name.
    wait_read(tavlo, follow(tavlo))
    reserve(tavlo, 2, "the related page's reservation")
    assert lines(body(tavlo))[:2] == ["一段目の記事", "一段目の本文です。"]
    page = (reserved / "一段目の記事.txt").read_bytes()
    assert page.startswith("一段目の記事\r\n".encode("cp932")) and "一段目の本文です。".encode("cp932") in page

    # A scrapbook article is copied under its own name; the body view shows it afterwards.
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the headline list")
    tavlo.keys("F8")
    select_item(tavlo, "保存した記事")
    reserve(tavlo, 3, "the scrapbook reservation")
    assert "保存した記事の本文です。".encode("cp932") in (reserved / "保存した記事.txt").read_bytes()
    assert "保存した記事の本文です。" in body(tavlo)

    # The recording dialog lists all three; Delete removes the selected one without asking.
    three = ["一段目の記事", "保存した記事", "関連の元記事"]
    tavlo.keys("ctrl+r")
    tavlo.wait_for(listed(tavlo, 3), what="the recording dialog")
    assert dialog(tavlo)["title"] == "ニュース録音"
    assert sorted(reservation_list(tavlo)) == three
    doomed = reservation_list(tavlo)[0]
    tavlo.keys("Delete")
    tavlo.wait_spoken("削除しました")
    kept = [name for name in reservation_list(tavlo)]
    assert sorted(kept) == [name for name in three if name != doomed]
    assert files(reserved, "*.txt") == sorted(name + ".txt" for name in kept)

    # Space edits the selected one: a new title saves it under the new name, the old file goes.
    tavlo.keys("space")
    tavlo.wait_for(lambda: window_open(tavlo, "編集"), what="the edit dialog")
    tavlo.keys("End", "space", "2", "Return")
    tavlo.wait_spoken("変更を保存しました")
    names = [kept[0] + " 2", kept[1]]
    assert reservation_list(tavlo) == names
    assert files(reserved, "*.txt") == sorted(name + ".txt" for name in names)

    # Enter starts the recording: one MP3 file each, the wave files and the reservations gone,
    # the converter started hidden with the three quoted paths, and the closing message.
    tavlo.keys("Return")
    tavlo.wait_for(lambda: window_open(tavlo, "録音完了"), timeout=60, what="the closing message")
    box = dialog(tavlo)
    assert "録音作業が終了しました。" in " ".join(c.get("text", "") for c in box.get("controls", []))
    assert files(mp3, "*") == sorted(name + ".mp3" for name in names)
    assert files(reserved, "*") == []
    program = windows_path(tavlo.folder)
    assert [(run.lower(), show) for run, show in converter_runs(recorder)] == [converted(program, n) for n in names]
    tavlo.keys("Return")
    tavlo.wait_for(lambda: not window_open(tavlo, "録音完了"), what="the message to close")

    # The progress dialog has no buttons: Enter there does nothing. Closing it during the first
    # of three says that the recording is being stopped until the worker has stopped; that one
    # is finished, the others stay reserved, the selected line stays selected and nothing more
    # is said.
    tavlo.keys("Escape")
    tavlo.wait_for(lambda: tavlo.focus_id() == 101, what="the scrapbook's articles")
    for count, name in enumerate(["保存した記事", "もう一つの記事", "三つ目の記事"], start=4):
        select_item(tavlo, name)
        reserve(tavlo, count, f"reservation {count}")
    tavlo.set_control({"converter_delay_ms": 6000})
    tavlo.keys("ctrl+r")
    tavlo.wait_for(listed(tavlo, 3), what="the recording dialog again")
    first_name, _, chosen = reservation_list(tavlo)
    tavlo.keys("End")
    tavlo.wait_for(lambda: selected(tavlo) == chosen, what="the last line selected")
    tavlo.keys("Return")
    tavlo.wait_for(lambda: len(converter_runs(recorder)) == 3, timeout=30, what="the converter to start")
    tavlo.wait_for(lambda: dialog(tavlo).get("title") == "ニュース録音中", what="the progress dialog")
    tavlo.keys("Return")
    assert dialog(tavlo).get("title") == "ニュース録音中" and not window_open(tavlo, "録音完了")
    tavlo.keys("alt+F4")
    stopping = tavlo.wait_for(lambda: dialog(tavlo).get("title") == "録音の中断" and dialog(tavlo),
                              what="the stopping notice")
    assert "録音作業の中断処理を行っています。" in [c.get("text") for c in stopping.get("controls", [])]
    assert len(converter_runs(recorder)) == 3
    tavlo.wait_for(lambda: dialog(tavlo).get("title") == "ニュース録音", timeout=30, what="the worker to stop")
    tavlo.wait_for(listed(tavlo, 2), timeout=30, what="the first to be finished")
    assert selected(tavlo) == chosen
    assert not window_open(tavlo, "録音完了")
    assert len(converter_runs(recorder)) == 3
    assert first_name + ".mp3" in files(mp3, "*")
    left = reservation_list(tavlo)
    assert files(reserved, "*") == sorted(name + ".txt" for name in left)

    # A converter that fails: the wave files stay and the message says so.
    tavlo.set_control({"converter_exit": 1, "converter_writes": 0})
    tavlo.keys("Return")
    tavlo.wait_for(lambda: window_open(tavlo, "録音完了"), timeout=60, what="the closing message")
    text = " ".join(c.get("text", "") for c in dialog(tavlo).get("controls", []))
    assert "2件中2件の記事はMP3ファイルに変換できなかったため、Waveファイルのまま保存しました。" in text
    for name in left:
        assert name + ".wav" in files(mp3, "*") and name + ".mp3" not in files(mp3, "*")
    assert files(reserved, "*") == []
    tavlo.keys("Return")
