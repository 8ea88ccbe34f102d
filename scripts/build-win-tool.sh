#!/usr/bin/env bash
# build-win-tool.sh TARGET...: builds Windows programs that are not tests (the latency
# benchmark, the soak driver) in the win tree, configured as make test configures it.
set -eu
cd "$(dirname "$0")/.."
cmake --preset win >/dev/null
cmake --build --preset win -j "$(nproc)" --target "$@" >/dev/null
