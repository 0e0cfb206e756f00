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

# The transfer windows' TFTP server listens on port 69 when this user may take
# it (root, a lowered unprivileged port range, or the capability granted to the
# module here); otherwise on a free port, which apsim is told too.
udp_port_busy() { command -v ss >/dev/null && ss -Hlun "sport = :$1" | grep -q .; }
may_bind_port_69() {
    [ "$(id -u)" -eq 0 ] && return 0
    [ "$(cat /proc/sys/net/ipv4/ip_unprivileged_port_start 2>/dev/null || echo 1024)" -le 69 ] &&
        return 0
    command -v setcap >/dev/null || return 1
    setcap cap_net_bind_service=+ep "$module" 2>/dev/null ||
        sudo -n setcap cap_net_bind_service=+ep "$module" 2>/dev/null
}
if [ -z "${OV_TFTP_PORT:-}" ] && { udp_port_busy 69 || ! may_bind_port_69; }; then
    for candidate in $(shuf -i 20000-60000 -n 50); do
        udp_port_busy "$candidate" || { OV_TFTP_PORT=$candidate; break; }
    done
    export OV_TFTP_PORT
    echo "TFTP server on port $OV_TFTP_PORT (port 69 is not available to this user)" >&2
fi

# The device on loopback (127.0.0.1/8), so the transfer windows find the
# loopback interface as the address the device fetches from.
"$apsim" --listen "127.0.0.1:$port" --state-dir "$work/apsim" \
    --restart-seconds 5 --tftp-port "${OV_TFTP_PORT:-69}" \
    --set hIPAddress=127.0.0.1 --set hSubnetMask=255.0.0.0 --set hDefaultGateway=127.0.0.1 \
    --set E.4.1.1.4.0=127.0.0.1 --set E.4.1.1.5.0=255.0.0.0 --set E.4.1.1.6.0=127.0.0.1 \
    >"$work/apsim.out" 2>&1 &
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
