#!/usr/bin/env bash
# Installs what is missing, builds the application (Release, no sanitizers) and starts it. The configuration file
# and the logs are kept beside the program, in build/app/app/.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

build=build/app
cxx=clang++
command -v clang++ >/dev/null || cxx=g++
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER="$cxx" -DMQ_SANITIZE=OFF
cmake --build "$build" --target MyQuorvaneRE
exec "$build/app/MyQuorvaneRE" "$@"
