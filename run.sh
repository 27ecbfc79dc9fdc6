#!/usr/bin/env bash
# Builds ORVE-Tarifo and starts it from its program folder build/ORVE-Tarifo/.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/common.sh"
orve_install_packages
orve_configure -DORVE_BUILD_TESTS=OFF -DORVE_BUILD_BENCH=OFF
cmake --build "$ROOT/build" --parallel "$(nproc)" --target orve-tarifo
exec "$ROOT/build/ORVE-Tarifo/orve-tarifo"
