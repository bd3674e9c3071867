#!/bin/sh
# Unpacks the release into a fresh folder and runs the end-to-end dialogue there on the
# zip's own samples and on what the zip's quorvel_data.exe makes, with the programs the
# folder holds and nothing else beside them.
# Usage: run_from_zip.sh ZIP FOLDER STAND_INS|- DRIVER_COMMAND...
# STAND_INS is a folder whose quorvel.exe and quorvel_data.exe replace the zip's where this
# machine cannot execute the shipped 32-bit ones.
zip=$1 folder=$2 standins=$3
shift 3
fail() { echo "FAIL: $*"; exit 1; }
rm -rf "$folder" && mkdir -p "$folder" || fail "cannot make $folder"
/usr/bin/python3 -m zipfile -e "$zip" "$folder" || fail "cannot unpack $zip"
dlls=$(find "$folder" -iname '*.dll')
[ -z "$dlls" ] || fail "the release holds DLLs: $dlls"
if [ "$standins" != - ]; then
    echo "the 64-bit build of the same sources stands in for the zip's 32-bit quorvel.exe and quorvel_data.exe"
    for exe in quorvel.exe quorvel_data.exe; do
        cp "$standins/$exe" "$folder/$exe" || fail "cannot place $standins/$exe"
    done
fi
exec "$@" "$folder/quorvel.exe" "$folder" "$folder/samples" "$folder/quorvel_data.exe"
