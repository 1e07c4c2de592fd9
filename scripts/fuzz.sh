#!/usr/bin/env bash
# Fuzzes the bar-editing core: builds the fuzz preset and runs every target
# for N seconds (default 60), all at once, each at low priority on a core of
# its own, then prints what each one did.
#   scripts/fuzz.sh [N]
# Inputs: fuzz/seeds/<target>, fuzz/regressions/<target> and seeds made from
# the project's bars (tests/bars) and, where there is one, the external
# corpus of real users' bars (KELVANE_CORPUS_DIR, by default
# ../shared/corpus/realworld beside the tree).
# The working corpus grows in build/fuzz-corpus/<target>; an input that
# breaks an invariant is written to build/fuzz-artifacts/<target>/, and the
# script then exits with 1. Keep such an input in fuzz/regressions/<target>/
# so that the unit tests replay it.
set -euo pipefail

seconds="${1:-60}"
root="$(cd "$(dirname "$0")/.." && pwd)"
corpus_dir="${KELVANE_CORPUS_DIR:-$root/../shared/corpus/realworld}"
targets=(load toggle)
build="$root/build/fuzz"
cd "$root"

cmake --preset fuzz >/dev/null
cmake --build "$build" -j 2 >/dev/null

# The first byte of an input picks the legacy code page (see
# fuzz/fuzz_checks.h): 0 1252, 1 1251, 2 936, 3 65001; + 5 * name index.
selector_for() {
  case "$1" in
    cp1251) printf '\001' ;;
    cp936) printf '\002' ;;
    utf8) printf '\003' ;;
    *) printf '\000' ;;
  esac
}

# A small main bar to pair each real bar with, for the sub-bar "tools.bar".
partner=$'[Buttonbar]\r\nButtoncount=2\r\nbutton1=wcmicons.dll,1\r\ncmd1=cm_SrcComments\r\niconic1=0\r\nbutton2=%windir%\\notepad.exe\r\ncmd2=notepad.exe\r\niconic2=1\r\n'
separator=$'\n--sub-bar--\n'

# Seeds from every bar file listed in $1/MANIFEST.tsv.
make_seeds_from() {
  local dir="$1" seeds="$root/build/fuzz-seeds"
  local file encoding name
  mkdir -p "$seeds/load" "$seeds/toggle"
  while IFS=$'\t' read -r file _ _ _ encoding _; do
    [ -f "$dir/$file" ] || continue
    name="${file%.bar}"
    { selector_for "$encoding"; cat "$dir/$file"; } >"$seeds/load/$name"
    { selector_for "$encoding"; cat "$dir/$file"; printf '%s' "$separator$partner"; } \
      >"$seeds/toggle/$name-as-main"
    { selector_for "$encoding"; printf '%s' "$partner$separator"; cat "$dir/$file"; } \
      >"$seeds/toggle/$name-as-sub"
  done < <(tail -n +2 "$dir/MANIFEST.tsv")
}

make_corpus_seeds() {
  rm -rf "$root/build/fuzz-seeds"
  make_seeds_from "$root/tests/bars"
  if [ -f "$corpus_dir/MANIFEST.tsv" ]; then
    make_seeds_from "$corpus_dir"
  else
    echo "fuzz.sh: no external corpus in $corpus_dir; seeds from tests/bars alone" >&2
  fi
}

run_target() {
  local target="$1"
  local corpus="$root/build/fuzz-corpus/$target"
  local artifacts="$root/build/fuzz-artifacts/$target"
  mkdir -p "$corpus" "$artifacts" "$root/build/fuzz-logs"
  nice -n 10 "$build/fuzz/${target}_fuzzer" \
    -dict="$root/fuzz/bar.dict" -max_total_time="$seconds" -max_len=65536 \
    -timeout=25 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$root/fuzz/seeds/$target" "$root/fuzz/regressions/$target" \
    "$root/build/fuzz-seeds/$target" >"$root/build/fuzz-logs/$target.log" 2>&1
}

stat_of() {
  sed -n "s/^stat::$2: *//p" "$root/build/fuzz-logs/$1.log" | tail -n 1
}

make_corpus_seeds
declare -A pids
for target in "${targets[@]}"; do
  run_target "$target" &
  pids[$target]=$!
done

failed=0
for target in "${targets[@]}"; do
  status=0
  wait "${pids[$target]}" || status=$?
  log="$root/build/fuzz-logs/$target.log"
  corpus_size=$(find "$root/build/fuzz-corpus/$target" -type f | wc -l)
  printf '%-7s %s executions, %s exec/s, %s new inputs, corpus %s files\n' "$target" \
    "$(stat_of "$target" number_of_executed_units)" "$(stat_of "$target" average_exec_per_sec)" \
    "$(stat_of "$target" new_units_added)" "$corpus_size"
  if [ "$status" -ne 0 ]; then
    failed=1
    echo "        FINDING (exit $status), log: build/fuzz-logs/$target.log"
    sed -n '/==== invariant violated ====/,/^==[0-9]*==/p; /^SUMMARY:/p' "$log" | head -n 40 |
      sed 's/^/        /'
    grep -o 'Test unit written to .*' "$log" | sed 's/^/        /' || true
  else
    echo "        no findings"
  fi
done
exit "$failed"
