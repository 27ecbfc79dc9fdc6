# The steps of windows.sh. Every step prints a progress line with the time, so
# a long build is never silent, and the end lists how long each step took.

WIN_CACHE="${ORVE_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/orve-tarifo-windows}"
WIN_BUILD="$ROOT/build-windows"
WIN_TOOLCHAIN="$ROOT/tools/windows/mingw-w64.cmake"
WIN_PACKAGES="g++-mingw-w64-x86-64-posix wine64 nsis ninja-build xz-utils fonts-liberation"
WINE=/usr/lib/wine/wine64
WIN_JOBS="$(nproc)"
WIN_ZEITEN=()

win_schritt() {
  echo "[windows.sh $(date +%H:%M:%S)] $*"
}

# Runs a long command with its output in a log file; on failure the end of the
# log is shown. A line every minute tells that the command still runs.
win_protokolliert() {
  local log="$1"
  shift
  "$@" >"$log" 2>&1 &
  local pid=$! start=$SECONDS
  while kill -0 "$pid" 2>/dev/null; do
    sleep 5
    if [ $(((SECONDS - start) % 60)) -lt 5 ] && [ $((SECONDS - start)) -ge 60 ]; then
      win_schritt "  läuft seit $(((SECONDS - start) / 60)) min: $(grep -a -o -E '^\[ *[0-9]+(/[0-9]+|%)\]' "$log" | tail -1)"
    fi
  done
  if ! wait "$pid"; then
    tail -40 "$log" >&2
    echo "Fehlgeschlagen: $* (vollständiges Protokoll: $log)" >&2
    exit 1
  fi
}

win_zeit() {
  WIN_ZEITEN+=("$1: $(($2 / 60)) min $(($2 % 60)) s")
}

win_start() {
  WIN_T0=$SECONDS
  mkdir -p "$WIN_CACHE" "$WIN_BUILD"
  win_schritt "Cache-Ordner: $WIN_CACHE"
}

win_pakete() {
  win_schritt "Pakete prüfen (MinGW-w64, Wine, NSIS, Ninja und die des Linux-Builds)"
  PACKAGES="$PACKAGES $WIN_PACKAGES"
  orve_install_packages
}

# The host's Qt version: the Windows Qt must match the tools it borrows.
win_qt_version() {
  dpkg-query -W -f='${Version}' libqt6core6 | sed 's/+.*//; s/-.*//'
}

# Sources from Debian's archive, fetched with a private sources and lists
# folder, so the machine's package lists stay as they are.
win_quelle() {
  local paket="$1" version="$2" ziel="$WIN_CACHE/quellen"
  local apt="$WIN_CACHE/apt"
  if ls "$ziel/${paket}_${version%%-*}"*.orig.tar.* >/dev/null 2>&1; then
    return 0
  fi
  win_schritt "Quellen von $paket $version aus Debians Archiv holen"
  mkdir -p "$apt/sources.list.d" "$apt/lists/partial" "$ziel"
  local suite
  suite="$(. /etc/os-release && echo "$VERSION_CODENAME")"
  cat >"$apt/sources.list.d/quellen.sources" <<EOF
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: $suite
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
EOF
  local opts=(-o "Dir::Etc::sourceparts=$apt/sources.list.d" -o Dir::Etc::sourcelist=/dev/null
    -o "Dir::State::Lists=$apt/lists" -o APT::Sandbox::User=root -qq)
  apt-get "${opts[@]}" update
  (cd "$ziel" && apt-get "${opts[@]}" source --download-only "$paket=$version")
}

win_auspacken() {
  local archiv="$1" ziel="$2"
  rm -rf "$ziel.tmp" && mkdir -p "$ziel.tmp"
  tar -xf "$archiv" -C "$ziel.tmp" --strip-components=1
  rm -rf "$ziel" && mv "$ziel.tmp" "$ziel"
}

# Sets QT_VERSION and QT_PREFIX; true when that Qt is complete in the cache.
win_qt_im_cache() {
  dpkg-query -W libqt6core6 >/dev/null 2>&1 || return 1
  QT_VERSION="$(win_qt_version)"
  QT_PREFIX="$WIN_CACHE/qt-$QT_VERSION-mingw"
  [ -f "$QT_PREFIX/.fertig" ]
}

