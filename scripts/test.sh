#!/usr/bin/env bash
# Installs what sorvel needs, builds it and runs every test. Each test starts its own Xvfb.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

sorvel_install_packages
sorvel_root_sandbox

echo "== tests" >&2
sorvel_build "$SORVEL_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
(cd "$SORVEL_ROOT/build" && ctest --output-on-failure --timeout 600)

echo "== fuzzing: each libFuzzer target for 60 s on the committed corpus" >&2
"$SORVEL_ROOT/bench/fuzz.sh" 60

echo "== the same tests under AddressSanitizer and UndefinedBehaviorSanitizer" >&2
sorvel_build "$SORVEL_ROOT/build-sanitize" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DSORVEL_SANITIZE=ON \
  -DSORVEL_BENCH=OFF
# new_delete_type_mismatch: Qt WebEngine's Chromium code frees objects with a sized delete of a
# base type; that library is not ours and not built with the sanitizer. Full unwinding lets the
# leak suppressions see which library allocated.
export ASAN_OPTIONS=new_delete_type_mismatch=0:detect_leaks=1:fast_unwind_on_malloc=0
export LSAN_OPTIONS=suppressions=$SORVEL_ROOT/tests/sanitizers/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
(cd "$SORVEL_ROOT/build-sanitize" && ctest --output-on-failure --timeout 900)
