#!/usr/bin/env bash
# Installs what sorvel needs, builds it and starts it. Without a display it starts a virtual one,
# lets the start page load and saves a screenshot instead.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

sorvel_install_packages
sorvel_build "$SORVEL_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
sorvel_root_sandbox

if [ -n "${DISPLAY:-}" ]; then
  exec "$SORVEL_ROOT/build/sorvel"
fi

trap sorvel_stop_xvfb EXIT
sorvel_start_xvfb
work="$(mktemp -d)"
mkdir -p "$work/home" "$work/runtime"
chmod 700 "$work/runtime"
HOME="$work/home" XDG_RUNTIME_DIR="$work/runtime" "$SORVEL_ROOT/build/sorvel" &
pid=$!
sleep "${SORVEL_SCREENSHOT_DELAY:-6}"
mkdir -p "$SORVEL_ROOT/screenshots"
shot="$SORVEL_ROOT/screenshots/sorvel.png"
# The caption turns to "Sorvel v0.13 - <title>" once the start page has loaded.
win="$(timeout 60 xdotool search --sync --pid "$pid" --name '^Sorvel v' | head -n1)"
sleep 1
import -window "$win" "$shot"
kill "$pid" 2>/dev/null || true
wait "$pid" 2>/dev/null || true
echo "sorvel ran on a virtual display; screenshot: $shot"