win_qt() {
  if win_qt_im_cache; then
    win_schritt "Qt $QT_VERSION für Windows aus dem Cache: $QT_PREFIX"
    return 0
  fi
  local t=$SECONDS
  local deb
  deb="$(dpkg-query -W -f='${Version}' libqt6core6)"
  win_quelle qt6-base "$deb"
  local quelle="$WIN_CACHE/qtbase-$QT_VERSION"
  win_schritt "Qt $QT_VERSION auspacken"
  win_auspacken "$(ls "$WIN_CACHE/quellen/qt6-base_${QT_VERSION}"*.orig.tar.*)" "$quelle"
  win_schritt "Qt $QT_VERSION für Windows konfigurieren (Protokoll: $WIN_CACHE/qt-konfiguration.log)"
  rm -rf "$WIN_CACHE/qt-build" "$QT_PREFIX"
  # Only Core, Gui, Widgets, PrintSupport and Test; every third-party
  # library from Qt's own copy; no OpenGL (INPUT_opengl=no also turns off
  # the dynamic OpenGL loader that Qt 6.4's Windows plugin does not build
  # without it), D-Bus, SQL or network.
  local aus=(-DINPUT_opengl=no)
  for f in opengl opengl_dynamic dynamicgl dbus sql network tabletevent system_zlib system_pcre2 system_freetype system_harfbuzz \
    system_png system_jpeg system_doubleconversion system_libb2 system_textmarkdownreader; do
    aus+=("-DFEATURE_$f=OFF")
  done
  win_protokolliert "$WIN_CACHE/qt-konfiguration.log" \
    cmake -S "$quelle" -B "$WIN_CACHE/qt-build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$WIN_TOOLCHAIN" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$QT_PREFIX" \
    -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF \
    "${aus[@]}"
  win_schritt "Qt $QT_VERSION für Windows bauen, etwa 30 Minuten auf 2 Kernen (Protokoll: $WIN_CACHE/qt-build.log)"
  win_protokolliert "$WIN_CACHE/qt-build.log" cmake --build "$WIN_CACHE/qt-build" --parallel "$WIN_JOBS"
  win_protokolliert "$WIN_CACHE/qt-install.log" cmake --install "$WIN_CACHE/qt-build"
  rm -rf "$WIN_CACHE/qt-build" "$quelle"
  touch "$QT_PREFIX/.fertig"
  win_zeit "Qt $QT_VERSION" $((SECONDS - t))
  win_schritt "Qt $QT_VERSION für Windows fertig: $QT_PREFIX ($(du -sh "$QT_PREFIX" | cut -f1))"
}

