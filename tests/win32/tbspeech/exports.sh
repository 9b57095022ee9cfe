#!/bin/sh
# Checks the export table of a built TBSpeech.dll: exactly the names and ordinals of the
# export definition file, undecorated, and no export without a name.
# Usage: exports.sh <objdump> <TBSpeech.dll> <TBSpeech.def>
set -e
objdump=$1 dll=$2 def=$3
table=$("$objdump" -p "$dll")
expected=$(sed -n 's/^ *\([A-Za-z_][A-Za-z0-9_]*\) *@\([0-9][0-9]*\).*/\2 \1/p' "$def" | sort -n)
base=$(echo "$table" | sed -n 's/^Export Address Table -- Ordinal Base *\([0-9]*\).*/\1/p')
# "[Ordinal/Name Pointer] Table" lists "[index] name"; the ordinal is the index plus the base.
actual=$(echo "$table" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[[[:space:]]*\([0-9]*\)\][[:space:]]*\([^[:space:]]*\).*/\1 \2/p' |
  while read -r index name; do echo "$((index + base)) $name"; done | sort -n)
addresses=$(echo "$table" | grep -c '+base\[' || true)
status=0
if [ -z "$base" ] || [ "$expected" != "$actual" ]; then
  printf 'exports differ from %s\nexpected:\n%s\nactual:\n%s\n' "$def" "$expected" "$actual"
  status=1
fi
if [ "$addresses" -ne "$(echo "$expected" | wc -l)" ]; then
  echo "$addresses exported addresses for $(echo "$expected" | wc -l) names"
  status=1
fi
[ $status -eq 0 ] && echo "exports:" $actual
exit $status
