#!/usr/bin/env bash
# Cross-builds ORVE-Tarifo for 64-bit Windows and writes its setup program
# build-windows/ORVE-Tarifo-Setup-<version>.exe.
#
#   ./windows.sh          the setup program
#   ./windows.sh --test   also the test programs, run under Wine, a silent
#                         install under Wine and the batch command's CSV
#                         compared with the Linux build's
#
# Qt for Windows is not packaged by Debian: it is built once from Debian's
# source of the host's Qt (whose moc, rcc and uic it uses), as are SQLiteCpp
# and GoogleTest, into a cache folder outside the checkout that later runs
# reuse (ORVE_WINDOWS_CACHE, by default ~/.cache/orve-tarifo-windows).
set -euo pipefail
ROOT="$(cd "$(dirname "$0")" && pwd)"
source "$ROOT/common.sh"
source "$ROOT/tools/windows/windows-schritte.sh"

TESTEN=0
for a in "$@"; do
  case "$a" in
    --test) TESTEN=1 ;;
    -h|--help) sed -n '2,13p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "Unbekannte Angabe: $a (erlaubt: --test)" >&2; exit 2 ;;
  esac
done

win_start
win_pakete
win_qt
win_sqlitecpp
[ "$TESTEN" -eq 1 ] && win_googletest
win_programm "$TESTEN"
win_ordner
win_setup
if [ "$TESTEN" -eq 1 ]; then
  win_tests
  win_installation_pruefen
fi
win_ende
