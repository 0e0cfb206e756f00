#!/usr/bin/env bash
# The Debian package, built from this build folder with cpack and looked at
# from the outside: its control data, its files unpacked into a temporary
# root (dpkg-deb -x, so the machine's own system is never touched), the
# programs run from there, and lintian.
#   package_test.sh build   BUILD_DIR   makes BUILD_DIR/package/orw3300ap_*.deb
#   package_test.sh content BUILD_DIR   checks what it holds and runs it
#   package_test.sh lintian BUILD_DIR   lintian reports no error
set -euo pipefail
step=$1
build=$(cd "$2" && pwd)
fail() {
    echo "FAIL: $*" >&2
    exit 1
}

package() {
    local debs=("$build"/package/orw3300ap_*.deb)
    [ -f "${debs[0]}" ] || fail "no package in $build/package (the build step makes it)"
    echo "${debs[0]}"
}

case $step in
build)
    rm -rf "$build/package"
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >"$build/package.log" 2>&1 ||
        { cat "$build/package.log"; fail "cpack"; }
    deb=$(package)
    version=$(grep -m1 '^CMAKE_PROJECT_VERSION:' "$build/CMakeCache.txt" | cut -d= -f2)
    [ "$(basename "$deb")" = "orw3300ap_${version}_$(dpkg --print-architecture).deb" ] ||
        fail "package named $(basename "$deb")"
    ;;
content)
    deb=$(package)
    # (Output is taken whole before grep looks at it: a grep that stops early
    # would break the pipe of the program that writes it.)
    depends=$(dpkg-deb -f "$deb" Depends)
    # Dependencies come from the libraries the programs link, and setcap.
    for library in libqt6widgets6 libqt6network6 libsnmp40 libcurl4 libc6 libcap2-bin; do
        grep -qw "$library" <<<"$depends" || fail "Depends lacks $library: $depends"
    done
    grep -q cap_net_bind_service <<<"$(dpkg-deb -f "$deb" Description)" ||
        fail "the description does not say which capability the package grants"
    # Nothing that outlives the package: no conffiles, no maintainer script
    # but the postinst, which only sets the capability of the package's own file.
    control=$(mktemp -d)
    root=$(mktemp -d)
    trap 'rm -rf "$control" "$root"' EXIT
    dpkg-deb -e "$deb" "$control"
    [ "$(cd "$control" && ls | sort | xargs)" = "control md5sums postinst" ] ||
        fail "control files: $(cd "$control" && ls | xargs)"
    grep -q 'setcap cap_net_bind_service=+ep /usr/bin/orw3300ap' "$control/postinst" ||
        fail "the postinst does not grant the capability"
    [ "$(stat -c %a "$control/postinst")" = 755 ] || fail "postinst mode"
    dpkg-deb -x "$deb" "$root"
    for file in usr/bin/orw3300ap usr/bin/orw3300ap-apsim usr/bin/orw3300ap-fleet \
        usr/share/man/man1/orw3300ap.1.gz usr/share/man/man1/orw3300ap-apsim.1.gz \
        usr/share/man/man1/orw3300ap-fleet.1.gz \
        usr/share/doc/orw3300ap/copyright usr/share/doc/orw3300ap/changelog.gz \
        usr/share/doc/orw3300ap/examples/station.ini usr/share/doc/orw3300ap/examples/127.0.0.1.cfg; do
        [ -f "$root/$file" ] || fail "no /$file"
    done
    outside=$(cd "$root" && find . -mindepth 1 -maxdepth 1 ! -name usr)
    [ -z "$outside" ] || fail "files outside /usr: $outside"
    # The programs run from the temporary root and find their catalogs there.
    grep -q "ORW-3300AP Management Module" <<<"$("$root/usr/bin/orw3300ap" --version)" ||
        fail "--version"
    help=$("$root/usr/bin/orw3300ap" --help) || fail "--help"
    grep -q '^Usage: orw3300ap /I<address>' <<<"$help" || fail "--help: $help"
    catalogs=$(sed -n 's/^Message catalogs: //p' <<<"$help")
    [ "$catalogs" = "$root/usr/share/orw3300ap/errMSg" ] || fail "catalogs looked for in '$catalogs'"
    for catalog in common.err snmp.err snmpv3.err snmpusm.err snmpclass.err ovsnmp.err snmp.msg; do
        [ -s "$catalogs/$catalog" ] || fail "no catalog $catalog"
    done
    [ "$(head -1 "$catalogs/snmp.msg")" = "Get: [ERROR] Request:[VARLIST]. Receive at [TIME]." ] ||
        fail "snmp.msg holds $(head -1 "$catalogs/snmp.msg")"
    [ "$(wc -l <"$catalogs/snmp.err")" = 19 ] || fail "snmp.err has $(wc -l <"$catalogs/snmp.err") lines"
    grep -q apsim <<<"$("$root/usr/bin/orw3300ap-apsim" --version)" || fail "orw3300ap-apsim --version"
    grep -q -- --tftp-get-abort <<<"$("$root/usr/bin/orw3300ap-apsim" --help)" ||
        fail "orw3300ap-apsim --help"
    grep -q -- '--inventory FILE' <<<"$("$root/usr/bin/orw3300ap-fleet" --help)" ||
        fail "orw3300ap-fleet --help"
    grep -q '^\.SH SYNOPSIS' <<<"$(zcat "$root/usr/share/man/man1/orw3300ap.1.gz")" ||
        fail "manual page"
    ;;
lintian)
    deb=$(package)
    command -v lintian >/dev/null || fail "lintian is not installed (scripts/deps.sh installs it)"
    # Warnings are shown; an error fails.
    lintian --fail-on error "$deb"
    ;;
*)
    fail "unknown step $step"
    ;;
esac
echo "package $step: ok"
