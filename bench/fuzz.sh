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
  cp -r "$SORVEL_ROOT/tests/fuzz/corpus/$target/." "$work/"
  echo "== fuzz_$target for ${seconds}s" >&2
  # rss_limit: a 10 MB favorites line is fine; runaway growth is not.
  "$dir/fuzz_$target" -max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 \
    -print_final_stats=1 "$work" 2>&1 | grep -E '^(#[0-9]+ +DONE|stat::number_of_executed_units|stat::peak_rss_mb|==[0-9]+==ERROR|SUMMARY)' || true
  status=${PIPESTATUS[0]}
  rm -rf "$work"
  if [ "$status" -ne 0 ]; then
    echo "fuzz_$target failed (exit $status)" >&2
    exit "$status"
  fi
done