# SQLite as sqlite3.dll (from the amalgamation SQLiteCpp's source carries):
# the program folder's registry file names it as the driver of the SQLite
# data sources, as it names libsqlite3.so.0 on Linux. SQLiteCpp is linked
# against it.
win_sqlitecpp() {
  local version=3.2.1
  SQLITECPP_PREFIX="$WIN_CACHE/sqlitecpp-$version-mingw"
  if [ -f "$SQLITECPP_PREFIX/.fertig" ]; then
    win_schritt "SQLite und SQLiteCpp $version für Windows aus dem Cache"
    return 0
  fi
  local t=$SECONDS
  win_quelle sqlitecpp "$version-1"
  local quelle="$WIN_CACHE/sqlitecpp-$version"
  win_auspacken "$(ls "$WIN_CACHE/quellen/sqlitecpp_$version"*.orig.tar.*)" "$quelle"
  win_schritt "SQLite (sqlite3.dll) und SQLiteCpp $version für Windows bauen"
  rm -rf "$WIN_CACHE/sqlitecpp-build" "$SQLITECPP_PREFIX"
  mkdir -p "$SQLITECPP_PREFIX/bin" "$SQLITECPP_PREFIX/lib" "$SQLITECPP_PREFIX/include"
  win_protokolliert "$WIN_CACHE/sqlite.log" x86_64-w64-mingw32-gcc-posix -shared -O2 \
    -DSQLITE_ENABLE_COLUMN_METADATA=1 -DSQLITE_THREADSAFE=1 -DSQLITE_DQS=0 \
    -DSQLITE_API='__declspec(dllexport)' \
    "$quelle/sqlite3/sqlite3.c" -o "$SQLITECPP_PREFIX/bin/sqlite3.dll" \
    -Wl,--out-implib,"$SQLITECPP_PREFIX/lib/libsqlite3.dll.a"
  cp "$quelle/sqlite3/sqlite3.h" "$SQLITECPP_PREFIX/include/"
  ORVE_WINDOWS_PREFIXES="$SQLITECPP_PREFIX" win_protokolliert "$WIN_CACHE/sqlitecpp.log" bash -c "
    cmake -S '$quelle' -B '$WIN_CACHE/sqlitecpp-build' -G Ninja -DCMAKE_TOOLCHAIN_FILE='$WIN_TOOLCHAIN' \
      -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX='$SQLITECPP_PREFIX' -DSQLITECPP_INTERNAL_SQLITE=OFF \
      -DSQLITECPP_RUN_CPPLINT=OFF -DSQLITECPP_RUN_CPPCHECK=OFF -DSQLITECPP_BUILD_TESTS=OFF \
      -DSQLITECPP_BUILD_EXAMPLES=OFF &&
    cmake --build '$WIN_CACHE/sqlitecpp-build' --parallel $WIN_JOBS &&
    cmake --install '$WIN_CACHE/sqlitecpp-build'"
  mkdir -p "$SQLITECPP_PREFIX/lizenzen"
  cp "$quelle/LICENSE.txt" "$SQLITECPP_PREFIX/lizenzen/SQLiteCpp.txt"
  rm -rf "$WIN_CACHE/sqlitecpp-build" "$quelle"
  touch "$SQLITECPP_PREFIX/.fertig"
  win_zeit "SQLite und SQLiteCpp" $((SECONDS - t))
}

# GoogleTest from the source Debian's libgtest-dev ships in /usr/src.
win_googletest() {
  GTEST_PREFIX="$WIN_CACHE/googletest-mingw"
  if [ -f "$GTEST_PREFIX/.fertig" ]; then
    win_schritt "GoogleTest für Windows aus dem Cache"
    return 0
  fi
  local t=$SECONDS
  win_schritt "GoogleTest für Windows bauen"
  rm -rf "$WIN_CACHE/googletest-build" "$GTEST_PREFIX"
  win_protokolliert "$WIN_CACHE/googletest.log" bash -c "
    cmake -S /usr/src/googletest -B '$WIN_CACHE/googletest-build' -G Ninja \
      -DCMAKE_TOOLCHAIN_FILE='$WIN_TOOLCHAIN' -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_INSTALL_PREFIX='$GTEST_PREFIX' -Dgtest_disable_pthreads=OFF &&
    cmake --build '$WIN_CACHE/googletest-build' --parallel $WIN_JOBS &&
    cmake --install '$WIN_CACHE/googletest-build'"
  rm -rf "$WIN_CACHE/googletest-build"
  touch "$GTEST_PREFIX/.fertig"
  win_zeit "GoogleTest" $((SECONDS - t))
}

win_programm() {
  local testen="$1" t=$SECONDS
  export ORVE_WINDOWS_PREFIXES="$SQLITECPP_PREFIX${GTEST_PREFIX:+:$GTEST_PREFIX}"
  local tests=OFF
  [ "$testen" -eq 1 ] && tests=ON
  win_schritt "ORVE-Tarifo für Windows bauen (Tests: $tests; Protokoll: $WIN_BUILD/programm.log)"
  # The cached Qt remembers the toolchain file of the checkout that built it:
  # this checkout's is named again.
  win_protokolliert "$WIN_BUILD/programm.log" bash -c "
    '$QT_PREFIX/bin/qt-cmake' -S '$ROOT' -B '$WIN_BUILD/build' -G Ninja \
      -DQT_CHAINLOAD_TOOLCHAIN_FILE='$WIN_TOOLCHAIN' -DCMAKE_BUILD_TYPE=Release \
      -DORVE_BUILD_TESTS=$tests -DORVE_BUILD_BENCH=OFF &&
    cmake --build '$WIN_BUILD/build' --parallel $WIN_JOBS"
  win_zeit "Programm" $((SECONDS - t))
}

