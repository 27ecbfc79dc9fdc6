#!/usr/bin/env bash
# Builds ORVE-Tarifo with its tests and runs every test through CTest.
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/common.sh"
orve_install_packages
# The folders of src/ form floors: a new circle of includes fails here first.
python3 "$ROOT/tools/struktur/ebenen.py" "$ROOT"
orve_configure -DORVE_BUILD_TESTS=ON -DORVE_BUILD_BENCH=ON
cmake --build "$ROOT/build" --parallel "$(nproc)"
orve_german_locale
cd "$ROOT/build"
# Every test twice: in the C locale and on a desktop set to German, where the
# C library reads and writes numbers with a decimal comma. The test programs
# check that the German run really has one (ORVE_TEST_DEUTSCH).
echo "Tests im Gebietsschema C:"
LC_ALL=C LANG=C QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$(nproc)"
echo "Tests im Gebietsschema de_DE.UTF-8:"
LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8 ORVE_TEST_DEUTSCH=1 QT_QPA_PLATFORM=offscreen \
  ctest --output-on-failure --parallel "$(nproc)"
