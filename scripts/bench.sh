#!/usr/bin/env bash
# Runs the benchmarks and prints their figures; `make bench` builds what they
# need first. Without arguments, everything:
#   - kelvane_bench, the core's cases, in the temporary folder: a toggle
#     against its load-plus-save floor and that against the same files read
#     and written as bytes, at 40 to 200,000 buttons; sorting, blank-line
#     removal;
#   - the toggle growth case once more in memory (/dev/shm), where saving
#     costs no disk flush, so that the work itself shows;
#   - the sizes of kelvane.exe and of the programs it is compared with;
#   - the wall time of a toggle under Wine against its floor, the least
#     program that toggles safely, at 40, 2,000 and 20,000 buttons, and against
#     programs that do little or nothing (bench/wine_toggle_bench.sh);
#   - a summary against the goals.
# With arguments, only kelvane_bench, which takes them (--list,
# --repetitions=N, --size=N, case names).
# Everything printed is kept in RESULTS/bench.txt, the toggle growth figures
# in RESULTS/toggle_growth_{disk,memory}.dat and, when gnuplot is there, their
# plot in RESULTS/performance.png; RESULTS is bench/results in the native
# build folder.
#   KELVANE_BENCH_BUILD          native release build (default build/release)
#   KELVANE_BENCH_WINDOWS_BUILD  MinGW build (default build/mingw)
#   KELVANE_BENCH_BIN            the benchmark program (default: the build's)
#   KELVANE_BENCH_WINE_ROUNDS    expand-and-collapse rounds under Wine (default 11)
#   KELVANE_BENCH_BEFORE         the RESULTS folder of an earlier run (of another
#                                build, say), whose toggle and floor the plot
#                                draws beside this run's
set -euo pipefail
export LC_ALL=C
cd "$(dirname "$0")/.."

build=${KELVANE_BENCH_BUILD:-build/release}
windows_build=${KELVANE_BENCH_WINDOWS_BUILD:-build/mingw}
bin=${KELVANE_BENCH_BIN:-$build/bench/kelvane_bench}
kelvane_exe=$windows_build/app/kelvane.exe
# Started beside kelvane.exe under Wine: the toggle's floor, the goals'
# yardstick, and programs that do little or nothing.
floor_exe=$windows_build/bench/toggle_floor.exe
others=("$windows_build/bench/empty.exe" "$windows_build/bench/find_window.exe"
        "$windows_build/bench/hidden_window.exe")
memory=/dev/shm
size_goal_bytes=1000000

if [ ! -x "$bin" ]; then
  echo "bench.sh: $bin not found; build it first: make bench" >&2
  exit 1
fi
results=$(dirname "$bin")/results
mkdir -p "$results"
log=$results/bench.txt
disk_data=$results/toggle_growth_disk.dat
memory_data=$results/toggle_growth_memory.dat
plot_png=$results/performance.png
before=${KELVANE_BENCH_BEFORE:-}

row() { printf '  %-40s %10s\n' "$1" "$2"; }

machine() {
  local cpu temp=${TMPDIR:-/tmp}
  cpu=$(sed -n 's/^model name[[:space:]]*: //p' /proc/cpuinfo | head -1)
  echo "kelvane benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC')"
  echo "  machine: ${cpu:-$(uname -m)}, $(nproc) cores, Linux $(uname -r)"
  echo "  temporary folder: $temp ($(df --output=fstype "$temp" | tail -1 | tr -d ' '))"
  echo "  load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"
  if command -v wine >/dev/null; then echo "  Wine: $(wine --version 2>/dev/null)"; fi
}

