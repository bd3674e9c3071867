#!/bin/sh
# Prepares failing places for the menu's saves, runs the test under them, and undoes them.
# Usage: disk_faults.sh FOLDER TEST-COMMAND...   (the test finds FOLDER in QUORVEL_DISK_FAULTS)
#   FOLDER/small      a 16 KB file system: a save fails midway
#   FOLDER/full       a file system without a free byte
#   FOLDER/readonly   a folder mounted read-only
# Each holds old.txt, a file that a failed save must leave as it was.
# Mounting needs root; where it is refused, the test is skipped (status 77).
folder=$1; shift
cleanup() {
    for place in small full readonly; do umount "$folder/$place" 2>/dev/null; done
}
trap cleanup EXIT
cleanup
rm -rf "$folder"
mkdir -p "$folder/small" "$folder/full" "$folder/readonly"
if ! mount -t tmpfs -o size=16k quorvel-small "$folder/small" 2>/dev/null ||
   ! mount -t tmpfs -o size=16k quorvel-full "$folder/full" 2>/dev/null ||
   ! mount --bind "$folder/readonly" "$folder/readonly" 2>/dev/null; then
    echo "skipped: mounting is refused here (it needs root and the right to mount)"
    exit 77
fi
for place in small full readonly; do printf 'old contents\r\n' > "$folder/$place/old.txt"; done
dd if=/dev/zero of="$folder/full/filler" bs=4k count=64 2>/dev/null  # stops when full
if ! mount -o remount,ro,bind "$folder/readonly" 2>/dev/null; then
    echo "skipped: a read-only remount is refused here"
    exit 77
fi
QUORVEL_DISK_FAULTS=$folder "$@"
