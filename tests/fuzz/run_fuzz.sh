#!/bin/sh
# Runs one fuzz target from its seeds for a bounded time; any finding fails.
# Usage: run_fuzz.sh PROGRAM SEEDS WORK SECONDS [libFuzzer options...]
# QUORVEL_FUZZ_SECONDS, when set, replaces SECONDS (for a longer run).
program=$1; seeds=$2; work=$3; seconds=${QUORVEL_FUZZ_SECONDS:-$4}; shift 4
# A fresh corpus each time, so that the bounded run spends its time on new inputs
# rather than on replaying the last run's.
rm -rf "$work/corpus"
mkdir -p "$work/corpus" "$work/findings"
exec "$program" -max_total_time="$seconds" -print_final_stats=1 \
     -artifact_prefix="$work/findings/" "$@" "$work/corpus" "$seeds"
