#!/usr/bin/env bash
# Sets up a Debian 12 machine, builds the program and starts it.
# With --demo it first starts the demo novel site on 127.0.0.1:8808 and prints its address.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build build -j "$(nproc)" --target quillarch demo_site

if [ "${1:-}" = "--demo" ]; then
  ./build/tools/demo_site --port 8808 &
  demo=$!
  trap 'kill "$demo" 2>/dev/null || true' EXIT
  echo "Demo site: paste http://127.0.0.1:8808/book/1/ into the address box."
fi
./build/app/quillarch
