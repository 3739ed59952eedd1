#!/usr/bin/env bash
# Builds the form reader's libFuzzer target with clang in build-fuzz and runs it for
# SECONDS (default 60). Fails on any crash, leak, hang or broken round trip; the input
# that caused it is left in build-fuzz/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build="$root/build-fuzz"
CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_CXX_COMPILER=clang++ -DQELL_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target fuzz_form_reader -j"$(nproc)"
# New inputs go to a working corpus in the build dir; the seeds in the tree stay as they are.
work="$build/corpus/form_reader"
mkdir -p "$work"
"$build/bin/fuzz_form_reader" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -dict="$root/tests/fuzz/form_reader.dict" -artifact_prefix="$build/" \
    "$work" "$root/tests/fuzz/corpus/form_reader"
