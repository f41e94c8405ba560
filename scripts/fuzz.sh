#!/usr/bin/env bash
# Deep fuzzing: builds the fuzz targets with clang (in build-fuzz/), runs
# each to 10 million executions or for a given time, keeps the corpus of
# every target minimised under tests/fuzz/corpus/<target>, and prints the
# executions, coverage and crashes per target.
#
#   scripts/fuzz.sh [-r RUNS | -t SECONDS] [-j JOBS] [TARGET...]
#
#   -r RUNS     executions per target (default 10000000)
#   -t SECONDS  run each target for this long instead
#   -j JOBS     targets fuzzed at once (default 1)
#   TARGET      fuzz only these (default: every target)
#
# A crash leaves its input in build-fuzz/artifacts/; once the fault is
# mended, add that input to tests/fuzz/regressions/<target>/, which every
# run (and every ctest run) replays first. Exits non-zero if any target
# crashed.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
runs=10000000
seconds=""
jobs=1
while getopts "r:t:j:" opt; do
  case "$opt" in
    r) runs="$OPTARG" ;;
    t) seconds="$OPTARG" ;;
    j) jobs="$OPTARG" ;;
    *) sed -n '2,20p' "$0"; exit 2 ;;
  esac
done
shift $((OPTIND - 1))

build="${ZORVIA_FUZZ_BUILD_DIR:-$root/build-fuzz}"
clangxx="$(command -v clang++ || command -v clang++-14 || true)"
if [ -z "$clangxx" ]; then
  echo "clang++ is needed (scripts/deps.sh installs it)" >&2
  exit 1
fi
cmake -DSOURCE_DIR="$root" -DBUILD_DIR="$build" -DCLANGXX="$clangxx" \
  -P "$root/tests/fuzz/build_fuzz.cmake"

# Every target, from the groups of tests/fuzz/fuzz_targets.cmake.
all=$(sed -n 's/^set(ZORVIA_FUZZ_[a-z]* \(fuzz_[^)]*\))$/\1/p' "$root/tests/fuzz/fuzz_targets.cmake")
targets=("$@")
[ ${#targets[@]} -gt 0 ] || read -r -d '' -a targets <<<"$all" || true

work="$build/work"
artifacts="$build/artifacts"
mkdir -p "$work" "$artifacts"

# Seeds for the skin targets: the game box's bitmaps and settings, and a
# tiny skin (short settings and one small bitmap) packed when the main
# build's packer is there: every decoded byte costs, and the container's
# reading needs no more.
seeds="$work/seeds"
rm -rf "$seeds"
mkdir -p "$seeds/fuzz_bitmap" "$seeds/fuzz_quick_ini" "$seeds/fuzz_skin_store"
cp "$root"/assets/skin/*.bmp "$seeds/fuzz_bitmap/"
cp "$root/assets/skin/skin.ini" "$seeds/fuzz_quick_ini/"
skinpack="${ZORVIA_BUILD_DIR:-$root/build}/bin/skinpack"
if [ -x "$skinpack" ]; then
  small="$work/small-skin"
  rm -rf "$small" && mkdir -p "$small"
  printf '[Form]\r\nImage=comboglyph.bmp\r\nTrans=1\r\n' >"$small/skin.ini"
  cp "$root/assets/skin/comboglyph.bmp" "$small/"
  "$skinpack" pack "$small" "$seeds/fuzz_skin_store/small.skn" >/dev/null
fi

# Reports of a find leave out where its memory was allocated and freed:
# recording that on every allocation costs the allocating targets a sixth of
# their speed. Replaying the input from build-fuzz/artifacts/ without this
# gives the full report. Detection is the same.
export ASAN_OPTIONS="${ASAN_OPTIONS:+$ASAN_OPTIONS:}malloc_context_size=0"

max_len() {
  awk -v t="$1" '$1 == t { print "-max_len=" $2 }' "$root/tests/fuzz/max_len.txt"
}

# One target: fuzz, then merge what it found into the kept corpus.
fuzz_one() {
  local target="$1"
  local corpus="$root/tests/fuzz/corpus/$target"
  local regressions="$root/tests/fuzz/regressions/$target"
  local found="$work/$target"
  local log="$work/$target.log"
  mkdir -p "$corpus" "$found"
  local dirs=("$found" "$corpus")
  [ -d "$regressions" ] && dirs+=("$regressions")
  [ -d "$seeds/$target" ] && dirs+=("$seeds/$target")
  local limit=(-runs="$runs")
  [ -n "$seconds" ] && limit=(-max_total_time="$seconds")
  local before
  before=$(ls "$artifacts" | grep -c "^$target-" || true)
  local status=0
  "$build/$target" "${dirs[@]}" "${limit[@]}" $(max_len "$target") -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/$target-" \
    >"$log" 2>&1 || status=$?

  # Minimise: the inputs that keep the coverage of the old corpus and the
  # new finds, in place of the old corpus.
  local merged="$work/$target.merged"
  rm -rf "$merged" && mkdir -p "$merged"
  if "$build/$target" -merge=1 $(max_len "$target") -rss_limit_mb=2048 \
    "$merged" "$corpus" "$found" >"$work/$target.merge.log" 2>&1; then
    rm -rf "$corpus" && mv "$merged" "$corpus" && rm -rf "$found"
  fi

  local execs cov crashes
  execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  cov=$(grep -o 'cov: [0-9]* ft: [0-9]*' "$log" | tail -1)
  crashes=$(( $(ls "$artifacts" | grep -c "^$target-" || true) - before ))
  printf '%-20s executions %10s  %-22s corpus %5s  crashes %s  exit %s\n' \
    "$target" "${execs:-0}" "${cov:-cov: ? ft: ?}" "$(ls "$corpus" | wc -l)" "$crashes" \
    "$status" >"$work/$target.summary"
  cat "$work/$target.summary"
  [ "$status" -eq 0 ]
}

# A new target starts as soon as any running one ends.
failed=0
running=0
for target in "${targets[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || failed=1
    running=$((running - 1))
  fi
  fuzz_one "$target" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || failed=1
  running=$((running - 1))
done

echo
echo "Per target (logs in $work, crash inputs in $artifacts):"
for target in "${targets[@]}"; do
  cat "$work/$target.summary"
done
exit "$failed"
