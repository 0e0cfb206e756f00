#!/usr/bin/env bash
# Builds the Debian package orw3300ap_<version>_<arch>.deb into this folder:
# installs what is missing (as root), makes an optimised build in
# build-package/ (-O2 -g as Debian builds, stripped in the package), packs it
# with cpack (dependencies from dpkg-shlibdeps) and checks it with lintian. Install it with: sudo apt install ./orw3300ap_<version>_<arch>.deb
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh
ov_install_deps

build=${OV_PACKAGE_BUILD_DIR:-build-package}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" --target orw3300ap apsim package_files
rm -rf "$build/package"
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$build/package" >/dev/null
debs=("$build"/package/orw3300ap_*.deb)
cp "${debs[0]}" .
name=$(basename "${debs[0]}")
# An error fails the build; warnings are shown.
lintian --fail-on error "$name"
echo "Built $name. Install it with: sudo apt install ./$name"
