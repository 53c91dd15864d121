#!/usr/bin/env bash
# Runs each fuzzer for the given number of seconds (default 30) on a copy of
# its seed corpus. Builds them first with the fuzz preset.
#   fuzz/run.sh 40        # the bounded run that CI does
#   fuzz/run.sh 1800      # a long run: half an hour each
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-30}
cmake --workflow --preset fuzz >/dev/null
work=$(mktemp -d /tmp/tidra-fuzz-XXXXXX)
trap 'rm -rf "$work"' EXIT
for name in cmdline datefmt run; do
  mkdir -p "$work/$name"
  echo "== $name: $seconds s"
  build/fuzz/${name}_fuzz -max_total_time="$seconds" -print_final_stats=1 \
    -dict=fuzz/tidra.dict -artifact_prefix="$work/" "$work/$name" "fuzz/corpus/$name" \
    2>"$work/$name.log" || { tail -n 40 "$work/$name.log"; exit 1; }
  grep -E '^stat::number_of_executed_units' "$work/$name.log"
done
