#!/usr/bin/env bash
# Installs what the build needs (Debian 12), builds the game, and runs every test:
# unit tests under AddressSanitizer and UndefinedBehaviorSanitizer, then the tests that need
# a display (OpenGL in a real window, and the game played end to end) under Xvfb, then the
# fuzz targets (clang's libFuzzer), QUORVEL_FUZZ_SECONDS each (default 20).
set -euo pipefail
cd "$(dirname "$0")"
source tools/deps.sh
install_deps "${QUORVEL_TEST_PACKAGES[@]}"

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs"
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVEL_SANITIZE=ON -DQUORVEL_GAME=OFF >/dev/null
cmake --build build-asan -j "$jobs"
# The fuzz targets: a clang tree of their own.
cmake -S . -B build-fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVEL_FUZZ=ON >/dev/null
cmake --build build-fuzz -j "$jobs"

results=$(mktemp)
status=0
run() { # run a test command, keep its summary
  local out
  out=$(mktemp)
  "$@" 2>&1 | tee "$out" || status=1
  grep -E '^[0-9]+% tests passed' "$out" >>"$results" || true
  grep -E '^(e2e|fuzz): [0-9]+ passed, [0-9]+ failed' "$out" >>"$results" || true
}

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
run ctest --test-dir build-asan -L unit --output-on-failure -j "$jobs" --timeout 120
unset ASAN_OPTIONS UBSAN_OPTIONS

if [ -n "$(ctest --test-dir build -L display -N | grep -E '^ +Test +#')" ]; then
  run xvfb-run -a -s "-screen 0 1024x768x24 -noreset" ctest --test-dir build -L display --output-on-failure --timeout 120
fi
if [ -x tests/e2e/run.sh ]; then
  run tests/e2e/run.sh build
fi
run tests/fuzz/run.sh build-fuzz

passed=0 failed=0
while read -r line; do
  case "$line" in
    *"tests passed"*)
      total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
      bad=$(sed -E 's/.*, ([0-9]+) tests failed.*/\1/' <<<"$line")
      passed=$((passed + total - bad)); failed=$((failed + bad)) ;;
    e2e:* | fuzz:*)
      passed=$((passed + $(sed -E 's/[a-z0-9]+: ([0-9]+) passed.*/\1/' <<<"$line")))
      failed=$((failed + $(sed -E 's/.*, ([0-9]+) failed.*/\1/' <<<"$line"))) ;;
  esac
done <"$results"
[ "$failed" -eq 0 ] || status=1
echo "all: $passed passed, $failed failed"
exit "$status"
