#!/usr/bin/env bash
# CPU benchmark of the driver monitor: a hidden monitor against a shown one refreshing every
# 100 ms, over the same SECONDS, in one run, each beside its own driver-service stand-in.
# The CPU times are the Linux ones of the monitors' processes (/proc/<pid>/stat), since Wine
# does not report another process's times to a Windows program.
#
#   bench/kordrv_cpu.sh [SECONDS]        (default 20)
#
# Builds KorDrv and the stand-in (in the win64 build of scripts/build, or $KOR_BUILD/win64),
# and the small driver program of bench/win/; uses a Wine environment of its own under
# $KOR_BUILD/bench-kordrv and ends it afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOR_BUILD:-$root/build}
out=$build/bench-kordrv
seconds=${1:-20}
cd "$root"

if [ ! -f "$build/win64/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build/win64" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-x86_64-w64-mingw32.cmake" >/dev/null
fi
cmake --build "$build/win64" --target KorDrv KorDrvSys >/dev/null
mkdir -p "$out"
x86_64-w64-mingw32-g++-posix -O2 -std=c++17 -Wall -Wextra -Werror -static -static-libgcc \
    -static-libstdc++ -o "$out/kordrv_cpu.exe" bench/win/kordrv_cpu.cpp

trap 'scripts/wine-env stop "$out/wine" >/dev/null' EXIT
trap 'exit 130' INT TERM
scripts/wine-env start "$out/wine" >/dev/null
# shellcheck disable=SC1091
. "$out/wine/env.sh"
echo "kordrv_cpu: Wine $(wine --version), display $DISPLAY"
/usr/lib/wine/wine64 "$out/kordrv_cpu.exe" "$(winepath -w "$build/win64/kordrv/KorDrv.exe")" \
    "$(winepath -w "$build/win64/sim/KorDrvSys.exe")" "$seconds" "$(getconf CLK_TCK)"
