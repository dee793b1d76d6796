#!/usr/bin/env bash
# Start-up benchmark: time from process creation to a visible main window of CnfKor, with 9
# profiles of 64 remote hosts each in the registry, against a bare Win32 window program,
# under the same Wine in one run (the two are started in turn).
#
#   bench/startup.sh [RUNS]        (default 10 starts of each)
#
# Builds CnfKor (in the win32 build of scripts/build) and the two small programs of
# bench/win/, uses a Wine environment of its own under $KOR_BUILD/bench-startup and ends it
# afterwards.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KOR_BUILD:-$root/build}
out=$build/bench-startup
runs=${1:-10}
cd "$root"

if [ ! -f "$build/win32/CMakeCache.txt" ]; then
  cmake -S "$root" -B "$build/win32" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-w64-mingw32.cmake" >/dev/null
fi
cmake --build "$build/win32" --target CnfKor >/dev/null
mkdir -p "$out"
cxx=i686-w64-mingw32-g++-posix
flags=(-O2 -std=c++17 -Wall -Wextra -Werror -static -static-libgcc -static-libstdc++)
"$cxx" "${flags[@]}" -mwindows -o "$out/bare_window.exe" bench/win/bare_window.cpp
"$cxx" "${flags[@]}" -o "$out/startup_timer.exe" bench/win/startup_timer.cpp

trap 'scripts/wine-env stop "$out/wine" >/dev/null' EXIT
trap 'exit 130' INT TERM
scripts/wine-env start "$out/wine" >/dev/null
# shellcheck disable=SC1091
. "$out/wine/env.sh"

# The configuration: KOR01..KOR09, each with 64 remote hosts (the most the tool holds).
reg=$out/config.reg
{
  echo 'Windows Registry Editor Version 5.00'
  echo
  echo '[-HKEY_LOCAL_MACHINE\Software\Orvanta\CNFKOR]'
  echo
  for n in $(seq 1 9); do
    echo "[HKEY_LOCAL_MACHINE\\Software\\Orvanta\\CNFKOR\\Localhost$n]"
    printf '"Velt"=dword:%08x\n"Adapter"=dword:00000000\n"IpFixed"=dword:00000000\n' $(( (n << 8) | 1 ))
    echo '"AdapterName"="{4D36E972-E325-11CE-BFC1-08002BE10318}"'
    echo
    echo "[HKEY_LOCAL_MACHINE\\Software\\Orvanta\\CNFKOR\\Connections$n]"
    echo '"Number"=dword:00000040'
    for i in $(seq 0 63); do
      printf '"Id%02d"="HOST%d_%02d"\n"NoDyn%02d"=dword:00000000\n"UseDNS%02d"=dword:00000000\n' \
        "$i" "$n" "$i" "$i" "$i"
      printf '"Velt%02d"=dword:%08x\n"Ip%02d"="10.%d.%d.%d"\n' \
        "$i" $(( ((i + 1) << 8) | n )) "$i" "$n" $(( i / 250 )) $(( i % 250 + 1 ))
    done
    echo
  done
} >"$reg"
wine reg import "$(winepath -w "$reg")" /reg:64 >/dev/null 2>&1
profiles=$(wine reg query 'HKLM\Software\Orvanta\CNFKOR' /reg:64 2>/dev/null | grep -c 'Localhost' || true)
echo "startup: $profiles profiles of 64 remote hosts each; $runs starts of each program"
echo "startup: Wine $(wine --version), display $DISPLAY"

cnfkor=$(winepath -w "$build/win32/cnfkor/CnfKor.exe")
bare=$(winepath -w "$out/bare_window.exe")
wine "$out/startup_timer.exe" "$runs" "$cnfkor" OVCnfKorClass "$bare" KorBenchBareWindow
