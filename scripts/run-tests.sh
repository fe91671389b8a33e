#!/usr/bin/env bash
# Installs what is missing, builds everything with AddressSanitizer and UBSan, and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/test
cxx=clang++
command -v clang++ >/dev/null || cxx=g++
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER="$cxx" -DMQ_SANITIZE=ON
cmake --build "$build"
cd "$build"
ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@"
