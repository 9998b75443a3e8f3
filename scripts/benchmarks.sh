#!/bin/sh
# Builds the benchmark program and runs it under Xvfb (with a compositor) at a
# 1280x800 and a 3840x2160 screen, then prints the figures side by side.
# Usage: scripts/benchmarks.sh [build-dir] [extra benchmark arguments...]
# The raw JSON of both runs stays in <build-dir>/benchmarks/.
set -eu
cd "$(dirname "$0")/.."
build=${1:-build}
[ $# -gt 0 ] && shift
sh scripts/install-deps.sh
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --target mtb_benchmarks --parallel "$(nproc)"
program=$(pwd)/$build/benchmarks/mtb_benchmarks
out=$build/benchmarks
repetitions=${MTB_BENCHMARK_REPETITIONS:-5}

for screen in 1280x800 3840x2160; do
    MTB_XVFB_SCREEN=${screen}x24 sh tests/x11/run-under-xvfb.sh "$program" \
        --benchmark_repetitions="$repetitions" --benchmark_report_aggregates_only=true \
        --benchmark_out="$out/$screen.json" --benchmark_out_format=json "$@" >/dev/null
done

# Google Benchmark's JSON has one field per line. Medians, and the fastest
# repetition (name_min) where a benchmark computes it.
summarise() {
    awk '
        /^ *"name":/ { gsub(/[",]/, "", $2); name = $2 }
        /"aggregate_name":/ { gsub(/[",]/, "", $2); aggregate = $2 }
        /"time_unit":/ { gsub(/[",]/, "", $2); unit = $2 }
        /^ *"[A-Za-z_]+": [-0-9.e+]+,?$/ {
            key = $1; gsub(/[":]/, "", key); value = $2; gsub(/,/, "", value)
            if (key ~ /^(iterations|repetitions|repetition_index|threads|family_index|per_family_instance_index)$/) next
            values[name "|" key] = value
        }
        /^ *}/ && (aggregate == "median" || aggregate == "min") {
            for (k in values) { split(k, part, "|"); if (part[1] == name) print part[1] "|" part[2] "|" values[k] "|" unit }
            aggregate = ""
        }
        /^ *{/ { delete values }
    ' "$1" | sed 's/_median|/|/' | sort
}

summarise "$out/1280x800.json" >"$out/1280x800.txt"
summarise "$out/3840x2160.json" >"$out/3840x2160.txt"
echo "| benchmark | figure | 1280x800 | 3840x2160 | 3840x2160 / 1280x800 |"
echo "|---|---|---|---|---|"
join -t '|' -j 1 \
    "$(sed 's/|/#/' "$out/1280x800.txt" | sort -t '|' -k1,1 >"$out/a.txt"; echo "$out/a.txt")" \
    "$(sed 's/|/#/' "$out/3840x2160.txt" | sort -t '|' -k1,1 >"$out/b.txt"; echo "$out/b.txt")" |
awk -F '|' '{
    split($1, id, "#"); figure = id[2]
    if (figure == "real_time" || figure == "cpu_time") figure = figure " (" $3 ")"
    ratio = ($2 != 0) ? sprintf("%.2fx", $4 / $2) : "-"
    printf "| %s | %s | %.4g | %.4g | %s |\n", id[1], figure, $2, $4, ratio
}'
