#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/install-deps.sh
./scripts/build.sh
echo
echo "Built into build/. The desktop program is not there yet; what can be run now:"
echo "  ctest --test-dir build        the tests"
echo "  build/bench/kovanta_bench     the benchmarks"
