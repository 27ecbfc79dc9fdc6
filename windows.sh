#!/usr/bin/env bash
# Cross-builds ORVE-Tarifo for 64-bit Windows and writes its setup program
# build-windows/ORVE-Tarifo-Setup-<version>.exe.
#
#   ./windows.sh          the setup program
#   ./windows.sh --test   also the test programs, run under Wine, a silent
#                         install under Wine and the batch command's CSV
#                         compared with the Linux build's
#   --nur-mit-cache       only when the Windows Qt is in the cache already;
#                         otherwise one line says so and the command ends (CI)
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
NUR_MIT_CACHE=0
for a in "$@"; do
  case "$a" in
    --test) TESTEN=1 ;;
    --nur-mit-cache) NUR_MIT_CACHE=1 ;;
    -h|--help) sed -n '2,15p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "Unbekannte Angabe: $a (erlaubt: --test, --nur-mit-cache)" >&2; exit 2 ;;
  esac
done

if [ "$NUR_MIT_CACHE" -eq 1 ] && ! win_qt_im_cache; then
  echo "Der Windows-Build wurde nicht geprüft: das für Windows gebaute Qt fehlt im Cache" \
    "($WIN_CACHE). Einmal ./windows.sh aufrufen (etwa 40 Minuten auf 2 Kernen) legt es an."
  exit 0
fi

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
