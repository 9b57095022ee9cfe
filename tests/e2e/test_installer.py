"""What a Windows user downloads: the zips hold the program folder, the installer puts Tavlo into
Program Files with shortcuts that start it in its own folder, Tavlo runs from there, and the
uninstaller takes the program away but leaves the user's data and settings."""
import struct
import zipfile

import pytest

from harness import BUILD, PROGRAM, ROOT, SETTINGS_KEY, Tavlo

DIST = ROOT / "build" / "dist"
VERSION = "11.39"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Tavlo"


def shell_link(path):
    """(target, working folder) of a .lnk file, read from its link info and string data."""
    data = path.read_bytes()
    flags = struct.unpack_from("<I", data, 0x14)[0]
    pos = 0x4C
    if flags & 0x01:  # target id list
        pos += 2 + struct.unpack_from("<H", data, pos)[0]
    target = ""
    if flags & 0x02:  # link info: the local base path
        size, header = struct.unpack_from("<II", data, pos)
        base_offset = struct.unpack_from("<I", data, pos + 16)[0]
        if base_offset:
            end = data.index(b"\0", pos + base_offset)
            target = data[pos + base_offset:end].decode("cp932")
        pos += size
    unicode = bool(flags & 0x80)
    strings = {}
    for bit, name in ((0x04, "name"), (0x08, "relative"), (0x10, "workdir"), (0x20, "args"), (0x40, "icon")):
        if flags & bit:
            count = struct.unpack_from("<H", data, pos)[0]
            width = 2 if unicode else 1
            raw = data[pos + 2:pos + 2 + count * width]
            strings[name] = raw.decode("utf-16-le" if unicode else "cp932").rstrip("\0")
            pos += 2 + count * width
    return target, strings.get("workdir", "")


def program_files(folder):
    return sorted(str(p.relative_to(folder)) for p in folder.rglob("*") if p.is_file())


def test_zips_hold_the_program_folder():
    for arch in ("win64", "win32"):
        path = DIST / f"Tavlo-{VERSION}-{arch}.zip"
        assert path.is_file(), f"{path} is missing: run sh scripts/package.sh"
        names = zipfile.ZipFile(path).namelist()
        for name in ("Tavlo.exe", "TBSpeech.dll", "TBAudio/TBAudio.exe", "News/Tavlo.menu", "manual.txt",
                     "command.txt"):
            assert "Tavlo/" + name in names, name
        assert (DIST / f"Tavlo-{VERSION}-{arch}-setup.exe").is_file()
    built = program_files(PROGRAM)
    assert sorted(n[len("Tavlo/"):] for n in zipfile.ZipFile(DIST / f"Tavlo-{VERSION}-win64.zip").namelist()
                  if not n.endswith("/")) == built


def test_install_start_and_uninstall_keeping_the_data(desktop, tmp_path):
    setup = DIST / f"Tavlo-{VERSION}-win64-setup.exe"
    assert setup.is_file(), f"{setup} is missing: run sh scripts/package.sh"
    drive = desktop.workdir / "wineprefix" / "drive_c"
    installed = drive / "Program Files" / "Tavlo"
    assert desktop.run(["wine", str(setup), "/S"], timeout=180).returncode == 0

    # Every file of the program folder, and the uninstaller.
    assert program_files(installed) == sorted(program_files(PROGRAM) + ["Uninstall.exe"])
    shortcut = drive / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs" / "タブロ" / "タブロ.lnk"
    target, workdir = shell_link(shortcut)
    assert target.lower() == r"c:\program files\tavlo\tavlo.exe"
    assert workdir.lower() == r"c:\program files\tavlo"
    assert shell_link(drive / "users" / "Public" / "Desktop" / "タブロ.lnk")[1].lower() == r"c:\program files\tavlo"
    assert "Tavlo" in desktop.reg(["query", UNINSTALL_KEY, "/v", "DisplayName"]).stdout.decode("utf-8", "replace")

    # Tavlo starts in its installed folder, with the screen-reader library the user puts beside it.
    for library in ("PCTKUSR64.dll", "nvdaControllerClient64.dll"):
        (installed / library).write_bytes((BUILD / library).read_bytes())
    desktop.reset_settings({"Opetion20": 2})
    run = Tavlo(desktop, tmp_path, folder=installed).start()
    try:
        assert run.view(100)["items"][0] == "操作マニュアル"  # the menus were found beside it
        saved = desktop.data_folder() / "ScrapBook" / "ScrapBook" / "saved.txt"
        saved.write_bytes("残しておく記事\r\n\0".encode("cp932"))
        run.keys("alt+F4")
        assert run.wait_exit() == 0
        assert run.spoken()[-1] == "タブロを終了します"
    finally:
        run.kill()
    for library in ("PCTKUSR64.dll", "nvdaControllerClient64.dll"):
        (installed / library).unlink()

    # The uninstaller hands over to a copy of itself and returns; wait for the folder to go.
    assert desktop.run(["wine", str(installed / "Uninstall.exe"), "/S"], timeout=120).returncode == 0
    run.wait_for(lambda: not installed.exists(), timeout=60, what="the program folder to be removed")
    assert not shortcut.exists() and not shortcut.parent.exists()
    assert desktop.reg(["query", UNINSTALL_KEY]).returncode != 0
    # The user's data and settings stay.
    assert saved.read_bytes() == "残しておく記事\r\n\0".encode("cp932")
    assert desktop.settings().get("Opetion20") == 2
    saved.unlink()  # later tests of this session share the prefix and its data folder
