#!/usr/bin/env bash
# The wall time of a toggle under Wine against its floor, the least program
# that toggles safely (bench/toggle_floor_win.cpp: it reads both bars, saves
# the main bar or both with the same flush and replace, and notifies), and
# against programs that do little or nothing. For each size a program folder
# of its own holds kelvane.exe, kelvane.ini, Bar/main.bar (that many buttons)
# and Bar/tools.bar (a tenth of them); each toggle is started from that
# folder as `wine kelvane.exe tools.bar`, and every other program is started
# the same way. The runs take turns (expand, the floor's expand, the others,
# collapse, the floor's collapse, the others) so that a change in the
# machine's load falls on all of them alike; the medians count. The programs
# that do nothing run at the first size only: their time does not depend on
# the bars. Needs a display and a warm wineserver, as scripts/with-wine.sh
# gives them:
#   scripts/with-wine.sh bench/wine_toggle_bench.sh KELVANE_EXE FLOOR_EXE OTHER_EXE...
#   KELVANE_BENCH_WINE_ROUNDS  expand-and-collapse rounds (default 11)
#   KELVANE_BENCH_WINE_SIZES   main-bar buttons, one folder each (default "40 2000 20000")
set -euo pipefail
export LC_ALL=C  # EPOCHREALTIME and printf with a decimal point
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"

if [ $# -lt 2 ]; then
  echo "usage: wine_toggle_bench.sh KELVANE_EXE FLOOR_EXE OTHER_EXE..." >&2
  exit 2
fi
kelvane_exe="$1"
floor_exe="$2"
shift 2
rounds=${KELVANE_BENCH_WINE_ROUNDS:-11}
read -r -a sizes <<<"${KELVANE_BENCH_WINE_SIZES:-40 2000 20000}"

folder=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-wine-bench.XXXXXX")
trap 'rm -rf "$folder"' EXIT

# A bar as the file manager writes it, in ASCII so that any code page reads
# it alike: per button its button, cmd, iconic and menu lines, param and
# path for some, and every tenth button a separator.
write_bar() {
  awk -v buttons="$2" 'BEGIN {
    printf "[Buttonbar]\r\nButtoncount=%d\r\n", buttons
    for (n = 1; n <= buttons; n++) {
      if (n % 10 == 0) { printf "button%d=\r\niconic%d=0\r\n", n, n; continue }
      printf "button%d=%%COMMANDER_PATH%%\\Tools\\tool%d.exe,0\r\n", n, n
      printf "cmd%d=%%COMMANDER_PATH%%\\Tools\\tool%d.exe\r\n", n, n
      if (n % 3 == 0) printf "param%d=\"%%P%%N\" /s\r\n", n
      if (n % 5 == 0) printf "path%d=%%COMMANDER_PATH%%\\Tools\r\n", n
      printf "iconic%d=%d\r\n", n, n % 7 == 0
      printf "menu%d=Tool %d - open the selection\r\n", n, n
    }
  }' >"$1"
}

floor_name=$(basename "$floor_exe")
others=()
for exe in "$@"; do others+=("$(basename "$exe")"); done

# A program folder for one size: the programs, the settings and the bars.
make_folder() {
  local dir="$1" buttons="$2" exe
  shift 2
  mkdir -p "$dir/Bar"
  cp "$kelvane_exe" "$dir/kelvane.exe"
  for exe in "$floor_exe" "$@"; do cp "$exe" "$dir/"; done
  printf '[Main]\r\npathBar=Bar\r\npathMainPanel=Bar\\main.bar\r\n' >"$dir/kelvane.ini"
  write_bar "$dir/Bar/main.bar" "$buttons"
  write_bar "$dir/Bar/tools.bar" $((buttons / 10 > 0 ? buttons / 10 : 1))
}

# Wall times in milliseconds, space-separated, by run: "expand",
# "collapse", "floor" or the program's file name.
declare -A times

# Runs one program from the folder as a toggle is run and records its wall
# time under `what`. A failed toggle would wait for the user at its error
# report, hence the time limit.
timed_run() {
  local dir="$1" what="$2" program="$3" argument="$4" start end
  start=$EPOCHREALTIME
  if ! (cd "$dir" && timeout 120 "$WINE" "$program" "$argument"); then
    echo "wine_toggle_bench.sh: $program $argument failed or did not finish" >&2
    exit 1
  fi
  end=$EPOCHREALTIME
  times[$what]+="$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) * 1000 }') "
}

# A toggle that ends well but leaves the bar as it was must not pass for a
# fast one.
expect_expanded() {
  local dir="$1" want="$2" got=no
  if grep -q 'tools\.barx1' "$dir/Bar/main.bar"; then got=yes; fi
  if [ "$got" != "$want" ]; then
    echo "wine_toggle_bench.sh: after a toggle the main bar is expanded: $got, expected: $want" >&2
    exit 1
  fi
}

round() {
  local dir="$1" with_others="$2" other
  timed_run "$dir" expand kelvane.exe tools.bar
  expect_expanded "$dir" yes
  timed_run "$dir" floor "$floor_name" expand
  if [ "$with_others" = yes ]; then
    for other in "${others[@]}"; do timed_run "$dir" "$other" "$other" tools.bar; done
  fi
  timed_run "$dir" collapse kelvane.exe tools.bar
  expect_expanded "$dir" no
  timed_run "$dir" floor "$floor_name" collapse
  if [ "$with_others" = yes ]; then
    for other in "${others[@]}"; do timed_run "$dir" "$other" "$other" tools.bar; done
  fi
}

# The median of space-separated numbers.
median() { tr -s ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

for index in "${!sizes[@]}"; do
  buttons=${sizes[$index]}
  with_others=$([ "$index" = 0 ] && echo yes || echo no)
  dir="$folder/$buttons"
  make_folder "$dir" "$buttons" "$@"
  # One untimed round first: the first start of a program in the prefix
  # fills caches that later starts find filled.
  times=()
  round "$dir" "$with_others"
  times=()
  for ((r = 0; r < rounds; r++)); do round "$dir" "$with_others"; done

  toggle_ms=$(median "${times[expand]} ${times[collapse]}")
  floor_ms=$(median "${times[floor]}")
  echo
  echo "wine toggle: wine kelvane.exe tools.bar in a program folder, a main bar of" \
    "$buttons buttons and a sub-bar of $((buttons / 10 > 0 ? buttons / 10 : 1));" \
    "medians of $((2 * rounds)) runs each"
  printf '  %-40s %10.2f ms\n' \
    "expand run" "$(median "${times[expand]}")" \
    "collapse run" "$(median "${times[collapse]}")" \
    "toggle run (expand or collapse)" "$toggle_ms" \
    "$floor_name (the floor)" "$floor_ms"
  if [ "$with_others" = yes ]; then
    for other in "${others[@]}"; do
      printf '  %-40s %10.2f ms\n' "$other" "$(median "${times[$other]}")"
    done
  fi
  # scripts/bench.sh reads these rows for its goal summary.
  printf '  %-40s %10s\n' "toggle / $floor_name" "$(ratio "$toggle_ms" "$floor_ms")"
  if [ "$with_others" = yes ]; then
    for other in "${others[@]}"; do
      printf '  %-40s %10s\n' "toggle / $other" "$(ratio "$toggle_ms" "$(median "${times[$other]}")")"
    done
  fi
done
