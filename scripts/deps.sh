# Debian 12 packages the module needs to build, test and run. Sourced by the
# project's scripts; installs what is missing when run as root.
ov_packages=(
    cmake ninja-build g++ pkg-config
    # lld links the test programs several times faster than the default linker.
    lld
    qt6-base-dev libgl-dev
    # Charts of the trends window.
    qt6-charts-dev libqt6opengl6-dev
    libsnmp-dev snmp
    libgtest-dev libgmock-dev
    # TFTP clients for the server's tests; in.tftpd for its benchmark, which
    # runs it on a free port (a daemon the package may start on port 69 is
    # never used).
    tftp-hpa atftp curl tftpd-hpa
    # A virtual display for running the module and taking screenshots without one.
    xvfb xauth
    # apsim's TFTP client, which fetches and sends files like the device.
    libcurl4-openssl-dev
    # The Debian package: dpkg-shlibdeps for its dependencies, lintian to check
    # it, setcap for its postinst, groff to check the manual pages.
    dpkg-dev lintian libcap2-bin groff-base
)

ov_install_deps() {
    local missing=()
    local p
    for p in "${ov_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing Debian packages: ${missing[*]}" >&2
        echo "Install them with: sudo apt-get install ${missing[*]}" >&2
        return 1
    fi
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq </dev/null
    apt-get install -y -qq --no-install-recommends "${missing[@]}" </dev/null >/dev/null
}
