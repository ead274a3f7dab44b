#!/usr/bin/env bash
# Sets up, builds and runs the whole test suite:
#   0. every C++ source formatted as .clang-format says (tools/format.sh --check);
#   1. unit tests without a display (Qt's offscreen platform);
#   2. desktop tests and end-to-end tests in a private virtual desktop;
#   3. the unit tests again, built with AddressSanitizer and UndefinedBehaviorSanitizer;
#   4. a short run of every fuzz target (libFuzzer, clang).
# Set KUVITO_QUICK=1 to skip 3 and 4 while developing, and KUVITO_WERROR=1 to
# make every compiler warning an error (CI does).
#
# A failing stage does not stop the later ones; the script always ends with
# the line "N passed, M failed" (every test of every ctest run added up) and
# exits non-zero when any stage failed.
set -uo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
werror=-DKUVITO_WERROR=${KUVITO_WERROR:-0}

tools/deps.sh test || exit 1

passed=0
failed=0
status=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

finish() {
  echo "$passed passed, $failed failed"
  exit "$status"
}

# Marks the run as failed, naming the stage.
stage_failed() {
  echo "!! $1 failed" >&2
  status=1
}

# Runs a ctest command, shows its output and adds its outcome to the totals.
run_ctest() {
  local what=$1
  shift
  "$@" 2>&1 | tee "$log"
  local rc=$?
  local line
  line=$(grep -E "tests passed, [0-9]+ tests failed out of [0-9]+" "$log" | tail -n 1 || true)
  if [ -n "$line" ]; then
    local bad total
    bad=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
    total=$(sed -E 's/.*, ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
    passed=$((passed + total - bad))
    failed=$((failed + bad))
  fi
  [ "$rc" -eq 0 ] || stage_failed "$what"
}

echo "== format =="
tools/format.sh --check || stage_failed "format check"

echo "== build =="
if ! { cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKUVITO_TESTS=ON -DKUVITO_BENCH=ON \
         "$werror" >/dev/null && cmake --build build -j"$jobs"; }; then
  stage_failed build
  finish
fi

echo "== unit tests =="
run_ctest "unit tests" env QT_QPA_PLATFORM=offscreen ctest --test-dir build -L unit --output-on-failure -j"$jobs"

echo "== desktop tests (private virtual desktop) =="
if ctest --test-dir build -N -L desktop | grep -q "Total Tests: [1-9]"; then
  # These drive a real X server with xdotool; on a loaded machine a press
  # now and then lands before a window is ready for it. A test that fails
  # runs once more, and its failing run stays in the output.
  run_ctest "desktop tests" tools/with-virtual-desktop.sh -- ctest --test-dir build -L desktop --output-on-failure \
    --repeat until-pass:2
fi

if [ "${KUVITO_QUICK:-0}" = 1 ]; then
  finish
fi

echo "== unit tests under AddressSanitizer and UndefinedBehaviorSanitizer =="
if cmake -S . -B build-asan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKUVITO_SANITIZE=ON -DKUVITO_BENCH=OFF \
     "$werror" >/dev/null && cmake --build build-asan -j"$jobs"; then
  run_ctest "sanitizer unit tests" env ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 \
    LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp:print_suppressions=0 \
    UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    QT_QPA_PLATFORM=offscreen ctest --test-dir build-asan -L unit --output-on-failure -j"$jobs"
else
  stage_failed "sanitizer build"
fi

echo "== fuzzing (short runs) =="
if CXX=clang++ CC=clang cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
     -DKUVITO_FUZZ=ON -DKUVITO_TESTS=OFF -DKUVITO_BENCH=OFF "$werror" >/dev/null &&
   cmake --build build-fuzz --target fuzzers -j"$jobs"; then
  seconds=${KUVITO_FUZZ_SECONDS:-20}
  fuzz_ok=1
  while IFS= read -r target; do
    name=$(basename "$target")
    corpus_src=$(find fuzz -type d -name "corpus_${name#fuzz_}" | head -n 1)
    work=$(mktemp -d)
    [ -n "$corpus_src" ] && cp -r "$corpus_src"/. "$work"/
    echo "-- $name for ${seconds}s"
    "$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 "$work" 2>&1 |
      tail -n 4 || { fuzz_ok=0; stage_failed "$name"; }
    rm -rf "$work"
  done < <(find build-fuzz/fuzz -type f -name 'fuzz_*' -perm -u+x | sort)
  [ "$fuzz_ok" = 1 ] && echo "fuzz: all targets ran clean"
else
  stage_failed "fuzz build"
fi
finish
