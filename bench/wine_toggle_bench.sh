#!/usr/bin/env bash
# The wall time of a toggle under Wine against programs that do little or
# nothing. A program folder of its own holds kelvane.exe, kelvane.ini,
# Bar/main.bar (40 buttons) and Bar/tools.bar (4 buttons); each toggle is
# started from that folder as `wine kelvane.exe tools.bar`, and every other
# program is started the same way. The runs take turns (expand, the
# others, collapse, the others) so that a change in the machine's load
# falls on all of them alike; the medians count. Needs a display and a
# warm wineserver, as scripts/with-wine.sh gives them:
#   scripts/with-wine.sh bench/wine_toggle_bench.sh KELVANE_EXE OTHER_EXE...
#   KELVANE_BENCH_WINE_ROUNDS  expand-and-collapse rounds (default 11)
set -euo pipefail
export LC_ALL=C  # EPOCHREALTIME and printf with a decimal point
source "$(dirname "${BASH_SOURCE[0]}")/../scripts/wine-env.sh"

if [ $# -lt 2 ]; then
  echo "usage: wine_toggle_bench.sh KELVANE_EXE OTHER_EXE..." >&2
  exit 2
fi
kelvane_exe="$1"
shift
rounds=${KELVANE_BENCH_WINE_ROUNDS:-11}
main_buttons=40
sub_buttons=4

folder=$(mktemp -d "${TMPDIR:-/tmp}/kelvane-wine-bench.XXXXXX")
trap 'rm -rf "$folder"' EXIT

# A bar as the file manager writes it, in ASCII so that any code page reads
# it alike: per button its button, cmd, iconic and menu lines, param and
# path for some, and every tenth button a separator.
write_bar() {
  local file="$1" buttons="$2" n
  {
    printf '[Buttonbar]\r\nButtoncount=%d\r\n' "$buttons"
    for ((n = 1; n <= buttons; n++)); do
      if ((n % 10 == 0)); then
        printf 'button%d=\r\niconic%d=0\r\n' "$n" "$n"
        continue
      fi
      printf 'button%d=%%COMMANDER_PATH%%\\Tools\\tool%d.exe,0\r\n' "$n" "$n"
      printf 'cmd%d=%%COMMANDER_PATH%%\\Tools\\tool%d.exe\r\n' "$n" "$n"
      if ((n % 3 == 0)); then printf 'param%d="%%P%%N" /s\r\n' "$n"; fi
      if ((n % 5 == 0)); then printf 'path%d=%%COMMANDER_PATH%%\\Tools\r\n' "$n"; fi
      printf 'iconic%d=%d\r\n' "$n" $((n % 7 == 0))
      printf 'menu%d=Tool %d - open the selection\r\n' "$n" "$n"
    done
  } >"$file"
}

others=()
for exe in "$@"; do
  cp "$exe" "$folder/"
  others+=("$(basename "$exe")")
done
mkdir -p "$folder/Bar"
cp "$kelvane_exe" "$folder/kelvane.exe"
printf '[Main]\r\npathBar=Bar\r\npathMainPanel=Bar\\main.bar\r\n' >"$folder/kelvane.ini"
write_bar "$folder/Bar/main.bar" "$main_buttons"
write_bar "$folder/Bar/tools.bar" "$sub_buttons"

# Wall times in milliseconds, space-separated, by run: "expand",
# "collapse" or the program's file name.
declare -A times

# Runs one program from the folder as a toggle is run and records its wall
# time under `what`. A failed toggle would wait for the user at its error
# report, hence the time limit.
timed_run() {
  local what="$1" program="$2" start end
  start=$EPOCHREALTIME
  if ! (cd "$folder" && timeout 60 "$WINE" "$program" tools.bar); then
    echo "wine_toggle_bench.sh: $program tools.bar failed or did not finish" >&2
    exit 1
  fi
  end=$EPOCHREALTIME
  times[$what]+="$(awk -v s="$start" -v e="$end" 'BEGIN { printf "%.3f", (e - s) * 1000 }') "
}

# A toggle that ends well but leaves the bar as it was must not pass for a
# fast one.
expect_expanded() {
  local want="$1" got=no
  if grep -q 'tools\.barx1' "$folder/Bar/main.bar"; then got=yes; fi
  if [ "$got" != "$want" ]; then
    echo "wine_toggle_bench.sh: after a toggle the main bar is expanded: $got, expected: $want" >&2
    exit 1
  fi
}

round() {
  local other
  timed_run expand kelvane.exe
  expect_expanded yes
  for other in "${others[@]}"; do timed_run "$other" "$other"; done
  timed_run collapse kelvane.exe
  expect_expanded no
  for other in "${others[@]}"; do timed_run "$other" "$other"; done
}

# The median of space-separated numbers.
median() { tr -s ' ' '\n' <<<"$1" | grep . | sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

# One untimed round first: the first start of a program in the prefix
# fills caches that later starts find filled.
round
times=()
for ((r = 0; r < rounds; r++)); do round; done

toggle_ms=$(median "${times[expand]} ${times[collapse]}")
echo
echo "wine toggle: wine kelvane.exe tools.bar in a program folder, a main bar of" \
  "$main_buttons buttons and a sub-bar of $sub_buttons; medians of $((2 * rounds)) runs each"
printf '  %-40s %10.2f ms\n' \
  "expand run" "$(median "${times[expand]}")" \
  "collapse run" "$(median "${times[collapse]}")" \
  "toggle run (expand or collapse)" "$toggle_ms"
for other in "${others[@]}"; do
  printf '  %-40s %10.2f ms\n' "$other" "$(median "${times[$other]}")"
done
for other in "${others[@]}"; do
  printf '  %-40s %10.2f\n' "toggle / $other" \
    "$(awk -v t="$toggle_ms" -v o="$(median "${times[$other]}")" 'BEGIN { print t / o }')"
done
