#!/bin/sh
# Fails when program code includes a folder above its own. The folders, from the ground up:
#   win  retrieval  library  speech  recording  app
# tbspeech/ (the speech library, a program of its own) stands beside library/: it includes
# only win/, and recording/ and app/ include its header.
# A folder may include its own files and those of the folders below it; resources/resource.h
# (names only) may be included from anywhere. See the README's Layout.
# app/ is ranked the same way inside, room by room, from the ground up:
#   state  article  scrapbook  tasks  lists  window
# A file of a room that has no rank here (a room not yet added below) fails, as an upward
# include would.
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
cd "$ROOT"
rank() {
  case $1 in
    resources) echo 0 ;;
    win) echo 1 ;;
    tbspeech) echo 2 ;;  # the speech library, a deliverable of its own: beside retrieval/
    retrieval) echo 2 ;;
    library) echo 3 ;;
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
room_rank() {
  case $1 in
    state) echo 1 ;;
    article) echo 2 ;;
    scrapbook) echo 3 ;;
    tasks) echo 4 ;;
    lists) echo 5 ;;
    window) echo 6 ;;
    *) echo 99 ;;
  esac
}
for file in $(find app -name '*.h' -o -name '*.cpp' | sort); do
  room=$(echo "$file" | sed -n 's|^app/\([a-z]*\)/.*|\1|p')
  own=$(room_rank "$room")
  if [ "$own" -eq 99 ]; then
    echo "layering: $file lies in no room of app/ (see the rooms above)"
    bad=1
    continue
  fi
  for included in $(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"app\/\([a-z]*\)\/.*/\1/p' "$file" | sort -u); do
    if [ "$included" != "$room" ] && [ "$(room_rank "$included")" -ge "$own" ]; then
      echo "layering: $file includes app/$included/ (above app/$room/)"
      grep -n "#include \"app/$included/" "$file" | sed 's/^/    /'
      bad=1
    fi
  done
done
if [ $bad -ne 0 ]; then
  echo "layering: a folder or a room of app/ includes one above it; see the Layout section of README.md"
  exit 1
fi
echo "layering: no upward include between folders or the rooms of app/"
