#!/usr/bin/env bash
# Runs each fuzz target of a QUORVEL_FUZZ build for a bounded time, from seeds made afresh
# (the game's files and the files the unit tests build), in a scratch directory: nothing is
# written into the repository. A crash, a sanitizer report, a leak, a slow input (-timeout) or
# too much memory (-rss_limit_mb) fails the target. Prints per target libFuzzer's final
# "Done N runs" line and "ok - ..." or "not ok - ..." (with the end of its log and the input
# that failed), then "fuzz: N passed, M failed"; the exit status is non-zero on a failure.
#
#   tests/fuzz/run.sh BUILD_DIR        (BUILD_DIR configured with -DQUORVEL_FUZZ=ON)
#   QUORVEL_FUZZ_SECONDS=60 tests/fuzz/run.sh build-fuzz     (default: 20 s per target)

set -uo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-build-fuzz}
[[ $build = /* ]] || build=$PWD/$build
seconds=${QUORVEL_FUZZ_SECONDS:-20}

passed=0 failed=0
work=$(mktemp -d "${TMPDIR:-/tmp}/quorvel-fuzz-XXXXXX")
trap 'rm -rf "$work"' EXIT

# Named stack frames in a report, where LLVM's symbolizer is installed under its versioned name.
if ! command -v llvm-symbolizer >/dev/null && [ -x /usr/lib/llvm-14/bin/llvm-symbolizer ]; then
  export ASAN_SYMBOLIZER_PATH=/usr/lib/llvm-14/bin/llvm-symbolizer
fi
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

if ! "$build/tests/fuzz/make_fuzz_seeds" "$repo/game" "$work/seeds"; then
  echo "not ok - fuzz seeds could not be made"
  echo "fuzz: 0 passed, 1 failed"
  exit 1
fi

fuzz_one() { # fuzz_one TARGET SEED_KIND [LIBFUZZER FLAGS...]
  local target=$1 seeds=$2
  shift 2
  local dir=$work/$target
  mkdir -p "$dir/corpus" "$dir/tmp"
  cp -R "$work/seeds/$seeds/." "$dir/corpus/"
  # The targets change into a scratch directory of their own under TMPDIR: every path given
  # to them is absolute. The outer timeout only guards against libFuzzer itself hanging.
  (cd "$dir" && TMPDIR=$dir/tmp timeout -k 10 $((seconds + 120)) "$build/tests/fuzz/$target" \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$dir/" "$@" "$dir/corpus") >"$dir/log" 2>&1
  local status=$?
  local done_line
  done_line=$(grep -E '^Done [0-9]+ runs' "$dir/log" | tail -n 1)
  echo "$target: ${done_line:-no \"Done\" line}"
  if [ "$status" -eq 0 ] && [ -n "$done_line" ]; then
    echo "ok - $target ran ${seconds} s without a finding"
    passed=$((passed + 1))
    return
  fi
  echo "not ok - $target (exit status $status)"
  failed=$((failed + 1))
  tail -n 60 "$dir/log" | sed 's/^/    /'
  local artifact
  for artifact in "$dir"/crash-* "$dir"/leak-* "$dir"/timeout-* "$dir"/oom-* "$dir"/slow-unit-*; do
    [ -f "$artifact" ] || continue
    echo "    input $(basename "$artifact"), $(stat -c %s "$artifact") bytes, base64:"
    head -c 16384 "$artifact" | base64 | sed 's/^/    /'
  done
}

fuzz_one fuzz_levels levels
fuzz_one fuzz_load_mesh mesh -dict="$repo/tests/fuzz/xfile.dict"
fuzz_one fuzz_texture texture

echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
