# Shared set-up of ./test, ./run, ./release and ./bench: Debian packages, whether this
# kernel runs 32-bit programs, builds, a display and Wine. Sourced, not run.

QUORVEL_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUORVEL_BUILD=${QUORVEL_BUILD:-$QUORVEL_ROOT/build}
QUORVEL_JOBS=${QUORVEL_JOBS:-$(nproc)}

say() { printf '== %s\n' "$*"; }
# Ends the command: one line on standard error, status 1.
die() {
    printf 'error: %s\n' "$*" >&2
    exit 1
}

# ---- The kernel ----

# Whether this kernel executes 32-bit x86 programs, which 32-bit Wine needs. Decided once,
# without 32-bit Wine or a 32-bit library: a static 32-bit program of 96 bytes that only
# exits with status 42. QUORVEL_NO_32BIT=1 makes the scripts act as on a kernel that
# refuses 32-bit programs.
kernel_runs_32bit() {
    if [ -z "${QUORVEL_KERNEL_32BIT:-}" ]; then
        QUORVEL_KERNEL_32BIT=no
        if [ "${QUORVEL_NO_32BIT:-0}" != 1 ]; then
            mkdir -p "$QUORVEL_BUILD"
            local probe="$QUORVEL_BUILD/.probe32.$$"
            printf '\177ELF\001\001\001\000\000\000\000\000\000\000\000\000\002\000\003\000\001\000\000\000\124\200\004\010\064\000\000\000\000\000\000\000\000\000\000\000\064\000\040\000\001\000\000\000\000\000\000\000\001\000\000\000\000\000\000\000\000\200\004\010\000\200\004\010\140\000\000\000\140\000\000\000\005\000\000\000\000\020\000\000\270\001\000\000\000\273\052\000\000\000\315\200' >"$probe"
            chmod +x "$probe"
            "$probe" 2>/dev/null
            [ $? -eq 42 ] && QUORVEL_KERNEL_32BIT=yes
            rm -f "$probe"
        fi
        export QUORVEL_KERNEL_32BIT
    fi
    [ "$QUORVEL_KERNEL_32BIT" = yes ]
}

# Whether 32-bit Wine can run here: the kernel runs 32-bit programs and wine32 is installed.
can_run_32bit() {
    kernel_runs_32bit && [ "${QUORVEL_NO_32BIT:-0}" != 1 ] && /usr/lib/wine/wine --version >/dev/null 2>&1
}

# ---- Debian packages ----

QUORVEL_APT_LOG=""   # apt-get's output of the last step

# apt-get as root, or through sudo; its output goes to QUORVEL_APT_LOG.
apt_step() {
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    [ -n "$QUORVEL_APT_LOG" ] || QUORVEL_APT_LOG=$(mktemp "${TMPDIR:-/tmp}/quorvel-apt.XXXXXX")
    DEBIAN_FRONTEND=noninteractive $sudo "$@" >"$QUORVEL_APT_LOG" 2>&1
}

# apt-get's own errors from the last step, on one line.
apt_errors() {
    grep -E '^(E|Err):|Depends:|Conflicts:|has no installation candidate|Unable to locate|is not available' \
        "$QUORVEL_APT_LOG" 2>/dev/null | grep -v 'held broken packages' | sed 's/^ *//' | head -n 6 | paste -sd ';' - | sed 's/;/; /g'
}

# Refreshes the package index. An index that a mirror is still syncing fails to download;
# it is tried again a few times, then apt goes on with what it has.
refresh_package_index() {
    local attempt
    for attempt in 1 2 3; do
        if apt_step apt-get update -q && ! grep -qE '^(E|W): (Failed|Some index)' "$QUORVEL_APT_LOG"; then
            return 0
        fi
        [ $attempt -lt 3 ] && sleep $((attempt * ${QUORVEL_APT_RETRY_SECONDS:-5}))
    done
    say "the package index is incomplete after 3 tries; going on with what it has ($(apt_errors | cut -c1-160))"
}

missing_packages() {
    local p
    for p in "$@"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || printf '%s\n' "$p"
    done
}

