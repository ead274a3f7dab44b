#!/usr/bin/env bash
# Builds and tests the project on Debian 13 ("trixie") inside the root of
# tools/debian13.sh: its GCC and Qt build everything with every warning an
# error (build tree build-debian13/), the unit tests run, and the package
# test builds the .deb there and checks it with Debian 13's lintian and
# desktop validators. Ends with the line "N passed, M failed" as
# tools/test.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."
[ "$(id -u)" -eq 0 ] || { echo "$0 enters a root file system: run it as root" >&2; exit 1; }

# shellcheck disable=SC2016
tools/debian13.sh --deps test -- bash -c '
  set -uo pipefail
  passed=0 failed=0
  tally() {
    local line
    line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$1" | tail -n 1)
    [ -n "$line" ] || { failed=$((failed + 1)); return; }
    local bad total
    bad=$(sed -E "s/.*, ([0-9]+) tests failed out of ([0-9]+).*/\1/" <<<"$line")
    total=$(sed -E "s/.*, ([0-9]+) tests failed out of ([0-9]+).*/\2/" <<<"$line")
    passed=$((passed + total - bad)) failed=$((failed + bad))
  }
  log=$(mktemp)
  echo "Debian $(cat /etc/debian_version), $(g++ --version | head -n 1), Qt $(dpkg-query -W -f="\${Version}" qt6-base-dev)"
  if cmake -S . -B build-debian13 -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUVITO_TESTS=ON \
       -DKUVITO_BENCH=ON -DKUVITO_WERROR=1 -DCMAKE_INSTALL_PREFIX=/usr >/dev/null &&
     cmake --build build-debian13 -j"$(nproc)"; then
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-debian13 -L unit -j"$(nproc)" --output-on-failure 2>&1 | tee "$log"
    tally "$log"
    ctest --test-dir build-debian13 -R "^Package\." --output-on-failure 2>&1 | tee "$log"
    tally "$log"
  else
    echo "!! the build failed" >&2
    failed=$((failed + 1))
  fi
  echo "$passed passed, $failed failed"
  [ "$failed" = 0 ]
'
