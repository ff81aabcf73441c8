#!/bin/sh
# Runs every fuzz target for SECONDS with a fixed SEED: first over its seed corpus and the regression
# inputs of earlier findings, then on new inputs. New interesting inputs go to a working corpus in the
# build folder; inputs grow up to 64 KB, room for pictures with many boxes. A crash leaves its input
# there as crash-* (add it to fuzz/regressions/TARGET/).
# Usage: run-fuzzers.sh FUZZ_BUILD_FOLDER SECONDS SEED
set -eu
build=$1
seconds=$2
seed=$3
cd "$(dirname "$0")/.."
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# A small quarantine: freed memory waits there to catch late uses, and its default (256 MB) piled on the
# picture readers' large buffers ends long runs in a false out-of-memory.
export ASAN_OPTIONS=detect_leaks=1:quarantine_size_mb=16
export LSAN_OPTIONS=suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0
for target in template render picture recipients inbox; do
    work=$build/fuzz-work/$target
    mkdir -p "$work/corpus" "$work/artifacts" "fuzz/regressions/$target"
    echo "fuzz_$target: $seconds s, seed $seed"
    "$build/fuzz/fuzz_$target" -seed="$seed" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        "$work/corpus" "fuzz/corpus/$target" "fuzz/regressions/$target"
done
