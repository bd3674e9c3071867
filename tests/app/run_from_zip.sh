#!/bin/sh
# Unpacks the release into a fresh folder and runs the end-to-end dialogue there on the
# zip's own samples, with the program the folder holds and nothing else beside it.
# Usage: run_from_zip.sh ZIP FOLDER STAND_IN|- DRIVER_COMMAND...
# STAND_IN replaces quorvel.exe where this machine cannot execute the shipped 32-bit one.
zip=$1 folder=$2 standin=$3
shift 3
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$folder" && mkdir -p "$folder" || fail "cannot make $folder"
/usr/bin/python3 -m zipfile -e "$zip" "$folder" || fail "cannot unpack $zip"
dlls=$(find "$folder" -iname '*.dll')
[ -z "$dlls" ] || fail "the release holds DLLs: $dlls"
if [ "$standin" != - ]; then
    echo "the 64-bit build of the same sources stands in for the zip's 32-bit quorvel.exe"
    cp "$standin" "$folder/quorvel.exe" || fail "cannot place $standin"
fi
exec "$@" "$folder/quorvel.exe" "$folder" "$folder/samples"
