#!/bin/sh
# Makes what a Windows user downloads: for x86_64 and i686 the program folder as a zip and an
# installer, in build/dist. Builds the two Windows trees first (TAVLO_PACKAGE_NOBUILD=1 skips it).
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
B=$ROOT/build
DIST=$B/dist
VERSION=11.39
[ -n "$TAVLO_PACKAGE_NOBUILD" ] || TAVLO_TREES="win64 win32" sh "$ROOT/scripts/build.sh"
command -v makensis >/dev/null || { echo "package.sh: makensis is missing (sh scripts/setup.sh installs it)" >&2; exit 1; }
mkdir -p "$DIST"

# One File line per file and one Delete line per file, directories removed deepest first.
write_lists() {  # program folder, files.nsh, unfiles.nsh
  # printf, not echo: the shell's echo would turn "\\r" of "News\\rss.txt" into a carriage return.
  winpath() { printf '%s' "$1" | sed 's#^\./##; s#^\.$##' | tr / '\\'; }
  (cd "$1" && find . -type d | sort) | while read -r d; do
    sub=$(winpath "$d")
    printf 'SetOutPath "$INSTDIR%s"\n' "${sub:+\\$sub}"
    (cd "$1/$d" && find . -maxdepth 1 -type f | sort) | while read -r f; do
      printf 'File "%s"\n' "$1/$d/${f#./}"
    done
  done > "$2"
  {
    (cd "$1" && find . -type f | sort) | while read -r f; do
      printf 'Delete "$INSTDIR\\%s"\n' "$(winpath "$f")"
    done
    (cd "$1" && find . -mindepth 1 -type d | sort -r) | while read -r d; do
      printf 'RMDir "$INSTDIR\\%s"\n' "$(winpath "$d")"
    done
  } > "$3"
}

for arch in win64 win32; do
  folder=$B/$arch/Tavlo
  [ -f "$folder/Tavlo.exe" ] || { echo "package.sh: $folder/Tavlo.exe is missing" >&2; exit 1; }
  rm -f "$DIST/Tavlo-$VERSION-$arch.zip"
  (cd "$B/$arch" && zip -q -r "$DIST/Tavlo-$VERSION-$arch.zip" Tavlo)
  lists=$B/$arch/installer
  mkdir -p "$lists"
  write_lists "$folder" "$lists/files.nsh" "$lists/unfiles.nsh"
  makensis -V2 -INPUTCHARSET UTF8 -DARCH=$arch -DFILES="$lists/files.nsh" -DUNFILES="$lists/unfiles.nsh" \
    -DOUTFILE="$DIST/Tavlo-$VERSION-$arch-setup.exe" "$ROOT/installer/tavlo.nsi"
  echo "== $DIST/Tavlo-$VERSION-$arch.zip and Tavlo-$VERSION-$arch-setup.exe"
done
