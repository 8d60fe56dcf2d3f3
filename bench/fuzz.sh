#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for SECONDS (default 60) on a copy of the
# committed corpus; exits non-zero on the first crash or sanitizer report.
# usage: bench/fuzz.sh [SECONDS]
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/common.sh"
seconds="${1:-60}"
dir="$SORVEL_ROOT/build-fuzz"
cmake -S "$SORVEL_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_COMPILER=clang++ -DSORVEL_FUZZ=ON -DSORVEL_TESTS=OFF -DSORVEL_BENCH=OFF >/dev/null
cmake --build "$dir" --target fuzz_favorites fuzz_smoother
for target in favorites smoother; do
  work="$(mktemp -d)"
  mkdir "$work/corpus"
  cp -r "$SORVEL_ROOT/tests/fuzz/corpus/$target/." "$work/corpus/"
  echo "== fuzz_$target for ${seconds}s" >&2
  # rss_limit: a 10 MB favorites line is fine; runaway growth is not.
  status=0
  (cd "$work" && "$dir/fuzz_$target" -max_total_time="$seconds" -max_len=65536 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/" corpus >"$work/log" 2>&1) ||
    status=$?
  grep -E '^(stat::number_of_executed_units|stat::peak_rss_mb|.*ERROR|SUMMARY)' "$work/log" >&2 || true
  if [ "$status" -ne 0 ]; then
    tail -n 40 "$work/log" >&2
    for crash in "$work"/crash-* "$work"/leak-* "$work"/timeout-*; do
      [ -e "$crash" ] && echo "input that failed ($crash):" >&2 && xxd "$crash" | head -n 20 >&2
    done
  fi
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$target failed (exit $status)" >&2
    exit "$status"
  fi
done
