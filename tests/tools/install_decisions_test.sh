#!/usr/bin/env bash
# What the scripts' package step decides, with stand-ins for apt-get, dpkg and dpkg-query
# on the PATH: an index that fails to download, a package tool that refuses every i386
# package, a package that does not exist, and kernels with and without 32-bit support.
# Usage: install_decisions_test.sh SOURCE_FOLDER
root=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/bin"

# apt-get: "update" fails when FAKE_INDEX=broken; "install" refuses i386 packages when
# FAKE_I386=refused and the packages named in FAKE_UNKNOWN; every call is logged.
cat >"$work/bin/apt-get" <<'EOF'
#!/bin/bash
echo "apt-get $*" >>"$FAKE/calls"
if [ "$1" = update ]; then
    [ "$FAKE_INDEX" = broken ] || exit 0
    echo "E: Failed to fetch http://deb.debian.org/debian-security/dists/bookworm-security/main/binary-i386/Packages.xz  File has unexpected size (374820 != 376004). Mirror sync in progress?"
    echo "E: Some index files failed to download. They have been ignored, or old ones used instead."
    exit 100
fi
simulate=0 status=0
for word in "$@"; do
    case $word in
        install|-y|-q|--no-install-recommends) ;;
        -s) simulate=1 ;;
        *:i386) if [ "$FAKE_I386" = refused ]; then
                    echo " $word : Depends: libwine:i386 (= 8.0~repack-4) but it is not going to be installed"
                    status=100
                fi ;;
        *) if [[ " $FAKE_UNKNOWN " == *" $word "* ]]; then echo "E: Unable to locate package $word"; status=100; fi ;;
    esac
done
if [ $status -ne 0 ]; then
    echo "E: Unable to correct problems, you have held broken packages."
    exit $status
fi
[ $simulate -eq 1 ] && exit 0
for word in "$@"; do [ "${word#-}" = "$word" ] && [ "$word" != install ] && echo "$word" >>"$FAKE/installed"; done
exit 0
EOF
cat >"$work/bin/dpkg-query" <<'EOF'
#!/bin/bash
package=${@: -1}
grep -qx "$package" "$FAKE/installed" 2>/dev/null && printf 'install ok installed' && exit 0
exit 1
EOF
cat >"$work/bin/dpkg" <<'EOF'
#!/bin/bash
echo "dpkg $*" >>"$FAKE/calls"
case $1 in
    --print-foreign-architectures) cat "$FAKE/architectures" 2>/dev/null ;;
    --add-architecture) echo "$2" >>"$FAKE/architectures" ;;
esac
EOF
chmod +x "$work/bin/"*

failures=0
# kernel 32-bit? | index | i386 | unknown packages | command's packages | status | output holds | apt calls hold | apt calls lack
cases=(
    "no|broken|refused||--wine cmake|0|||wine32"
    "no|broken|refused||--wine cmake clang-14|0|installing clang-14|apt-get install -y -q --no-install-recommends clang-14|i386"
    "yes|broken|refused||--wine cmake|0|32-bit Wine cannot be installed (wine32:i386 : Depends: libwine:i386|dpkg --add-architecture i386|"
    "yes|fine|available||--wine cmake|0|installing wine32:i386|apt-get install -y -q --no-install-recommends wine32:i386|"
    "yes|broken|refused||cmake python3|0|||i386"
    "no|fine|refused|clang-14|cmake clang-14 python3|1|the package clang-14 cannot be installed: E: Unable to locate package clang-14||"
)
for row in "${cases[@]}"; do
    IFS='|' read -r kernel index i386 unknown packages status holds called lacks <<<"$row"
    export FAKE="$work/case" FAKE_INDEX=$index FAKE_I386=$i386 FAKE_UNKNOWN=$unknown
    rm -rf "$FAKE" && mkdir -p "$FAKE"
    printf '%s\n' cmake wine wine64 python3 >"$FAKE/installed"
    output=$(PATH="$work/bin:$PATH" QUORVEL_KERNEL_32BIT=$kernel QUORVEL_APT_RETRY_SECONDS=0 QUORVEL_BUILD="$work/build" \
             bash -c 'source "$0/tools/environment.sh"; ensure_packages '"$packages" "$root" 2>&1)
    got=$?
    calls=$(cat "$FAKE/calls" 2>/dev/null)
    problem=""
    [ "$got" = "$status" ] || problem="status $got, expected $status"
    [ -z "$holds" ] || [[ "$output" == *"$holds"* ]] || problem="$problem; the output lacks \"$holds\""
    [ -z "$called" ] || [[ "$calls" == *"$called"* ]] || problem="$problem; apt was not asked \"$called\""
    [ -z "$lacks" ] || [[ "$calls" != *"$lacks"* ]] || problem="$problem; apt was asked about \"$lacks\""
    [[ "$output" != *"held broken packages"* ]] || problem="$problem; the output says only what apt says"
    if [ "$index" = broken ] && [[ "$calls" == *"apt-get update"* ]]; then
        [ "$(grep -c 'apt-get update' <<<"$calls")" -ge 3 ] || problem="$problem; a failed index was not tried again"
    fi
    if [ -n "$problem" ]; then
        echo "FAILED: kernel 32-bit $kernel, index $index, i386 $i386, unknown '$unknown', ensure_packages $packages:$problem"
        echo "$output" | sed 's/^/    /'
        failures=$((failures + 1))
    fi
done
echo "${#cases[@]} cases, $failures failed"
[ $failures -eq 0 ]
