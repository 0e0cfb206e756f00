#!/usr/bin/env bash
# Installs what the build needs (as root), configures, builds and runs every test.
# Usage: ./test.sh [--sanitize] [extra ctest arguments]
#   --sanitize  builds into build-sanitize with AddressSanitizer and
#               UndefinedBehaviorSanitizer and runs every test there.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ov_install_deps

sanitize=OFF
if [ "${1:-}" = "--sanitize" ]; then
    sanitize=ON
    shift
fi
if [ "$sanitize" = ON ]; then
    build=${OV_BUILD_DIR:-build-sanitize}
    # Any finding fails the test that made it; leaks of system libraries only are
    # suppressed (full stacks, so a suppression sees every frame), each with its
    # reason, in tests/sanitizers/lsan.supp.
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:fast_unwind_on_malloc=0:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1}
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
else
    build=${OV_BUILD_DIR:-build}
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${OV_BUILD_TYPE:-RelWithDebInfo} -DBUILD_TESTING=ON \
    -DOV_SANITIZE=$sanitize >/dev/null
cmake --build "$build"
# Widget tests need no display: they run on Qt's offscreen platform.
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$build" --output-on-failure -j2 "$@"
