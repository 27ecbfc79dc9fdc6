#!/usr/bin/env bash
# Fuzzes the Paradox table reader with libFuzzer under AddressSanitizer and
# UndefinedBehaviorSanitizer.
#
#   fuzz/run-fuzz.sh [seconds]      (default 300)
#
# Configures a separate clang build directory (ORVE_FUZZ_BUILD, default
# build-fuzz), builds the target and the seed writer, writes the seed corpus
# and runs one fuzzing process for the given time. The growing corpus stays
# in <build>/fuzz/corpus for the next run; a crash, leak or timeout leaves
# its input in <build>/fuzz/findings/ and makes the script fail. Re-run one
# input with: <build>/fuzz/fuzz_paradox <file>
set -euo pipefail
ROOT="$(cd "$(dirname "$0")/.." && pwd)"
SECONDS_TO_RUN="${1:-300}"
BUILD="${ORVE_FUZZ_BUILD:-$ROOT/build-fuzz}"

source "$ROOT/common.sh"
PACKAGES="$PACKAGES clang libclang-rt-14-dev"
orve_install_packages

cmake -S "$ROOT" -B "$BUILD" \
  -DCMAKE_CXX_COMPILER=clang++ \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVE_BUILD_FUZZ=ON -DORVE_BUILD_TESTS=OFF -DORVE_BUILD_BENCH=OFF >/dev/null
cmake --build "$BUILD" --target fuzz_paradox paradox_seeds --parallel 2

OUT="$BUILD/fuzz"
mkdir -p "$OUT/corpus" "$OUT/seeds" "$OUT/findings"
"$OUT/paradox_seeds" "$OUT/seeds"

"$OUT/fuzz_paradox" "$OUT/corpus" "$OUT/seeds" \
  -max_total_time="$SECONDS_TO_RUN" \
  -max_len=20000 \
  -timeout=10 \
  -rss_limit_mb=2048 \
  -print_final_stats=1 \
  -artifact_prefix="$OUT/findings/"
