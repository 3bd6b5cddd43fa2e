# Shared locations for the scripts (sourced, not run).
: "${top:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
BUILD_WIN=${BUILD_WIN:-$top/build/win32}
BUILD_NATIVE=${BUILD_NATIVE:-$top/build/native}
export WINEPREFIX=${WINEPREFIX:-$BUILD_WIN/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# Programs started by Wine must never wait on a crash dialog or a display.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}
