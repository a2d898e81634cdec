#!/usr/bin/env bash
# Installs what is missing (Debian 12), builds, and runs the program, the tests or the benchmarks.
#   ./build.sh run     build and start Fotoschliff
#   ./build.sh test    build and run every test, then again under AddressSanitizer/UBSan,
#                      the loader's tests under ThreadSanitizer, then each fuzz target
#                      for a minute (fuzz/laufen.sh)
#   ./build.sh bench   build and run the benchmarks on real photographs
#   ./build.sh deb     build the Debian package fotoschliff_VERSION_ARCH.deb into this folder
set -euo pipefail
cd "$(dirname "$0")"
was=${1:-run}

pakete=(cmake g++ make pkg-config qt6-base-dev libqt6sql6-sqlite qt6-svg-dev libqt6svg6
        libturbojpeg0-dev libjpeg-dev libexiv2-dev fonts-dejavu-core fonts-dejavu-extra qt6-translations-l10n)
if [ "$was" = test ]; then
  pakete+=(clang libclang-rt-14-dev)
  pakete+=(desktop-file-utils appstream) # the installation test validates what a desktop reads
  pakete+=(dpkg-dev file lintian)        # the package test builds the .deb and has it checked
fi
if [ "$was" = deb ]; then
  pakete+=(dpkg-dev file)                # CPack finds the package's dependencies with dpkg-shlibdeps
fi
if [ "$was" = bench ]; then
  pakete+=(mate-backgrounds libjpeg-turbo-progs imagemagick jpegoptim butteraugli)
fi

fehlend=()
for p in "${pakete[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || fehlend+=("$p")
done
if [ ${#fehlend[@]} -gt 0 ]; then
  als_root=()
  [ "$(id -u)" -eq 0 ] || als_root=(sudo)
  "${als_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${als_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${fehlend[@]}"
fi

jobs=$(nproc 2>/dev/null || echo 2)
bauen() { # folder, cmake options...
  local ordner=$1; shift
  cmake -S . -B "$ordner" "$@"
  cmake --build "$ordner" -j "$jobs"
}

case "$was" in
  run)
    bauen build -DCMAKE_BUILD_TYPE=Release
    exec ./build/src/fotoschliff
    ;;
  test)
    bauen build -DCMAKE_BUILD_TYPE=Release
    ctest --test-dir build --output-on-failure -j "$jobs"
    bauen build-asan -DCMAKE_BUILD_TYPE=Debug -DFOTOSCHLIFF_SANITIZE=ON -DFOTOSCHLIFF_BENCH=OFF
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
    # The loader's threads under ThreadSanitizer: only the tests that use them.
    cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=Debug -DFOTOSCHLIFF_TSAN=ON -DFOTOSCHLIFF_BENCH=OFF
    cmake --build build-tsan -j "$jobs" --target test_bildladen test_ladeablauf test_laden
    ctest --test-dir build-tsan --output-on-failure -j "$jobs"
    bauen build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DFOTOSCHLIFF_FUZZ=ON
    fuzz/laufen.sh build-fuzz 60
    ;;
  bench)
    bauen build -DCMAKE_BUILD_TYPE=Release
    exec ./build/bench/fotoschliff-bench "${@:2}"
    ;;
  deb)
    # A build of its own, of the program alone, in Release.
    rm -rf build-deb/paket
    bauen build-deb -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF -DFOTOSCHLIFF_BENCH=OFF
    cpack --config build-deb/CPackConfig.cmake -G DEB -B build-deb/paket
    paket=$(cd build-deb/paket && ls fotoschliff_*.deb)
    cp "build-deb/paket/$paket" .
    echo "Built ./$paket; install it with: sudo apt install ./$paket"
    ;;
  *)
    echo "usage: $0 run|test|bench|deb" >&2
    exit 2
    ;;
esac
