#!/usr/bin/env bash
# Installs what the build needs (as root), configures, builds and runs every test.
# Usage: ./test.sh [--sanitize] [extra ctest arguments]
#   --sanitize  builds into build-sanitize with AddressSanitizer and
#               UndefinedBehaviorSanitizer and runs every test there.
# OV_CTEST_JOBS sets how many tests run at once (most wait on the simulated
# access point or the time scale, not the processor); OV_PHASE_LOG names a file
# that each phase's seconds and the test count are appended to (.ci/run's summary).
set -euo pipefail
cd "$(dirname "$0")"

sanitize=OFF
if [ "${1:-}" = "--sanitize" ]; then
    sanitize=ON
    shift
fi
tree=$([ "$sanitize" = ON ] && echo sanitize || echo normal)
phase_log=${OV_PHASE_LOG:-/dev/null}
phase_start=$SECONDS
phase() { # NAME: the time since the last phase ended goes to NAME
    echo "$tree $1 $((SECONDS - phase_start))" >>"$phase_log"
    phase_start=$SECONDS
}

source scripts/deps.sh
ov_install_deps
phase install

if [ "$sanitize" = ON ]; then
    build=${OV_BUILD_DIR:-build-sanitize}
    # Any finding fails the test that made it; leaks of system libraries only are
    # suppressed, each with its reason, in tests/sanitizers/lsan.supp. Those
    # suppressions name the library that allocated, which the frame-pointer
    # unwinder always finds: the full unwinder on every allocation more than
    # doubled the suite's processor time.
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:strict_string_checks=1:detect_stack_use_after_return=1:check_initialization_order=1}
    export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$PWD/tests/sanitizers/lsan.supp:print_suppressions=0}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
else
    build=${OV_BUILD_DIR:-build}
fi
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${OV_BUILD_TYPE:-RelWithDebInfo} -DBUILD_TESTING=ON \
    -DOV_SANITIZE=$sanitize >/dev/null
phase configure
cmake --build "$build"
phase build

# Widget tests need no display: they run on Qt's offscreen platform.
export QT_QPA_PLATFORM=offscreen
summary=$(mktemp)
trap 'rm -f "$summary"' EXIT
status=0
# Under the sanitizers each test needs about five times the processor time.
jobs=${OV_CTEST_JOBS:-$([ "$sanitize" = ON ] && echo 4 || echo 6)}
ctest --test-dir "$build" --output-on-failure -j"$jobs" "$@" | tee "$summary" ||
    status=$?
phase tests
# "N% tests passed, F tests failed out of T": the counts for .ci/run's summary.
counts=$(sed -n 's/.* \([0-9]*\) tests failed out of \([0-9]*\).*/\1 \2/p' "$summary" | tail -n 1)
echo "$tree tests-run ${counts:-0 0}" >>"$phase_log"
exit $status
