# Shared by the scripts: the packages sorvel needs, their installation, the build.
# shellcheck shell=bash

SORVEL_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

SORVEL_PACKAGES=(
  build-essential cmake ninja-build clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-base-private-dev qt6-webengine-dev qt6-webengine-dev-tools qt6-svg-dev
  qt6-declarative-dev libqt6opengl6-dev qt6-qpa-plugins libx11-dev
  xvfb xauth xdotool x11-utils imagemagick twm
  fonts-noto-cjk libgl1-mesa-dri python3
)

# Installs whatever of the list is missing; apt-get update first, and only when something is.
sorvel_install_packages() {
  local missing=()
  local p
  for p in "${SORVEL_PACKAGES[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
      missing+=("$p")
    fi
  done
  if [ ${#missing[@]} -eq 0 ]; then
    return 0
  fi
  echo "sorvel: installing ${missing[*]}" >&2
  local sudo=""
  if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
  $sudo apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

# Qt WebEngine refuses to start as root with its sandbox on; only a root run turns it off.
sorvel_root_sandbox() {
  if [ "$(id -u)" -eq 0 ]; then
    export QTWEBENGINE_DISABLE_SANDBOX=1
    echo "sorvel: running as root, so QTWEBENGINE_DISABLE_SANDBOX=1 (Chromium's sandbox is off)" >&2
  fi
}

# sorvel_build DIR [cmake options...]
sorvel_build() {
  local dir="$1"
  shift
  cmake -S "$SORVEL_ROOT" -B "$dir" -G Ninja "$@"
  cmake --build "$dir" --parallel "$(nproc)"
}

# Starts Xvfb on a free display and exports DISPLAY; the caller stops it with sorvel_stop_xvfb.
sorvel_start_xvfb() {
  local fdfile
  fdfile="$(mktemp)"
  Xvfb -displayfd 3 -screen 0 1280x800x24 -noreset -nolisten tcp 3>"$fdfile" 2>/dev/null &
  SORVEL_XVFB_PID=$!
  local i
  for i in $(seq 1 100); do
    if [ -s "$fdfile" ]; then break; fi
    sleep 0.05
  done
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}

sorvel_stop_xvfb() {
  if [ -n "${SORVEL_XVFB_PID:-}" ]; then
    kill "$SORVEL_XVFB_PID" 2>/dev/null || true
    wait "$SORVEL_XVFB_PID" 2>/dev/null || true
  fi
}
