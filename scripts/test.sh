#!/usr/bin/env bash
# Installs what sorvel needs, builds it and runs every test. Each test starts its own Xvfb.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"

sorvel_install_packages
sorvel_build "$SORVEL_ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
sorvel_root_sandbox
cd "$SORVEL_ROOT/build"
ctest --output-on-failure --timeout 600
