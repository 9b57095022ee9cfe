"""The help files of the program folder: the manual, and the command list made from the
program's own menu bar and accelerator table, so that it names every key the program has."""
import importlib.util
import re
import subprocess
import sys

from harness import PROGRAM, ROOT

RC = ROOT / "resources" / "tavlo.rc"
GENERATOR = ROOT / "scripts" / "command_list.py"


def generator():
    spec = importlib.util.spec_from_file_location("command_list", GENERATOR)
    module = importlib.util.module_from_spec(spec)
    spec.loader.exec_module(module)
    return module


def shipped(name):
    data = (PROGRAM / name).read_bytes()
    assert b"\n" not in data.replace(b"\r\n", b""), f"{name}: every line ends in CR LF"
    return data.decode("cp932").split("\r\n")


def test_command_list_names_every_accelerator_with_its_command():
    gen = generator()
    rc = RC.read_text(encoding="utf-8")
    names = gen.defines(RC, rc)
    lines = shipped("command.txt")
    labels = {command: gen.plain(label) for _, items in gen.parse_menu(rc, names) for label, _, command in items}
    accelerators = gen.parse_accelerators(rc, names)
    assert len(accelerators) > 80
    for key, command, flags in accelerators:
        name = gen.key_name(key, flags)
        if command in gen.NO_OP:
            assert any(name in line.split("、") for line in lines), name
            continue
        text = labels.get(command) or gen.KEY_ONLY[command]
        matching = [line for line in lines if line.startswith(text + ": ")]
        assert matching, f"no line for command {command} ({text})"
        assert name in matching[0].split(": ", 1)[1].split("、"), f"{name} missing for {text}"
    # What a person looks for, spelled as people spell it.
    for line in ("受信履歴に移動(H): Ctrl+F1", "お気に入りに登録(A): Ctrl+F2", "お気に入り一覧(L): F2",
                 "ブラウザーで開く(B): Ctrl+B", "操作マニュアル(M): F1", "名前を付けてテキスト保存(A): Ctrl+Shift+S",
                 "先頭から全文読み上げ(1): Ctrl+1、Ctrl+テンキーの1", "前の関連ページに戻る(B): Backspace",
                 "録音した音声ファイルの保存先を開く(E): キーなし（メニューから選びます）",
                 "コンテキストメニューを開く: アプリケーションキー"):
        assert line in lines
    assert "■お気に入り(F)メニュー" in lines


def test_a_key_that_the_list_cannot_describe_stops_the_build(tmp_path):
    rc = RC.read_text(encoding="utf-8")
    changed = re.sub(r"(ACCELERATORS\nBEGIN\n)", r"\1  VK_F12, 545, VIRTKEY\n", rc)
    assert changed != rc
    (tmp_path / "tavlo.rc").write_text(changed, encoding="utf-8")
    for header in RC.parent.glob("*.h"):
        (tmp_path / header.name).write_bytes(header.read_bytes())
    run = subprocess.run([sys.executable, str(GENERATOR), str(tmp_path / "tavlo.rc"), str(tmp_path / "out.txt")],
                         capture_output=True, text=True)
    assert run.returncode != 0
    assert "545" in run.stderr
    assert not (tmp_path / "out.txt").exists()


def test_manual_is_in_the_program_folder_in_shift_jis():
    lines = shipped("manual.txt")
    assert lines[0] == "タブロ 操作マニュアル"
    for heading in ("■起動と終了", "■画面の構成", "■読み上げ", "■設定", "■読み上げに使うスクリーンリーダー",
                    "■データの保存場所"):
        assert heading in lines
