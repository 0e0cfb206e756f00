#!/usr/bin/env bash
# Installs what the build needs (as root), configures, builds and runs every test.
# Usage: ./test.sh [extra ctest arguments]
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ov_install_deps

build=${OV_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${OV_BUILD_TYPE:-RelWithDebInfo} -DBUILD_TESTING=ON >/dev/null
cmake --build "$build"
# Widget tests need no display: they run on Qt's offscreen platform.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 "$@"
