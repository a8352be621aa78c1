# Shared by scripts/run and scripts/test: packages, builds, the X display and the Wine prefix.
# shellcheck shell=bash

KW_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
KW_PACKAGES=(cmake ninja-build g++ googletest libbenchmark-dev clang libclang-rt-14-dev
             wine64 g++-mingw-w64-i686 g++-mingw-w64-x86-64 xvfb xdotool imagemagick)

kw_log() { printf '\033[1m==> %s\033[0m\n' "$*" >&2; }

# Installs what is missing; runs apt-get update only when something is.
kw_ensure_packages() {
  local missing=() p
  for p in "${KW_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
  done
  ((${#missing[@]} == 0)) && return 0
  kw_log "Installing: ${missing[*]}"
  local sudo=()
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
}

kw_build() {  # kw_build PRESET [targets...]
  local preset=$1; shift
  kw_log "Building $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" "$@"
}

# Starts Xvfb when there is no display; sets KW_HEADLESS=1 then. Xvfb ends with the calling script.
kw_ensure_display() {
  KW_HEADLESS=0
  [[ -n ${DISPLAY:-} ]] && return 0
  local n
  for n in $(seq 90 120); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
    Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
    KW_XVFB_PID=$!
    local i
    for i in $(seq 50); do [[ -e /tmp/.X11-unix/X$n ]] && break; sleep 0.1; done
    export DISPLAY=":$n"
    KW_HEADLESS=1
    return 0
  done
  echo "No free X display number for Xvfb" >&2
  return 1
}

kw_stop_display() {
  if [[ -n ${KW_XVFB_PID:-} ]]; then kill "$KW_XVFB_PID" 2>/dev/null || true; fi
}

# Wine: the 64-bit loader directly, a prefix of our own inside the build folder, made once.
kw_wine_env() {  # kw_wine_env PREFIX [unmanaged]
  export WINEPREFIX=$1
  export WINELOADER=/usr/lib/wine/wine64 WINESERVER=/usr/lib/wine/wineserver64
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko installers: the program needs neither.
  export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
  if [[ ! -f $WINEPREFIX/system.reg ]]; then
    kw_log "Creating the Wine prefix $WINEPREFIX"
    mkdir -p "$WINEPREFIX"
    "$WINELOADER" wineboot -i >/dev/null 2>&1 || true
    # Test windows need no window manager; without one, Wine would wait for it at every close.
    if [[ ${2:-} == unmanaged ]]; then
      "$WINELOADER" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
    fi
    "$WINESERVER" -w
  fi
}

kw_wine_stop() { [[ -n ${WINESERVER:-} ]] && "$WINESERVER" -k >/dev/null 2>&1 || true; }
