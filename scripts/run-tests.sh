#!/usr/bin/env bash
# Installs what is missing and runs every test twice: built with clang, AddressSanitizer and UBSan in Debug
# (build/test), then built with g++ in Release without sanitizers (build/gcc). Arguments go to ctest in both.
# The second compiler and optimiser catch what one alone lets pass (argument evaluation order, for one).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

# Under CI warnings are errors for both compilers, also in a build directory configured before without CI.
werror=()
[ -z "${CI:-}" ] || werror=(-DMQ_WERROR=ON)

cxx=clang++
command -v clang++ >/dev/null || cxx=g++

failed=()
leg() {
    local name=$1 build=$2
    shift 2
    echo "== $name ($build)"
    cmake -S . -B "$build" -G Ninja "${werror[@]}" "${configure[@]}" &&
        cmake --build "$build" &&
        (cd "$build" && ctest --output-on-failure --no-tests=error -j "$(nproc)" "$@") || failed+=("$name")
}

configure=(-DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_COMPILER="$cxx" -DMQ_SANITIZE=ON)
leg "$cxx Debug with sanitizers" build/test "$@"
configure=(-DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_COMPILER=g++ -DMQ_SANITIZE=OFF)
leg "g++ Release" build/gcc "$@"

if [ ${#failed[@]} -gt 0 ]; then
    printf 'FAILED: %s\n' "${failed[@]}" >&2
    exit 1
fi
echo "Both legs passed."
