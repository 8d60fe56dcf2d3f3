#!/usr/bin/env bash
# cmake --install into a fresh prefix: the program and its page side by side, a menu entry that
# starts that program, and the icon the entry names.
# usage: tests/install_test.sh BUILD_DIR
set -euo pipefail
prefix="$(mktemp -d)"
trap 'rm -rf "$prefix"' EXIT
cmake --install "$1" --prefix "$prefix" >/dev/null
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -x "$prefix/lib/sorvel/sorvel" ] || fail "no program in lib/sorvel"
[ -f "$prefix/lib/sorvel/sorvel.html" ] || fail "no sorvel.html beside the program"
desktop="$prefix/share/applications/sorvel.desktop"
[ -f "$desktop" ] || fail "no desktop entry"
grep -qx "Exec=\"$prefix/lib/sorvel/sorvel\"" "$desktop" || fail "desktop entry starts another program"
grep -qx "Icon=sorvel" "$desktop" || fail "desktop entry names another icon"
[ -f "$prefix/share/icons/hicolor/scalable/apps/sorvel.svg" ] || fail "no icon"
if command -v desktop-file-validate >/dev/null; then desktop-file-validate "$desktop"; fi
echo "1 passed, 0 failed"
