#!/usr/bin/env bash
# Runs one libFuzzer target from its seed corpus for RV7_FUZZ_SECONDS seconds (default 5).
# New inputs it finds go to a scratch corpus that is dropped afterwards; an input that
# crashes, leaks or times out is kept in the current directory.
set -euo pipefail
target=$1
seeds=$2
seconds=${RV7_FUZZ_SECONDS:-5}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
  -artifact_prefix="$PWD/" "$scratch" "$seeds"
