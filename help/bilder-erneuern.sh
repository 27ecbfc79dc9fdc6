#!/bin/sh
# Renews the screenshots of the help pages (help/bilder/*.png) from the real
# windows under Xvfb, on a fresh demonstration folder. Optionally also saves
# views of the help window itself into a second folder for checking.
#
#   help/bilder-erneuern.sh [build folder] [folder for views of the help window]
set -eu
hier=$(cd "$(dirname "$0")" && pwd)
build=${1:-"$hier/../build"}
cmake --build "$build" --target help_bilder
if [ $# -ge 2 ]; then
  set -- "$hier" "$2"
else
  set --
fi
xvfb-run -a -s "-screen 0 1280x900x24" env QT_QPA_PLATFORM=xcb \
  "$build/tools/bilder/help_bilder" "$hier/bilder" "$@"
