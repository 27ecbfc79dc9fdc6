#!/usr/bin/env bash
# Builds ORVE-Tarifo with its tests and runs every test through CTest.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/common.sh"
orve_install_packages
orve_configure -DORVE_BUILD_TESTS=ON -DORVE_BUILD_BENCH=ON
cmake --build "$ROOT/build" --parallel "$(nproc)"
cd "$ROOT/build"
QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
