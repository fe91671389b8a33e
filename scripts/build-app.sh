#!/usr/bin/env bash
# Installs what is missing and builds the application (Release, no sanitizers) in build/app.
# Usage: scripts/build-app.sh [more targets...]
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

cxx=clang++
command -v clang++ >/dev/null || cxx=g++
cmake -S . -B build/app -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$cxx" -DMQ_SANITIZE=OFF >/dev/null
cmake --build build/app --target MyQuorvaneRE "$@"
