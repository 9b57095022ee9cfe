#!/usr/bin/python3
"""Writes command.txt, the list of Tavlo's keyboard commands, from the menu bar "TBM" and the
accelerator table "TBAccelerator" of the resource script (with the names of the header it
includes), so that the list always says what the program does.
Usage: command_list.py tavlo.rc command.txt (Shift-JIS, CR LF)."""
import re
import sys
from pathlib import Path

# Commands that have a key but no item in the menu bar: what the key does.
KEY_ONLY = {
    502: "選択した項目を開く（メニュー、記事、本文の読み上げ開始）",
    521: "前の記事を開く（本文で）",
    522: "次の記事を開く（本文で）",
    544: "記事を順に続けて読み上げる",
    571: "コンテキストメニューを開く",
    572: "次の画面へ移動（メニュー、記事リスト、本文の順）",
    573: "前の画面へ移動",
    575: "ひとつ前の画面に戻る",
    576: "次の画面へ進む（本文では関連リンクを開く）",
    610: "フィードの追加（マイフィードの一覧で）",
    611: "名前の変更（マイフィードの一覧で）",
    613: "上へ移動（マイフィードの一覧で）",
    614: "下へ移動（マイフィードの一覧で）",
    615: "OPMLファイルの読み込み（マイフィードの一覧で）",
    616: "OPMLファイルへの書き出し（マイフィードの一覧で）",
}
# Keys that are taken so that nothing happens when they are pressed by mistake.
NO_OP = {1, 582, 590, 592, 593, 594, 595, 596, 598, 599}

VIRTUAL_KEYS = {
    "VK_RETURN": "Enter", "VK_BACK": "Backspace", "VK_DELETE": "Delete", "VK_TAB": "Tab",
    "VK_PRIOR": "Page Up", "VK_NEXT": "Page Down", "VK_LEFT": "左矢印", "VK_RIGHT": "右矢印",
    "VK_UP": "上矢印", "VK_DOWN": "下矢印", "VK_APPS": "アプリケーションキー", "VK_ESCAPE": "Esc",
}
HINT_KEYS = {"Back": "Backspace", "Control": "Ctrl", "Del": "Delete"}


class RcError(Exception):
    pass


def defines(rc_path, text):
    """The #define names of the headers the script includes from its own folder: {name: value}."""
    names = {}
    for header in re.findall(r'^#include\s+"([^"]+)"', text, re.M):
        path = Path(rc_path).parent / header
        if path.exists():
            for name, value in re.findall(r"^#define\s+(\w+)\s+(\S+)", path.read_text(encoding="utf-8"), re.M):
                names[name] = value
    return names


def number(token, names):
    """A command number written as a number or as a name of the header."""
    value = names.get(token, token)
    if not value.isdigit():
        raise RcError(f"{token} is not a command number")
    return int(value)


def block(text, name, kind, names):
    """The lines between BEGIN and its END of the resource "name kind"; the resource may be
    named by its own name or by a name of the header that stands for it."""
    aliases = [name] + [k for k, v in names.items() if v == f'"{name}"']
    match = re.search(rf"^(?:{'|'.join(aliases)})\s+{kind}\s*$", text, re.M)
    if not match:
        raise RcError(f"{name} {kind} not found")
    lines, depth = [], 0
    for line in text[match.end():].splitlines():
        word = line.strip()
        if word == "BEGIN":
            depth += 1
            if depth == 1:
                continue
        elif word == "END":
            depth -= 1
            if depth == 0:
                return lines
        if depth >= 1:
            lines.append(word)
    raise RcError(f"{name} {kind} has no END")


def parse_menu(text, names):
    """The menu bar as [(popup label, [(item text, shortcut hint, command)])]."""
    popups = []
    for line in block(text, "TBM", "MENU", names):
        popup = re.match(r'POPUP\s+"([^"]*)"', line)
        item = re.match(r'MENUITEM\s+"([^"]*)"\s*,\s*(\w+)', line)
        if popup:
            popups.append((popup.group(1), []))
        elif item:
            label, _, hint = item.group(1).partition("\\t")
            popups[-1][1].append((label, hint, number(item.group(2), names)))
    return popups


def parse_accelerators(text, names):
    """The accelerator table as [(key, command, flags)] in the order of the script."""
    accelerators = []
    for line in block(text, "TBAccelerator", "ACCELERATORS", names):
        if not line or line.startswith("//"):
            continue
        parts = [p.strip() for p in line.split(",")]
        accelerators.append((parts[0], number(parts[1], names), {p.upper() for p in parts[2:]}))
    return accelerators


def key_name(key, flags):
    """How a person names the key of one accelerator, such as "Ctrl+F1" or "Ctrl+B"."""
    if key.startswith('"^'):
        return "Ctrl+" + key[2:-1]  # a control character
    if key.startswith('"'):
        name = key[1:-1]
    elif re.fullmatch(r"VK_F\d+", key):
        name = key[3:]
    elif key.startswith("VK_NUMPAD"):
        name = "テンキーの" + key[len("VK_NUMPAD"):]
    elif key in VIRTUAL_KEYS:
        name = VIRTUAL_KEYS[key]
    else:
        raise RcError(f"no name for the key {key}")
    mods = [m for m, flag in (("Ctrl", "CONTROL"), ("Shift", "SHIFT"), ("Alt", "ALT")) if flag in flags]
    return "+".join(mods + [name])


def plain(label):
    """A menu text as it is read: "受信履歴に移動(&H)" becomes "受信履歴に移動(H)"."""
    return label.replace("&", "")


def hint_name(hint):
    return "+".join(HINT_KEYS.get(part, part) for part in hint.split("+"))


def render(rc_text, names):
    popups = parse_menu(rc_text, names)
    keys = {}
    for key, command, flags in parse_accelerators(rc_text, names):
        keys.setdefault(command, []).append(key_name(key, flags))
    in_menu = {command for _, items in popups for _, _, command in items}
    unknown = sorted(c for c in keys if c not in in_menu and c not in KEY_ONLY and c not in NO_OP)
    if unknown:
        raise RcError(f"commands with a key but no menu item or description: {unknown}")

    out = ["タブロ キーボードコマンド一覧", "",
           "タブロのメニューバーとショートカットキーの一覧です。",
           "各行は「コマンド名: キー」の形です。メニューバーは Alt キーで開き、",
           "括弧の中の英字でメニューと項目を選べます。", ""]
    for popup, items in popups:
        out.append(f"■{plain(popup)}メニュー")
        for label, hint, command in items:
            if command in keys:
                key = "、".join(keys[command])
            elif hint:
                key = hint_name(hint)
            else:
                key = "キーなし（メニューから選びます）"
            out.append(f"{plain(label)}: {key}")
        out.append("")
    out.append("■メニューにないキー")
    for command, text in KEY_ONLY.items():
        if command in keys:
            out.append(f"{text}: {'、'.join(keys[command])}")
    out.append("")
    out.append("■押しても何も起きないキー（誤操作を防ぐためのキーです）")
    out.append("、".join(k for command in sorted(NO_OP) for k in keys.get(command, [])))
    out.append("")
    return "\r\n".join(out)


def main(argv):
    with open(argv[1], encoding="utf-8") as f:
        rc_text = f.read()
    text = render(rc_text, defines(argv[1], rc_text))
    with open(argv[2], "wb") as f:
        f.write(text.encode("cp932"))


if __name__ == "__main__":
    try:
        main(sys.argv)
    except RcError as e:
        sys.exit(f"command_list.py: {e}")
