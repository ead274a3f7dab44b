#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite:
#   1. unit tests without a display (Qt's offscreen platform);
#   2. desktop tests and end-to-end tests in a private virtual desktop;
#   3. the unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. a short run of every fuzz target (libFuzzer, clang).
# Set KUVITO_QUICK=1 to skip 3 and 4 while developing.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)

tools/deps.sh test

# Every ctest run's outcome is added up for one closing line.
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT
tally() {
  local line
  line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    local bad total
    bad=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
}

echo "== build =="
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUVITO_TESTS=ON -DKUVITO_BENCH=ON >/dev/null
cmake --build build -j"$jobs"

echo "== unit tests =="
QT_QPA_PLATFORM=offscreen ctest --test-dir build -L unit --output-on-failure -j"$jobs" | tee "$log"
tally

echo "== desktop tests (private virtual desktop) =="
if ctest --test-dir build -N -L desktop | grep -q "Total Tests: [1-9]"; then
  tools/with-virtual-desktop.sh -- ctest --test-dir build -L desktop --output-on-failure | tee "$log"
  tally
fi

if [ "${KUVITO_QUICK:-0}" = 1 ]; then
  echo "$passed passed, $failed failed"
  exit 0
fi

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKUVITO_SANITIZE=ON -DKUVITO_BENCH=OFF >/dev/null
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan -L unit --output-on-failure -j"$jobs" | tee "$log"
tally

echo "== fuzzing (short runs) =="
CXX=clang++ CC=clang cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DKUVITO_FUZZ=ON -DKUVITO_TESTS=OFF -DKUVITO_BENCH=OFF >/dev/null
cmake --build build-fuzz --target fuzzers -j"$jobs"
seconds=${KUVITO_FUZZ_SECONDS:-20}
while IFS= read -r target; do
  name=$(basename "$target")
  corpus_src=$(find fuzz -type d -name "corpus_${name#fuzz_}" | head -n 1)
  work=$(mktemp -d)
  [ -n "$corpus_src" ] && cp -r "$corpus_src"/. "$work"/
  echo "-- $name for ${seconds}s"
  "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work" 2>&1 | tail -n 4
  rm -rf "$work"
done < <(find build-fuzz/fuzz -type f -name 'fuzz_*' -perm -u+x | sort)
echo "fuzz: all targets ran clean"
echo "$passed passed, $failed failed"
