#!/bin/sh
# Times the article extraction on every saved real article page and scores the texts it gives
# against the gold texts: the benchmark's time per page, then the scorer's table.
#   sh scripts/score-articles.sh          (after TAVLO_TREES=native sh scripts/build.sh)
set -e
ROOT=$(cd "$(dirname "$0")/.." && pwd)
ARTICLES=$ROOT/../shared/realworld/articles
if [ ! -d "$ARTICLES/pages" ]; then
  echo "no saved article pages in $ARTICLES: nothing to score"
  exit 0
fi
OUT=${TAVLO_ARTICLE_TEXTS:-$ROOT/build/native/article-texts}
rm -rf "$OUT"
mkdir -p "$OUT"
cd "$ROOT/build/native"  # the tests find their fixtures from here
TAVLO_ARTICLE_TEXTS=$OUT ./benchmarks --benchmark_filter='BM_ArticleText' \
  --benchmark_min_time=0.2 --benchmark_counters_tabular=true
/usr/bin/python3 "$ARTICLES/score.py" "$OUT" "$ARTICLES/gold" --skip-gold-title --nfkc
