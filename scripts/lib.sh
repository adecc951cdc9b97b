# Shared by scripts/run and scripts/test: install what is missing, configure
# and build. Sourced, not run.
KV_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
KV_BUILD=${KV_BUILD:-$KV_ROOT/build}
KV_NATIVE_BUILD=${KV_NATIVE_BUILD:-$KV_ROOT/build-native}

kv_need() {
  # kv_need PACKAGE COMMAND_OR_PATH...
  local pkg=$1; shift
  for want in "$@"; do
    if [ "${want#/}" != "$want" ]; then [ -e "$want" ] || { echo "$pkg"; return; }
    else command -v "$want" >/dev/null 2>&1 || { echo "$pkg"; return; }; fi
  done
}

# Installs the given Debian packages, if any, with apt-get.
kv_apt_install() {
  [ $# -gt 0 ] || return 0
  echo "== Installing: $*"
  local sudo=""; [ "$(id -u)" = 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$@" >/dev/null
}

kv_install() {
  local missing
  missing=$( {
    kv_need cmake cmake
    kv_need g++ g++
    kv_need make make
    kv_need googletest /usr/src/googletest/CMakeLists.txt
    kv_need g++-mingw-w64-x86-64-posix x86_64-w64-mingw32-g++-posix
    kv_need wine wine
    kv_need wine64 /usr/lib/wine/wine64
    kv_need xvfb Xvfb
    kv_need fonts-wine /usr/share/wine/fonts/tahoma.ttf
    kv_need x11-utils xdpyinfo
    kv_need imagemagick import
    kv_need nsis makensis
    kv_need wixl wixl
    kv_need nlohmann-json3-dev /usr/include/nlohmann/json.hpp
    kv_need osslsigncode osslsigncode
    kv_need openssl openssl
  } | sort -u | tr '\n' ' ')
  kv_apt_install $missing
}

# The fuzz build: Debian's clang and its libFuzzer.
kv_install_fuzz() {
  local missing
  missing=$( {
    kv_need clang clang++
    kv_need libfuzzer-14-dev /usr/lib/llvm-14/lib/libFuzzer.a
  } | sort -u | tr '\n' ' ')
  kv_apt_install $missing
}

kv_jobs() { local n; n=$(nproc 2>/dev/null || echo 2); [ "$n" -gt 2 ] && n=2; echo "$n"; }

# ccache, when the machine has it, shares compiled objects between work
# trees of this repository: paths are taken relative to the tree's root.
kv_launcher() {
  command -v ccache >/dev/null 2>&1 && echo "-DCMAKE_CXX_COMPILER_LAUNCHER=ccache"
}
export CCACHE_BASEDIR="$KV_ROOT" CCACHE_NOHASHDIR=1

kv_build_windows() {
  cmake -S "$KV_ROOT" -B "$KV_BUILD" -DCMAKE_TOOLCHAIN_FILE="$KV_ROOT/cmake/mingw-w64-x86_64.cmake" \
        -DCMAKE_BUILD_TYPE=Release $(kv_launcher) >/dev/null
  cmake --build "$KV_BUILD" -j"$(kv_jobs)" "$@"
}

kv_build_native() {
  cmake -S "$KV_ROOT" -B "$KV_NATIVE_BUILD" -DKORVANEL_NATIVE_CORE=ON >/dev/null
  cmake --build "$KV_NATIVE_BUILD" -j"$(kv_jobs)"
}

# Wine with a private prefix, a persistent server and (without a display)
# a private Xvfb. Helper services inherit the output of whoever starts them,
# so the server and wineboot get /dev/null, never a ctest pipe.
KV_XVFB_PID=""
kv_wine_up() {
  export WINEPREFIX=${WINEPREFIX:-$KV_BUILD/wineprefix}
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  if [ "${1:-}" = "--private-display" ] || [ -z "${DISPLAY:-}" ]; then
    local n=$(( 90 + RANDOM % 400 ))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 "${KV_SCREEN:-1280x800x24}" -nolisten tcp >/dev/null 2>&1 &
    KV_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
  fi
  mkdir -p "$WINEPREFIX"
  wineserver -p </dev/null >/dev/null 2>&1 || true  # one may already serve this prefix
  wine wineboot </dev/null >/dev/null 2>&1 || true
  kv_wine_loopback_only
}

# Tests never reach beyond this machine: every web request of the programs
# under test goes to a proxy on a loopback port where nothing listens,
# except requests for the loopback address itself, where the tests run
# their own servers.
kv_wine_loopback_only() {
  local reg="$WINEPREFIX/loopback-only.reg"
  printf '%s\r\n' 'REGEDIT4' '' \
    '[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Internet Settings]' \
    '"ProxyEnable"=dword:00000001' '"ProxyServer"="127.0.0.1:9"' \
    '"ProxyOverride"="127.0.0.1;localhost"' >"$reg"
  wine regedit /S "$(winepath -w "$reg" 2>/dev/null)" </dev/null >/dev/null 2>&1 || true
}

kv_wine_down() {
  [ -n "${WINEPREFIX:-}" ] && wineserver -k >/dev/null 2>&1
  if [ -n "$KV_XVFB_PID" ]; then kill "$KV_XVFB_PID" 2>/dev/null; wait "$KV_XVFB_PID" 2>/dev/null; fi
  KV_XVFB_PID=""
}