# The DLLs the programs need beside them: Qt, its plugins, SQLite and the
# MinGW runtime.
win_dlls_kopieren() {
  local ziel="$1"
  local rt=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
  mkdir -p "$ziel/platforms" "$ziel/styles" "$ziel/translations"
  for m in Core Gui Widgets PrintSupport; do
    cp "$QT_PREFIX/bin/Qt6$m.dll" "$ziel/"
  done
  cp "$QT_PREFIX/plugins/platforms/qwindows.dll" "$QT_PREFIX/plugins/platforms/qoffscreen.dll" "$ziel/platforms/"
  cp "$QT_PREFIX"/plugins/styles/*.dll "$ziel/styles/"
  cp "$SQLITECPP_PREFIX/bin/sqlite3.dll" "$rt/libstdc++-6.dll" "$rt/libgcc_s_seh-1.dll" \
    /usr/x86_64-w64-mingw32/lib/libwinpthread-1.dll "$ziel/"
  cp /usr/share/qt6/translations/qtbase_de.qm "$ziel/translations/"
  # Qt finds its plugins and translations beside the program.
  printf '[Paths]\nPrefix=.\nPlugins=.\nTranslations=translations\n' >"$ziel/qt.conf"
}

# The licence notices of what the setup program ships, in one file that the
# installer shows and that lies in the program folder.
win_lizenzen() {
  local datei="$1" qt_archiv
  qt_archiv="$(ls "$WIN_CACHE/quellen/qt6-base_${QT_VERSION}"*.orig.tar.*)"
  local tmp="$WIN_BUILD/lizenzen"
  rm -rf "$tmp" && mkdir -p "$tmp"
  tar -xf "$qt_archiv" -C "$tmp" --strip-components=1 --wildcards '*/LICENSES/LGPL-3.0-only.txt' \
    '*/LICENSES/GPL-3.0-only.txt' '*/src/3rdparty/freetype/LICENSE.txt' '*/src/3rdparty/freetype/docs/FTL.TXT' \
    '*/src/3rdparty/harfbuzz-ng/COPYING' '*/src/3rdparty/pcre2/LICENCE' '*/src/3rdparty/libpng/LICENSE' \
    '*/src/3rdparty/libjpeg/LICENSE' '*/src/3rdparty/libjpeg/ijg-license.txt' '*/src/3rdparty/zlib/LICENSE' \
    '*/src/3rdparty/double-conversion/LICENSE' '*/src/3rdparty/md4c/LICENSE.md'
  local q="$tmp/src/3rdparty"
  {
    printf 'ORVE-Tarifo %s\n\nDieses Setup-Programm installiert mit ORVE-Tarifo die folgenden Bibliotheken.\n' "$WIN_VERSION"
    printf 'Ihre Lizenzhinweise stehen unten vollständig; sie liegen nach der Installation\n'
    printf 'auch im Programmordner (Lizenzhinweise.txt).\n\n'
    printf '  Qt %s (Core, Gui, Widgets, PrintSupport): GNU LGPL 3.0; die Quellen sind die des\n' "$QT_VERSION"
    printf '    Debian-Pakets qt6-base %s, unverändert dynamisch gebunden (Qt6*.dll)\n' "$(dpkg-query -W -f='${Version}' libqt6core6)"
    printf '  FreeType, HarfBuzz, PCRE2, libpng, libjpeg, zlib, double-conversion, md4c: in Qt enthalten\n'
    printf '  MinGW-w64-Laufzeit (libstdc++, libgcc, winpthreads): GPL 3 mit GCC-Laufzeitausnahme, MIT\n'
    printf '  SQLite (sqlite3.dll): gemeinfrei\n  SQLiteCpp 3.2.1: MIT\n'
    local n
    for n in "Qt: GNU Lesser General Public License 3.0|$tmp/LICENSES/LGPL-3.0-only.txt" \
      "Qt: GNU General Public License 3.0 (Bestandteil der LGPL 3.0)|$tmp/LICENSES/GPL-3.0-only.txt" \
      "FreeType|$q/freetype/LICENSE.txt" "FreeType: The FreeType Project License|$q/freetype/docs/FTL.TXT" \
      "HarfBuzz|$q/harfbuzz-ng/COPYING" "PCRE2|$q/pcre2/LICENCE" "libpng|$q/libpng/LICENSE" \
      "libjpeg|$q/libjpeg/LICENSE" "libjpeg: Independent JPEG Group|$q/libjpeg/ijg-license.txt" \
      "zlib|$q/zlib/LICENSE" "double-conversion|$q/double-conversion/LICENSE" "md4c|$q/md4c/LICENSE.md" \
      "MinGW-w64-Laufzeit: GCC (libstdc++, libgcc)|/usr/share/doc/gcc-mingw-w64-base/copyright" \
      "MinGW-w64-Laufzeit: winpthreads und Header|/usr/share/doc/mingw-w64-common/copyright" \
      "SQLiteCpp|$SQLITECPP_PREFIX/lizenzen/SQLiteCpp.txt"; do
      printf '\n\n==== %s ====\n\n' "${n%%|*}"
      cat "${n#*|}"
    done
    printf '\n\n==== SQLite ====\n\nThe author disclaims copyright to this source code. In place of a legal notice,\n'
    printf 'here is a blessing: May you do good and not evil. May you find forgiveness for\n'
    printf 'yourself and forgive others. May you share freely, never taking more than you give.\n'
  } >"$datei"
  rm -rf "$tmp"
}

