#!/bin/sh
# Copies the menu definition, category and help files into a program folder, converted from
# UTF-8 to Shift-JIS with CR LF line ends (the program reads them with the ANSI functions), and
# writes the list of keyboard commands beside them.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
SRC=$1
DEST=$2
cd "$SRC"
find . -type f ! -name '*.md' | while read -r f; do
  mkdir -p "$DEST/$(dirname "$f")"
  sed 's/\r$//; s/$/\r/' "$f" | iconv -f UTF-8 -t CP932 > "$DEST/$f.tmp"
  mv "$DEST/$f.tmp" "$DEST/$f"
done
# The list of keyboard commands, made from the program's own menu bar and accelerator table.
/usr/bin/python3 "$ROOT/scripts/command_list.py" "$ROOT/resources/tavlo.rc" "$DEST/command.txt.tmp"
mv "$DEST/command.txt.tmp" "$DEST/command.txt"
