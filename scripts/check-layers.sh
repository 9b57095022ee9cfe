#!/bin/sh
# Fails when program code includes a folder above its own. The folders, from the ground up:
#   win  library  retrieval  speech  recording  app
# tbspeech/ (the speech library, a program of its own) stands beside library/: it includes
# only win/, and recording/ and app/ include its header.
# A folder may include its own files and those of the folders below it; resources/resource.h
# (names only) may be included from anywhere. See the README's Layout.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
rank() {
  case $1 in
    resources) echo 0 ;;
    win) echo 1 ;;
    tbspeech) echo 2 ;;
    library) echo 2 ;;
    retrieval) echo 3 ;;
    speech) echo 4 ;;
    recording) echo 5 ;;
    app) echo 6 ;;
    *) echo 99 ;;
  esac
}
bad=0
for dir in win tbspeech library retrieval speech recording app; do
  own=$(rank "$dir")
  for file in $(find "$dir" -name '*.h' -o -name '*.cpp' | sort); do
    for included in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z]*\)\/.*/\1/p' "$file" | sort -u); do
      if [ "$included" != "$dir" ] && [ "$(rank "$included")" -ge "$own" ]; then
        echo "layering: $file includes $included/ (above $dir/)"
        grep -n "#include \"$included/" "$file" | sed 's/^/    /'
        bad=1
      fi
    done
  done
done
if [ $bad -ne 0 ]; then
  echo "layering: a folder includes one above it; see the Layout section of README.md"
  exit 1
fi
echo "layering: no upward include"
