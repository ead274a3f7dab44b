#!/usr/bin/env bash
# Builds the Debian package in one step: installs what building it needs,
# builds the program alone (no tests, no benchmarks) in build-package/, and
# packs it with CPack. Prints the package's path.
set -euo pipefail
cd "$(dirname "$0")/.."

tools/deps.sh package
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKUVITO_TESTS=OFF -DKUVITO_BENCH=OFF >/dev/null
cmake --build build-package -j"$(nproc)"
(cd build-package && cpack >/dev/null)
ls "$PWD"/build-package/kuvito_*.deb