# The toggle growth rows of kelvane_bench's output as columns: buttons, raw
# floor ms, floor ms, toggle ms, floor / raw floor, toggle / floor.
growth_data() {
  awk '/^toggle growth:/ { on = 1; next }
       /^$/ { on = 0 }
       on && $2 == "buttons," && $3 == "raw" && $6 == "ms" { raw[$1] = $5; order[++n] = $1 }
       on && $2 == "buttons," && $3 == "floor" && $5 == "ms" { floor[$1] = $4 }
       on && $2 == "buttons," && $3 == "toggle" && $5 == "ms" { toggle[$1] = $4 }
       END {
         print "# buttons raw_ms floor_ms toggle_ms floor/raw toggle/floor"
         for (k = 1; k <= n; k++) {
           b = order[k]
           printf "%s %s %s %s %.3f %.3f\n", b, raw[b], floor[b], toggle[b],
                  floor[b] / raw[b], toggle[b] / floor[b]
         }
       }' "$1"
}

rows_in() { if [ -f "$1" ]; then grep -vc '^#' "$1" || true; else echo 0; fi; }

# One panel per data file that has figures: toggle, floor, raw floor and the
# goals' limits, on log-log axes.
plot() {
  local panels=() titles=() k
  if [ "$(rows_in "$disk_data")" -gt 1 ]; then
    panels+=("$disk_data")
    titles+=("in the temporary folder: every save flushed to disk")
  fi
  if [ "$(rows_in "$memory_data")" -gt 1 ]; then
    panels+=("$memory_data")
    titles+=("in memory (tmpfs): flushes cost nothing")
  fi
  [ ${#panels[@]} -gt 0 ] || return 0
  if ! command -v gnuplot >/dev/null; then
    echo "  (no plot: gnuplot is missing; scripts/setup.sh plot installs it)"
    return 0
  fi
  {
    echo "set terminal pngcairo size $((520 * ${#panels[@]})),520 font 'DejaVu Sans,10'"
    echo "set output '$plot_png'"
    echo "set multiplot layout 1,${#panels[@]} title 'Toggle (expand run + collapse run), its load-plus-save floor and the same files as bytes, medians'"
    echo "set logscale xy; set format x '%.0f'; set grid; set key top left Left reverse"
    echo "set xrange [20:400000]; set xlabel 'buttons in the main bar (sub-bar: a tenth)'"
    echo "set ylabel 'milliseconds'"
    for k in "${!panels[@]}"; do
      local earlier=""
      [ -n "$before" ] && earlier="$before/$(basename "${panels[$k]}")"
      [ -n "$earlier" ] && [ "$(rows_in "$earlier")" -gt 1 ] || earlier=""
      echo "set title '${titles[$k]}'"
      echo "plot '${panels[$k]}' using 1:4 with linespoints lw 2 pt 7 title 'toggle', \\"
      echo "     '' using 1:3 with linespoints lw 2 pt 5 title 'floor: the same loads and saves', \\"
      echo "     '' using 1:2 with linespoints lw 2 pt 9 title 'raw floor: the same files as bytes', \\"
      echo "     '' using 1:(1.3*\$3) with lines dt 2 lc rgb 'gray40' title '1.3 x floor: the toggle''s goal', \\"
      echo "     '' using 1:(3*\$2) with lines dt 3 lc rgb 'gray60' title '3 x raw floor: the floor''s goal'\\"
      if [ -n "$earlier" ]; then
        echo ", '$earlier' using 1:4 with linespoints dt 4 lw 1 pt 6 lc 1 title 'before: toggle', \\"
        echo "     '' using 1:3 with linespoints dt 4 lw 1 pt 4 lc 2 title 'before: floor'"
      else
        echo ""
      fi
    done
    echo "unset multiplot"
  } | gnuplot
  echo "  plot: $plot_png"
}

windows_part() {
  local exe
  for exe in "$kelvane_exe" "$floor_exe" "${others[@]}"; do
    if [ ! -f "$exe" ]; then
      echo
      echo "(no $exe: make bench builds the Windows programs)"
      return 0
    fi
  done
  echo
  echo "executables: the MinGW build ($windows_build), static C++ runtime, stripped"
  for exe in "$kelvane_exe" "$floor_exe" "${others[@]}"; do
    row "$(basename "$exe")" "$(stat -c %s "$exe") B"
  done
  scripts/with-wine.sh bench/wine_toggle_bench.sh "$kelvane_exe" "$floor_exe" "${others[@]}"
}

goal_row() {
  local what="$1" ok="$2" detail="$3"
  row "$what" "$([ "$ok" = 1 ] && echo yes || echo NO)"
  echo "    ($detail)"
}

# A figure against its limit: 1 when it is within it.
within() { awk -v v="$1" -v limit="$2" 'BEGIN { print (v != "" && v <= limit) ? 1 : 0 }'; }

goals() {
  local ok worst ratio size exponent buttons limit
  echo
  echo "goals"
  if [ "$(rows_in "$memory_data")" -gt 0 ]; then
    ok=$(awk '!/^#/ && ($1 == 2000 || $1 == 20000) { n++; if ($5 > 3) bad = 1 }
              END { print (n == 2 && !bad) ? 1 : 0 }' "$memory_data")
    worst=$(awk '!/^#/ && ($1 == 2000 || $1 == 20000) { printf "%s%.2f at %s buttons", sep, $5, $1; sep = ", " }' "$memory_data")
    goal_row "floor <= 3 x raw floor, in memory" "$ok" "$worst"
    exponent=$(awk '/growth exponent of the floor from 2000/ { print $NF }' "$results/memory.txt")
    goal_row "floor's growth exponent <= 1.1, in memory" "$(within "$exponent" 1.1)" \
      "2,000 to 200,000 buttons: ${exponent:-none}"
    ok=$(awk '!/^#/ && $6 > 1.3 { bad = 1 } END { print bad ? 0 : 1 }' "$memory_data")
    worst=$(awk '!/^#/ { printf "%s%.2f at %s", sep, $6, $1; sep = ", " }' "$memory_data")
    goal_row "toggle <= 1.3 x floor, in memory" "$ok" "$worst buttons"
  fi
  for buttons in 40 2000 20000; do
    limit=$([ "$buttons" = 20000 ] && echo 1.6 || echo 1.1)
    ratio=$(awk -v b="$buttons" '/^wine toggle:/ { on = ($0 ~ ("a main bar of " b " buttons")) }
                                 on && $1 == "toggle" && $3 == "toggle_floor.exe" { print $4 }' "$log")
    [ -n "$ratio" ] || continue
    goal_row "Wine toggle <= $limit x its floor, $buttons buttons" "$(within "$ratio" "$limit")" \
      "ratio: $ratio"
  done
  if [ -f "$kelvane_exe" ]; then
    size=$(stat -c %s "$kelvane_exe")
    goal_row "kelvane.exe under 1 MB" "$([ "$size" -lt "$size_goal_bytes" ] && echo 1 || echo 0)" \
      "$size bytes"
  fi
}

run() {
  machine
  "$bin" "$@"
  [ $# -eq 0 ] || return 0
  if [ -d "$memory" ] && [ -w "$memory" ]; then
    echo
    echo "in memory: toggle growth again with TMPDIR=$memory ($(df --output=fstype "$memory" | tail -1 | tr -d ' '))"
    TMPDIR=$memory "$bin" toggle_growth
  fi
  windows_part
}

rm -f "$disk_data" "$memory_data"
run "$@" 2>&1 | tee "$log"
awk '/^in memory:/ { exit } { print }' "$log" >"$results/disk.txt"
awk 'found { print } /^in memory:/ { found = 1 }' "$log" >"$results/memory.txt"
growth_data "$results/disk.txt" >"$disk_data"
growth_data "$results/memory.txt" >"$memory_data"
{
  plot
  [ $# -gt 0 ] || goals
} 2>&1 | tee -a "$log"
rm -f "$results/disk.txt" "$results/memory.txt"
