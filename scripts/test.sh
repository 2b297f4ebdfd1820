#!/usr/bin/env bash
# Runs every test: installs what is missing, builds the four presets (native
# unit tests, fuzz targets, benchmarks, the Windows programs) and runs ctest
# on the native build, which covers the unit, fuzz and wine labels.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

# One build at a time: each already uses every core.
for preset in native fuzz bench windows; do
  echo "== building preset $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
done

echo "== parser benchmark"
build/bench/bench/quillon_bench --benchmark_min_time=0.05

echo "== tests"
ctest --preset native
