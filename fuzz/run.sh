#!/usr/bin/env bash
# run.sh TARGET: builds one fuzz target natively with clang (libFuzzer, ASan, UBSan)
# and fuzzes it for a bounded time from its committed seed corpus.
# Fails on any crash, leak, sanitizer report or timeout; the input is printed in hex.
# FUZZ_SECONDS (default 60) bounds the run; FUZZ_OUT (default a temp folder) holds the build.
set -euo pipefail
here=$(cd "$(dirname "$0")/.." && pwd)
target=${1:?usage: run.sh config_file|saved_state}
seconds=${FUZZ_SECONDS:-60}
out=${FUZZ_OUT:-${TMPDIR:-/tmp}/fuzz-$(id -u)}/$target

# The product's portable parsers, compiled as they are shipped.
case $target in
config_file) sources=(idapi/ConfigFile.cpp) ;;
saved_state) sources=(setacl/SavedState.cpp) ;;
*) echo "unknown fuzz target: $target" >&2; exit 2 ;;
esac

mkdir -p "$out/corpus" "$out/crashes"
cxx=${CXX_FUZZ:-clang++}
flags=(-std=c++17 -g -O1 -fno-omit-frame-pointer
       -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all
       -I"$here" -Wall -Wextra)
# At the lowest priority: tests running beside it under Wine must not be slowed down.
nice -n 19 "$cxx" "${flags[@]}" "$here/fuzz/${target}_fuzzer.cpp" "${sources[@]/#/$here/}" -o "$out/fuzzer"

# New finds go to a scratch corpus so the committed seeds stay small and reviewed.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:symbolize=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
rm -f "$out/crashes"/*
status=0
nice -n 19 "$out/fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=8192 \
  -print_final_stats=1 -artifact_prefix="$out/crashes/" \
  "$out/corpus" "$here/fuzz/corpus/$target" || status=$?

shopt -s nullglob
found=("$out/crashes"/*)
if [ $status -ne 0 ] || [ ${#found[@]} -gt 0 ]; then
  echo "fuzz.$target FAILED (exit $status)"
  for f in "${found[@]}"; do
    echo "--- $f"
    od -An -tx1 -v "$f" | head -40
  done
  exit 1
fi
echo "fuzz.$target: no crash in ${seconds}s"
