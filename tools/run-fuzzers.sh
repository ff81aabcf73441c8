#!/bin/sh
# Runs every fuzz target with a fixed SEED over its seed corpus and the regression inputs of earlier
# findings, then on new inputs, for SECONDS each.
#
# Without RUNS this explores: new interesting inputs go to a working corpus in the build folder that
# the next run starts from. With RUNS each target starts from its seeds alone and stops after that
# many inputs (or SECONDS, whichever comes first): the same amount of fuzzing on a slow machine as on a
# fast one. The inputs themselves still differ from run to run (the fuzzer learns from compared
# values, addresses among them).
#
# A crash leaves its input in the artifacts folder as crash-* (add it to fuzz/regressions/TARGET/).
# Usage: run-fuzzers.sh FUZZ_BUILD_FOLDER SECONDS SEED [RUNS]
set -eu
build=$1
seconds=$2
seed=$3
runs=${4:-}
cd "$(dirname "$0")/.."
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export ASAN_OPTIONS=detect_leaks=1
export LSAN_OPTIONS=suppressions=$(pwd)/tools/lsan.supp:print_suppressions=0
for target in template render picture; do
    work=$build/fuzz-work/$target
    corpus=$work/corpus
    limit=
    if [ -n "$runs" ]; then
        corpus=$work/corpus-$runs-runs
        rm -rf "$corpus"
        limit=-runs=$runs
    fi
    mkdir -p "$corpus" "$work/artifacts" "fuzz/regressions/$target"
    echo "fuzz_$target: ${runs:+$runs inputs or }$seconds s, seed $seed"
    "$build/fuzz/fuzz_$target" -seed="$seed" -max_total_time="$seconds" $limit -timeout=10 \
        -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$work/artifacts/" \
        "$corpus" "fuzz/corpus/$target" "fuzz/regressions/$target"
done
