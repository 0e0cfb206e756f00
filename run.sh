#!/usr/bin/env bash
# Runs the module. Without arguments: against the simulated access point on
# loopback, with a station configuration and device profile of its own. With
# arguments: the module is started with exactly those (station-style switches
# such as /I10.90.90.90 /Rpublic /Wprivate /v1) against a real device.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ov_install_deps

build=${OV_BUILD_DIR:-build}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=${OV_BUILD_TYPE:-RelWithDebInfo} >/dev/null
cmake --build "$build" --target orw3300ap apsim

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ] && [ -z "${QT_QPA_PLATFORM:-}" ]; then
    echo "No display. Run it under a virtual one:  xvfb-run -a $0 $*" >&2
    exit 2
fi

module="$(cd "$build" && pwd)/src/app/orw3300ap"
apsim="$(cd "$build" && pwd)/tools/apsim/apsim"
if [ $# -gt 0 ]; then
    exec "$module" "$@"
fi

work=$(mktemp -d -t orw3300ap-demo.XXXXXX)
port=${OV_APSIM_PORT:-16161}
cleanup() {
    [ -n "${apsim_pid:-}" ] && kill "$apsim_pid" 2>/dev/null && wait "$apsim_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT INT TERM

"$apsim" --listen "127.0.0.1:$port" --state-dir "$work/apsim" \
    --restart-seconds 5 >"$work/apsim.out" 2>&1 &
apsim_pid=$!
for _ in $(seq 100); do
    grep -q "listening" "$work/apsim.out" 2>/dev/null && break
    kill -0 "$apsim_pid" 2>/dev/null || { cat "$work/apsim.out" >&2; exit 1; }
    sleep 0.1
done

# A station configuration and a device profile, as the management station keeps them.
mkdir -p "$work/profiles" "$work/module/errmsg"
cat >"$work/station.ini" <<INI
[SOFTWARE\\Orvane\\Modules\\HelpPath]
1.3.6.1.4.1.48213.10.37.14=$work/module/ORW3300A.HLP
[SOFTWARE\\Orvane\\Panorel5.1\\MibFile]
Path=$work/profiles/
INI
cat >"$work/profiles/127.0.0.1.cfg" <<INI
[Program Information]
AgentPort=$port
Version=1
SecurityModel=2
SecurityLevel=0
AuthProtocol=0
PrivProtocol=0
INI

cd "$work"
OV_STATION_CONFIG="$work/station.ini" "$module" /I127.0.0.1 /Rmulvek /Wtrondax /v1
