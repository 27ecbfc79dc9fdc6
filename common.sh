# Shared by run.sh and test.sh: installs what the build needs, then configures.
PACKAGES="cmake g++ make pkg-config qt6-base-dev qt6-translations-l10n libsqlite3-dev libsqlitecpp-dev \
libgtest-dev libbenchmark-dev fonts-liberation xvfb xauth locales poppler-utils python3"

orve_install_packages() {
  local missing=()
  for p in $PACKAGES; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages. Please run as root:"
    echo "  apt-get update && apt-get install -y ${missing[*]}"
    exit 1
  fi
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

orve_configure() {
  cmake -S "$ROOT" -B "$ROOT/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# The German locale the program's users run under. The tests run under it as
# well as under C; where it cannot be added to the system (no root), it is
# compiled into the build folder and used through LOCPATH.
orve_german_locale() {
  if locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
    return 0
  fi
  if [ "$(id -u)" -eq 0 ] && localedef -i de_DE -f UTF-8 de_DE.UTF-8 2>/dev/null; then
    return 0
  fi
  mkdir -p "$ROOT/build/locale"
  localedef -i de_DE -f UTF-8 "$ROOT/build/locale/de_DE.UTF-8" || true
  export LOCPATH="$ROOT/build/locale"
}
