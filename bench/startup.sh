#!/usr/bin/env bash
# Start-up cost of tidra against GNU date and a minimal static C program
# that prints the same six digits: instructions from callgrind (repeatable),
# peak memory from the kernel's accounting, and wall time from hyperfine.
# Builds the release binary first. Prints a table; the last line is
#   startup: tidra/minimal=R1 tidra/date=R2
# (the worse of the two cases for each ratio).
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --workflow --preset release >/dev/null
tidra=build/release/tidra
work=$(mktemp -d /tmp/tidra-startup-XXXXXX)
trap 'rm -rf "$work"' EXIT
cc -O2 -static -o "$work/minimal" bench/minimal.c
cc -O2 -static -o "$work/peak" bench/peak.c
file="$work/stamp"
touch -d '2025-03-05 07:08:09' "$file"

# Instructions executed by the whole process, start-up and exit included.
instructions() {
  valgrind --tool=callgrind --callgrind-out-file=/dev/null "$@" 2>&1 >/dev/null |
    sed -n 's/^==[0-9]*== Collected : //p'
}
# Peak resident memory in KiB.
peak_kib() { "$work/peak" "$@"; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

declare -A ir kib
run() {
  local name=$1
  shift
  ir[$name]=$(instructions "$@")
  kib[$name]=$(peak_kib "$@")
  printf '%-22s %12s %10s   %s\n' "$name" "${ir[$name]}" "${kib[$name]}" "$*"
}

printf '%-22s %12s %10s   %s\n' case instructions "peak KiB" command
run minimal "$work/minimal"
run date-clock date +%y%m%d
run tidra-clock "$tidra"
run date-file date -r "$file" '+%Y-%m-%d %H:%M:%S'
run tidra-file "$tidra" A B '-f:yyyy-mo-dd hh:mm:ss' "-d:$file"

echo
echo "clock: tidra/minimal=$(ratio "${ir[tidra-clock]}" "${ir[minimal]}") tidra/date=$(ratio "${ir[tidra-clock]}" "${ir[date-clock]}")"
echo "file:  tidra/minimal=$(ratio "${ir[tidra-file]}" "${ir[minimal]}") tidra/date=$(ratio "${ir[tidra-file]}" "${ir[date-file]}")"
echo "binary: $(stat -c %s "$tidra") bytes"

if command -v hyperfine >/dev/null 2>&1; then
  echo
  hyperfine --shell=none --warmup 20 --runs 300 --export-markdown "$work/wall.md" \
    "$tidra" "date +%y%m%d" "$work/minimal" >/dev/null 2>&1
  cat "$work/wall.md"
fi

worst_minimal=$(awk -v a="${ir[tidra-clock]}" -v b="${ir[tidra-file]}" -v m="${ir[minimal]}" \
  'BEGIN { x = (a > b ? a : b) / m; printf "%.2f", x }')
worst_date=$(awk -v a="${ir[tidra-clock]}" -v da="${ir[date-clock]}" -v b="${ir[tidra-file]}" -v db="${ir[date-file]}" \
  'BEGIN { x = a / da; y = b / db; printf "%.2f", (x > y ? x : y) }')
echo
echo "startup: tidra/minimal=$worst_minimal tidra/date=$worst_date"