# The folder whose files the setup program installs: the programs, the DLLs,
# the help and the licence notices. No settings, no database, no registry
# file: those are the user's and are never overwritten.
win_ordner() {
  WIN_VERSION="$(sed -n 's/^project(orve-tarifo VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")"
  WIN_ORDNER="$WIN_BUILD/ORVE-Tarifo"
  win_schritt "Programmordner für das Setup-Programm zusammenstellen: $WIN_ORDNER"
  rm -rf "$WIN_ORDNER" && mkdir -p "$WIN_ORDNER"
  local b="$WIN_BUILD/build"
  cp "$b/ORVE-Tarifo/orve-tarifo.exe" "$b/ORVE-Tarifo/orve-tarifo-bericht.exe" "$b/app/orve-setup.exe" \
    "$b/app/orve-demo.exe" "$WIN_ORDNER/"
  x86_64-w64-mingw32-strip "$WIN_ORDNER"/*.exe
  cp -r "$b/ORVE-Tarifo/Hilfe" "$WIN_ORDNER/"
  win_dlls_kopieren "$WIN_ORDNER"
  win_lizenzen "$WIN_ORDNER/Lizenzhinweise.txt"
  # Windows reads the notices in its own line ends.
  sed -i 's/\r$//; s/$/\r/' "$WIN_ORDNER/Lizenzhinweise.txt"
}

win_setup() {
  local t=$SECONDS
  WIN_SETUP="$WIN_BUILD/ORVE-Tarifo-Setup-$WIN_VERSION.exe"
  win_schritt "Setup-Programm schreiben: $WIN_SETUP"
  # What the uninstaller removes: exactly the installed files, deepest first.
  local liste="$WIN_BUILD/dateiliste.nsh"
  (cd "$WIN_ORDNER" && {
    find . -type f | sort | sed 's|^\./||; s|/|\\|g; s|.*|  Delete "$INSTDIR\\&"|'
    find . -mindepth 1 -type d | sort -r | sed 's|^\./||; s|/|\\|g; s|.*|  RMDir "$INSTDIR\\&"|'
  }) >"$liste"
  win_protokolliert "$WIN_BUILD/setup.log" makensis -V2 -INPUTCHARSET UTF8 -DVERSION="$WIN_VERSION" \
    -DQUELLE="$WIN_ORDNER" -DLIZENZ="$WIN_ORDNER/Lizenzhinweise.txt" -DDATEILISTE="$liste" \
    -DAUSGABE="$WIN_SETUP" "$ROOT/tools/windows/ORVE-Tarifo.nsi"
  win_zeit "Setup-Programm" $((SECONDS - t))
  win_schritt "Setup-Programm fertig: $WIN_SETUP ($(du -h "$WIN_SETUP" | cut -f1))"
}

# A Unix path as Wine sees it (drive Z: is /).
win_pfad() {
  local p="$1"
  echo "Z:${p//\//\\}"
}

# Wine with its own prefix in the cache, quiet, with the DLLs of the build
# on its PATH and the Liberation fonts in its Windows font folder (where a
# Windows PC has Arial).
win_wine_vorbereiten() {
  export WINEPREFIX="$WIN_CACHE/wine" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  unset DISPLAY
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    win_schritt "Wine-Umgebung anlegen: $WINEPREFIX"
    win_protokolliert "$WIN_CACHE/wineboot.log" "$WINE" wineboot --init
  fi
  # A wineserver left from an earlier run must end before its prefix is used.
  /usr/lib/wine/wineserver64 -w 2>/dev/null || true
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp /usr/share/fonts/truetype/liberation/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
  local rt=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
  export WINEPATH="$(win_pfad "$QT_PREFIX/bin");$(win_pfad "$SQLITECPP_PREFIX/bin");$(win_pfad "$rt");$(win_pfad /usr/x86_64-w64-mingw32/lib)"
  # Wine keeps the host's QT_ variables from Windows programs; with the prefix
  # WINE they reach them.
  export WINEQT_PLUGIN_PATH
  WINEQT_PLUGIN_PATH="$(win_pfad "$QT_PREFIX/plugins")"
}

# Every test program under Wine, offscreen, with the fonts of the Wine
# prefix. A test that needs what Windows lacks skips with its reason.
win_tests() {
  local t=$SECONDS fehler=0
  win_wine_vorbereiten
  local log="$WIN_BUILD/tests"
  rm -rf "$log" && mkdir -p "$log"
  win_schritt "Testprogramme unter Wine ausführen (Protokolle: $log)"
  local exe name
  for exe in "$WIN_BUILD"/build/tests/*/test_*.exe; do
    name="$(basename "$exe" .exe)"
    if (cd "$(dirname "$exe")" && WINEQT_QPA_PLATFORM=offscreen \
      WINEQT_QPA_FONTDIR="C:\\windows\\Fonts" "$WINE" "$exe" --gtest_color=no >"$log/$name.txt" 2>&1); then
      win_schritt "  $name: $(grep -a -c '^\[       OK \]' "$log/$name.txt") bestanden, $(grep -a -c '^\[  SKIPPED \].* ms)' "$log/$name.txt") übersprungen"
    else
      fehler=1
      win_schritt "  $name: FEHLGESCHLAGEN"
      grep -a -E '^\[  FAILED  \]|Failure' "$log/$name.txt" | cut -c1-200 | head -20 >&2 || true
    fi
  done
  win_zeit "Tests unter Wine" $((SECONDS - t))
  if [ "$fehler" -ne 0 ]; then
    echo "Nicht alle Tests bestehen unter Wine (Protokolle: $log)." >&2
    exit 1
  fi
  # The reasons of the skipped tests, each once.
  grep -a -h -B1 '^\[  SKIPPED \]' "$log"/*.txt | grep -a -v '^\[\|^--\|Skipped$' | sort | uniq -c |
    sed 's/^/    übersprungen: /' || true
}

win_pruefen() {
  if ! "$@"; then
    echo "Prüfung der Installation fehlgeschlagen: $PRUEFUNG" >&2
    exit 1
  fi
}

win_sha() {
  (cd "$1" && sha256sum Datenbank/Bill.sqlite Steuersatz.txt Billpfad.txt Registry/HKEY_LOCAL_MACHINE.reg)
}

# The setup program as a user runs it, silently under Wine: the installed
# demonstration folder gives the Linux build's totals and CSV, and a PDF with
# text; an installation over it keeps what the user changed; the uninstaller
# keeps the database and the settings.
win_installation_pruefen() {
  local t=$SECONDS
  win_wine_vorbereiten
  unset WINEPATH WINEQT_PLUGIN_PATH
  local benutzer
  benutzer="$(ls "$WINEPREFIX/drive_c/users" | grep -vx Public | head -1)"
  local programme="$WINEPREFIX/drive_c/users/$benutzer/AppData/Local/Programs"
  local inst="$programme/ORVE-Tarifo" demo="$programme/ORVE-Tarifo-Demo"
  local pr="$WIN_BUILD/pruefung"
  rm -rf "$inst" "$demo" "$pr" && mkdir -p "$pr"

  win_schritt "Linux-Build des Demonstrationsordners als Vergleich"
  orve_configure
  win_protokolliert "$pr/linux-build.log" cmake --build "$ROOT/build" --parallel "$WIN_JOBS" --target orve-demo-ordner
  (cd "$ROOT/build/ORVE-Tarifo-Demo" && ./orve-tarifo-bericht --csv "$pr/linux.csv" --pdf "$pr/linux.pdf" \
    >"$pr/linux.txt")

  win_schritt "Stille Installation unter Wine: ORVE-Tarifo-Setup-$WIN_VERSION.exe /S"
  PRUEFUNG="das Setup-Programm endet mit einem Fehler"
  win_pruefen "$WINE" "$(win_pfad "$WIN_SETUP")" /S
  PRUEFUNG="installierte Dateien fehlen"
  win_pruefen test -f "$inst/orve-tarifo.exe" -a -f "$inst/Registry/HKEY_LOCAL_MACHINE.reg" -a -f "$demo/bill.db"

  win_schritt "Stapelbefehl im installierten Demonstrationsordner"
  PRUEFUNG="der Stapelbefehl endet mit einem Fehler"
  win_pruefen bash -c "cd '$demo' && '$WINE' orve-tarifo-bericht.exe --csv '$(win_pfad "$pr/windows.csv")' \
    --pdf '$(win_pfad "$pr/windows.pdf")' >'$pr/windows.txt'"
  PRUEFUNG="die CSV-Datei weicht von der des Linux-Builds ab"
  win_pruefen cmp "$pr/linux.csv" "$pr/windows.csv"
  PRUEFUNG="die Übersicht (Summen) weicht von der des Linux-Builds ab"
  win_pruefen diff <(cat "$pr/linux.txt") <(tr -d '\r' <"$pr/windows.txt")
  PRUEFUNG="das PDF hat nicht den Titel des Reports als Text"
  win_pruefen bash -c "pdftotext '$pr/windows.pdf' - | grep -q 'Auswertung Telefonkosten für angefallene Gespräche'"
  win_schritt "  gleiche Summen und byte-gleiche CSV ($(wc -l <"$pr/windows.csv") Zeilen), PDF mit Text"

  win_schritt "Erneute Installation behält geänderte Tarife und Einstellungen"
  cp "$demo/Datenbank/Bill.sqlite" "$inst/Datenbank/Bill.sqlite"
  python3 -c "import sqlite3,sys; c=sqlite3.connect(sys.argv[1]); \
c.execute('UPDATE faktor SET Minutenpreis = 0.123 WHERE satz = 1'); c.commit()" "$inst/Datenbank/Bill.sqlite"
  printf '7' >"$inst/Steuersatz.txt"
  printf '%s' "$(win_pfad "$demo/bill.db")" >"$inst/Billpfad.txt"
  printf '\r\n; geändert\r\n' >>"$inst/Registry/HKEY_LOCAL_MACHINE.reg"
  win_sha "$inst" >"$pr/vorher.sha"
  PRUEFUNG="die erneute Installation endet mit einem Fehler"
  win_pruefen "$WINE" "$(win_pfad "$WIN_SETUP")" /S
  PRUEFUNG="die erneute Installation hat Tarife oder Einstellungen überschrieben"
  win_pruefen diff "$pr/vorher.sha" <(win_sha "$inst")

  win_schritt "Deinstallation behält Datenbank und Einstellungen"
  PRUEFUNG="das Deinstallationsprogramm endet mit einem Fehler"
  win_pruefen "$WINE" "$(win_pfad "$inst/Deinstallieren.exe")" /S "_?=$(win_pfad "$inst")"
  PRUEFUNG="das Deinstallationsprogramm hat Programmdateien zurückgelassen"
  win_pruefen test ! -e "$inst/orve-tarifo.exe" -a ! -e "$inst/Qt6Core.dll" -a ! -e "$demo"
  PRUEFUNG="das Deinstallationsprogramm hat Tarife oder Einstellungen gelöscht"
  win_pruefen diff "$pr/vorher.sha" <(win_sha "$inst")
  rm -f "$inst/Deinstallieren.exe"
  win_zeit "Installation unter Wine geprüft" $((SECONDS - t))
}

win_ende() {
  win_zeit "insgesamt" $((SECONDS - WIN_T0))
  win_schritt "Fertig. Zeiten:"
  for z in "${WIN_ZEITEN[@]}"; do
    echo "  $z"
  done
}
