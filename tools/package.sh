#!/usr/bin/env bash
# Builds the Debian package in one step: installs what building it needs,
# builds the program alone (no tests, no benchmarks) in build-package/, and
# packs it with CPack. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh package
# Debian's own compiler and linker flags (stack protector, fortified
# functions, read-only relocations bound at start), as a Debian build would
# use them; CMake does not read the preprocessor's, so they join the C++ ones.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cxxflags="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
ldflags=$(dpkg-buildflags --get LDFLAGS)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$cxxflags" -DCMAKE_EXE_LINKER_FLAGS="$ldflags" \
  -DKUVITO_TESTS=OFF -DKUVITO_BENCH=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack >/dev/null)
ls "$PWD"/build-package/kuvito_*.deb
