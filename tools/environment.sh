# Shared set-up of ./test and ./run: Debian packages, builds, a display and Wine.
# Sourced, not run.

QUORVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORVEL_BUILD=${QUORVEL_BUILD:-$QUORVEL_ROOT/build}
QUORVEL_JOBS=${QUORVEL_JOBS:-$(nproc)}

say() { printf '== %s\n' "$*"; }

# Installs the Debian packages that are missing (as root, or through sudo).
ensure_packages() {
    local wanted=(cmake make g++ mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
                  googletest xvfb xauth wine wine64 wine32:i386 binutils-mingw-w64-i686
                  g++-multilib qemu-user-static clang-14 libclang-rt-14-dev "$@")
    wanted+=(python3)   # ./release writes its zip with Debian's Python
    local missing=() p
    for p in "${wanted[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    say "installing ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Generates the Japanese locale if it is missing and prints its name, or C.UTF-8 where it
# cannot be made. Under it Wine gives programs code page 932.
japanese_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
        sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen 2>/dev/null
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen
        locale-gen >/dev/null 2>&1
    fi
    if locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then echo ja_JP.UTF-8; else echo C.UTF-8; fi
}

# Whether this kernel executes 32-bit x86 programs; 32-bit Wine needs it.
can_run_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

# Configures and builds one tree: build_tree NAME [cmake options...]
build_tree() {
    local name=$1; shift
    cmake --no-warn-unused-cli -S "$QUORVEL_ROOT" -B "$QUORVEL_BUILD/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null &&
    cmake --build "$QUORVEL_BUILD/$name" -j "$QUORVEL_JOBS" -- --no-print-directory
}

# Configures one tree and builds only some of its targets:
# build_targets NAME "TARGET..." [cmake options...]
build_targets() {
    local name=$1 targets=$2; shift 2
    cmake --no-warn-unused-cli -S "$QUORVEL_ROOT" -B "$QUORVEL_BUILD/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null &&
    cmake --build "$QUORVEL_BUILD/$name" -j "$QUORVEL_JOBS" --target $targets -- --no-print-directory
}

# The Windows tree whose programs this machine can run, its toolchain file and its Wine
# loader: the shipped 32-bit build, or the 64-bit build of the same sources in its stead.
windows_tree() { if can_run_32bit; then echo win32; else echo win64; fi; }
windows_toolchain() {
    if can_run_32bit; then echo "$QUORVEL_ROOT/cmake/mingw-i686.cmake"; else echo "$QUORVEL_ROOT/cmake/mingw-x86_64.cmake"; fi
}
wine_loader() { if can_run_32bit; then echo wine; else echo /usr/lib/wine/wine64; fi; }

# Starts Xvfb when there is no display; stop_display undoes it.
QUORVEL_XVFB_PID=""
start_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n=$((90 + RANDOM % 400))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >/dev/null 2>&1 &
    QUORVEL_XVFB_PID=$!
    local i
    for i in $(seq 100); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    export DISPLAY=":$n"
}
stop_display() {
    [ -n "$QUORVEL_XVFB_PID" ] && kill "$QUORVEL_XVFB_PID" 2>/dev/null
    QUORVEL_XVFB_PID=""
}

# Creates a Wine prefix once and starts its wineserver and background services:
# prepare_prefix PREFIX [managed|unmanaged]
# They are started here, detached from every output, because a server or service that a
# test program starts keeps that test's output open until they end, and the test then
# seems to run as long as all the others together.
# Unmanaged windows (the default) are for Xvfb, which has no window manager: Wine would
# wait 2 s for one at every window that closes, each dialog and message box. A user's
# desktop has one, and keeps it with "managed".
prepare_prefix() {
    local prefix=$1 managed=N
    [ "${2:-unmanaged}" = managed ] && managed=Y
    export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
    if [ ! -f "$prefix/system.reg" ]; then
        say "creating the Wine prefix $prefix"
        WINEPREFIX="$prefix" "$(wine_loader)" wineboot -i </dev/null >/dev/null 2>&1 || true
    fi
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" "$(wine_loader)" wineboot </dev/null >/dev/null 2>&1 || true
    if ! grep -q "^\"Managed\"=\"$managed\"" "$prefix/user.reg" 2>/dev/null; then
        WINEPREFIX="$prefix" "$(wine_loader)" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f \
            </dev/null >/dev/null 2>&1 || true
    fi
}

# Stops the wineserver of a prefix: stop_prefix PREFIX
stop_prefix() {
    WINEPREFIX="$1" wineserver -k 2>/dev/null || true
}
