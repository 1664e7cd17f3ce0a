#!/usr/bin/env bash
# Cross-builds the 32-bit Windows plug-in DLL with mingw-w64 and tests it
# under wine, headless: the DLL's import and export tables here, then the
# Windows test host (exports, calling convention, GDI drawing through a host
# device-context object, and the recording trace against the Linux build's).
#
#   scripts/windows-test.sh [BUILD_DIR]          (default build/win32)
#
# VITALCHART_LINUX_CLI names the Linux vitalchart command that writes the
# reference trace (default build/gcc/vitalchart; built when missing).
# Installs what it needs, as root, when something is missing.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/win32}
out=$build/windows-test
started=$SECONDS

# ---- packages -----------------------------------------------------------------
# wine32 comes from the i386 architecture; fonts-wine holds wine's own fonts,
# fonts-liberation2 the metric-compatible faces that Arial, Times New Roman and
# Courier New are mapped to; zh_CN.UTF-8 gives the Chinese ANSI code page (936)
# the chart's text is written in.
packages=(g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386 wine64 fonts-wine fonts-liberation2 locales)
. scripts/packages.sh
install_missing windows-test "${packages[@]}"
ensure_locale windows-test zh_CN

# ---- builds ---------------------------------------------------------------------
echo "windows-test: building the DLL and the test host in $build"
cmake -S . -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVITALCHART_WERROR=ON >/dev/null
cmake --build "$build" --parallel "$(nproc)"
dll=$build/vitalchart.dll
host=$build/tests/windows/vitalchart_windows_host.exe

linux_cli=${VITALCHART_LINUX_CLI:-build/gcc/vitalchart}
if [ ! -x "$linux_cli" ]; then
  echo "windows-test: building the Linux command for the reference trace"
  CXX=${CXX:-g++} cmake -S . -B "$build-linux" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DVITALCHART_BUILD_TESTS=OFF >/dev/null
  cmake --build "$build-linux" --parallel "$(nproc)" --target vitalchart_cli
  linux_cli=$build-linux/vitalchart
fi
rm -rf "$out"
mkdir -p "$out"
"$linux_cli" render examples/vitalsign.xml --data examples/week.data --encoding utf-8 --format trace \
  -o "$out/linux.trace"

# ---- the DLL's tables -------------------------------------------------------------
# Only system DLLs may be imported: the C++ runtime is linked in.
objdump=i686-w64-mingw32-objdump
imports=$("$objdump" -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u | tr '\n' ' ')
for name in $imports; do
  case $name in
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll) ;;
    *)
      echo "windows-test: FAIL the DLL imports $name (imports: $imports)" >&2
      exit 1
      ;;
  esac
done
echo "windows-test: ok import table: $imports"
# Exactly the seven plain names, none decorated.
exports=$("$objdump" -p "$dll" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *[0-9]*\] \([^ ]*\)$/\1/p' | sort | tr '\n' ' ')
expected="DrawPlugin GetPluginFunctionCount GetPluginFunctionNames GetPluginHeight GetPluginSizeByTemplet GetPluginWidth cmdLButtonDblClk "
if [ "$exports" != "$expected" ]; then
  echo "windows-test: FAIL the DLL exports: $exports (expected: $expected)" >&2
  exit 1
fi
echo "windows-test: ok export table: $exports"

# ---- a fresh 32-bit wine prefix, headless -----------------------------------------
case $build in
  /*) export WINEPREFIX=$build/wineprefix ;;
  *) export WINEPREFIX=$PWD/$build/wineprefix ;;
esac
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LC_ALL=zh_CN.UTF-8
unset DISPLAY WAYLAND_DISPLAY
# Waits for the wine server of the prefix to end; stops it when it hangs on.
wine_settle() {
  timeout 60 wineserver -w || wineserver -k || true
}
if [ -d "$WINEPREFIX" ]; then
  wineserver -k 2>/dev/null || true
  rm -rf "$WINEPREFIX"
fi
echo "windows-test: creating the wine prefix"
if ! timeout 300 wineboot --init >/dev/null 2>&1; then
  echo "windows-test: FAIL wineboot could not create the prefix $WINEPREFIX" >&2
  wine_settle
  exit 1
fi
wine_settle
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
substitutes='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
wine reg add "$substitutes" /v "Arial" /t REG_SZ /d "Liberation Sans" /f >/dev/null
wine reg add "$substitutes" /v "Times New Roman" /t REG_SZ /d "Liberation Serif" /f >/dev/null
wine reg add "$substitutes" /v "Courier New" /t REG_SZ /d "Liberation Mono" /f >/dev/null
wine_settle

# ---- the test host ------------------------------------------------------------------
echo "windows-test: running the test host under wine ($((SECONDS - started)) s so far; pictures go to $out)"
status=0
timeout 300 wine "$host" "$dll" examples "$out/linux.trace" "$out" || status=$?
wine_settle
if [ "$status" -ne 0 ]; then
  echo "windows-test: FAIL the test host exited with status $status" >&2
fi
exit $status