# Installs packages, or ends the command naming each one that cannot be had and why.
install_packages() {
    [ $# -gt 0 ] || return 0
    apt_step apt-get install -y -q --no-install-recommends "$@" && return 0
    local p culprits=0
    for p in "$@"; do
        if ! apt_step apt-get install -s -q --no-install-recommends "$p"; then
            printf 'error: the package %s cannot be installed: %s\n' "$p" "$(apt_errors)" >&2
            culprits=1
        fi
    done
    [ $culprits -eq 1 ] || printf 'error: the packages %s cannot be installed together: %s\n' "$*" "$(apt_errors)" >&2
    exit 1
}

# Installs the Debian packages that are missing:   ensure_packages [--wine] PACKAGE...
# --wine: the command runs Windows programs, so Wine too, and 32-bit Wine where the kernel
# runs 32-bit programs. When 32-bit Wine cannot be had, the 64-bit build stands in, as on
# kernels that refuse 32-bit programs, and one line says so.
ensure_packages() {
    local wine=0
    if [ "${1:-}" = --wine ]; then
        wine=1
        shift
    fi
    local wanted=("$@")
    [ $wine -eq 1 ] && wanted+=(wine wine64)
    local missing
    mapfile -t missing < <(missing_packages "${wanted[@]}")
    if [ ${#missing[@]} -gt 0 ]; then
        if [ "$(id -u)" -ne 0 ] && ! command -v sudo >/dev/null; then
            die "missing packages: ${missing[*]}; install them as root (apt-get install ${missing[*]})"
        fi
        say "installing ${missing[*]}"
        refresh_package_index
        install_packages "${missing[@]}"
    fi
    if [ $wine -eq 1 ] && kernel_runs_32bit && [ -n "$(missing_packages wine32:i386)" ]; then
        if ! dpkg --print-foreign-architectures 2>/dev/null | grep -qx i386; then
            apt_step dpkg --add-architecture i386 || die "dpkg cannot add the i386 architecture: $(cat "$QUORVEL_APT_LOG")"
            refresh_package_index
        elif [ ${#missing[@]} -eq 0 ]; then
            refresh_package_index
        fi
        say "installing wine32:i386"
        if ! apt_step apt-get install -y -q --no-install-recommends wine32:i386; then
            say "32-bit Wine cannot be installed ($(apt_errors | cut -c1-160)): the 64-bit build stands in"
        fi
    fi
    return 0
}

# Generates the Japanese locale if it is missing and prints its name, or C.UTF-8 where it
# cannot be made. Under it Wine gives programs code page 932.
japanese_locale() {
    if ! locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then
        sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen 2>/dev/null
        grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' >> /etc/locale.gen 2>/dev/null
        locale-gen >/dev/null 2>&1
    fi
    if locale -a 2>/dev/null | grep -qi '^ja_JP.utf8$'; then echo ja_JP.UTF-8; else echo C.UTF-8; fi
}

# ---- Builds ----

# Configures one tree and builds some of its targets, or all of them:
# build_targets NAME "TARGET..."|all [cmake options...]
build_targets() {
    local name=$1 targets=$2; shift 2
    local target_options=()
    [ "$targets" = all ] || target_options=(--target $targets)
    # Ninja starts and schedules a tree's hundred small compilations in a fraction of
    # make's time. A tree configured for make earlier is configured afresh.
    local cache="$QUORVEL_BUILD/$name/CMakeCache.txt"
    if [ -f "$cache" ] && ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$cache"; then
        rm -rf "$cache" "$QUORVEL_BUILD/$name/CMakeFiles"
    fi
    cmake -G Ninja --no-warn-unused-cli -S "$QUORVEL_ROOT" -B "$QUORVEL_BUILD/$name" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" \
        >/dev/null || return 1
    cmake --build "$QUORVEL_BUILD/$name" -j "$QUORVEL_JOBS" "${target_options[@]}"
}
build_tree() {
    local name=$1; shift
    build_targets "$name" all "$@"
}

# The Windows tree whose programs this machine can run, its toolchain file and its Wine
# loader: the shipped 32-bit build, or the 64-bit build of the same sources in its stead.
windows_tree() { if can_run_32bit; then echo win32; else echo win64; fi; }
windows_toolchain() {
    if can_run_32bit; then echo "$QUORVEL_ROOT/cmake/mingw-i686.cmake"; else echo "$QUORVEL_ROOT/cmake/mingw-x86_64.cmake"; fi
}
wine_loader() { if can_run_32bit; then echo wine; else echo /usr/lib/wine/wine64; fi; }
# The cross compiler's packages of the Windows tree.
windows_packages() {
    if can_run_32bit; then echo g++-mingw-w64-i686-posix binutils-mingw-w64-i686; else echo g++-mingw-w64-x86-64-posix; fi
}
SHIPPED_PACKAGES="g++-mingw-w64-i686-posix binutils-mingw-w64-i686"   # the 32-bit quorvel.exe's
BUILD_PACKAGES="cmake ninja-build g++ libstb-dev"   # libstb-dev: the PNG encoder's header

# ---- A display and Wine ----

# Starts Xvfb when there is no display and checks that it came up; stop_display undoes it.
QUORVEL_XVFB_PID=""
start_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    local n=$((90 + RANDOM % 400))
    while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
    local log="$QUORVEL_BUILD/xvfb.log"
    mkdir -p "$QUORVEL_BUILD"
    Xvfb ":$n" -screen 0 1600x1200x24 -nolisten tcp >"$log" 2>&1 &
    QUORVEL_XVFB_PID=$!
    local i
    for i in $(seq 100); do
        [ -e "/tmp/.X11-unix/X$n" ] && break
        kill -0 "$QUORVEL_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    if ! kill -0 "$QUORVEL_XVFB_PID" 2>/dev/null || [ ! -e "/tmp/.X11-unix/X$n" ]; then
        QUORVEL_XVFB_PID=""
        die "Xvfb did not come up on display :$n: $(tail -n 3 "$log" | paste -sd ' ' -)"
    fi
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
        mkdir -p "$(dirname "$prefix")"   # Wine makes the prefix, but not the folder it is in
        WINEPREFIX="$prefix" "$(wine_loader)" wineboot -i </dev/null >/dev/null 2>&1 || true
    fi
    WINEPREFIX="$prefix" wineserver -w 2>/dev/null || true
    WINEPREFIX="$prefix" wineserver -p </dev/null >/dev/null 2>&1
    WINEPREFIX="$prefix" "$(wine_loader)" wineboot </dev/null >/dev/null 2>&1 || true
    if ! grep -q "^\"Managed\"=\"$managed\"" "$prefix/user.reg" 2>/dev/null; then
        WINEPREFIX="$prefix" "$(wine_loader)" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d $managed /f \
            </dev/null >/dev/null 2>&1 || true
    fi
    [ -f "$prefix/system.reg" ] || die "Wine could not make the prefix $prefix"
}

# Stops the wineserver of a prefix: stop_prefix PREFIX
stop_prefix() {
    WINEPREFIX="$1" wineserver -k 2>/dev/null || true
}

# ---- The documents' measured tables ----

# Puts the lines of TABLE into DOC between the markers "<!-- NAME: written by ... -->" and
# "<!-- end of NAME -->", each on a line of its own, once: write_doc_block DOC NAME TABLE
# Fails, changing nothing, when DOC lacks either marker or holds one twice, so that a
# moved block is never skipped in silence. DOC is replaced only when whole.
write_doc_block() {
    local doc=$1 name=$2 table=$3
    [ -f "$table" ] || { echo "no table $table to put into $doc" >&2; return 1; }
    awk -v table="$table" -v start="<!-- $name: written by " -v end="<!-- end of $name -->" '
        index($0, start) == 1 && substr($0, length($0) - 3) == " -->" {
            print; starts++
            if (!inside) while ((getline line < table) > 0) print line
            inside = 1; next
        }
        $0 == end { ends++; if (inside) inside = 0; else bad = 1 }
        !inside { print }
        END { exit (starts == 1 && ends == 1 && !inside && !bad) ? 0 : 1 }
    ' "$doc" > "$doc.part" && mv "$doc.part" "$doc" || {
        rm -f "$doc.part"
        echo "$doc holds no single block \"$name\" between its markers" >&2
        return 1
    }
}
