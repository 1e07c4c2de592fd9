#!/usr/bin/env bash
# Runs the benchmarks of the release build and prints their figures. It
# builds nothing: `make bench` builds the release preset first. Arguments go
# to the benchmark program (--list, --repetitions=N, --size=N, case names).
#   KELVANE_BENCH_BIN  the program to run (default: the release preset's)
set -euo pipefail
cd "$(dirname "$0")/.."
bin=${KELVANE_BENCH_BIN:-build/release/bench/kelvane_bench}
if [ ! -x "$bin" ]; then
  echo "bench.sh: $bin not found; build it first: cmake --preset release && cmake --build --preset release" >&2
  exit 1
fi
echo "kelvane benchmarks ($(uname -m), $(nproc) cores)"
exec "$bin" "$@"
