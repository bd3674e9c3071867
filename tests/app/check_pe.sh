#!/bin/sh
# A shipped program is a 32-bit PE of its subsystem that imports only Windows' own DLLs.
# Usage: check_pe.sh EXE [gui|console]   (default gui)
exe=$1 kind=${2:-gui}
fail() { echo "FAIL: $*"; exit 1; }
case "$kind" in
    gui) subsystem='Subsystem.*0*2.*(Windows GUI)' ;;
    console) subsystem='Subsystem.*0*3.*(Windows CUI)' ;;
    *) fail "unknown subsystem $kind" ;;
esac
dump=$(i686-w64-mingw32-objdump -p "$exe") || fail "cannot read $exe"
echo "$dump" | grep -q 'file format pei-i386' || fail "not a 32-bit PE"
echo "$dump" | grep -q "$subsystem" || fail "not the $kind subsystem"
dlls=$(echo "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || fail "no imports found"
echo "imports: $(echo $dlls)"
for d in $dlls; do
    case "$d" in
        kernel32.dll|user32.dll|gdi32.dll|comdlg32.dll|msvcrt.dll|advapi32.dll|shell32.dll|ole32.dll) ;;
        *) fail "imports $d, which is not one of Windows' own DLLs" ;;
    esac
done
echo "PASS"
