#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for FUZZ_SECONDS (default 60) seconds,
# starting from the seed corpora in fuzz/corpus/. Found inputs are kept in build-fuzz/corpus/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

seconds=${FUZZ_SECONDS:-60}
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUILL_FUZZ=ON -DQUILL_BUILD_BENCH=OFF
targets=(text_rules_fuzz codepage_fuzz html_text_fuzz links_fuzz cookies_fuzz regex_fuzz
         chapter_links_fuzz)
cmake --build build-fuzz -j "$(nproc)" --target "${targets[@]}"

failed=()
for t in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$t
  mkdir -p "$corpus"
  seeds=()
  [ -d "fuzz/corpus/$t" ] && seeds=("fuzz/corpus/$t")
  echo "== $t for ${seconds}s"
  log=build-fuzz/$t.log
  if ./build-fuzz/fuzz/"$t" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
       -print_final_stats=1 -artifact_prefix=build-fuzz/ "$corpus" "${seeds[@]}" >"$log" 2>&1; then
    grep -E 'stat::number_of_executed_units|stat::average_exec_per_sec' "$log" || true
  else
    tail -n 40 "$log"
    failed+=("$t")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz targets that found a fault: ${failed[*]}"
  exit 1
fi
echo "All fuzz targets ran clean."
