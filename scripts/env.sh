# Shared locations for the scripts (sourced, not run).
: "${top:=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)}"
BUILD_WIN=${BUILD_WIN:-$top/build/win32}
BUILD_NATIVE=${BUILD_NATIVE:-$top/build/native}
# Wine sessions: the template is made once by wineboot and only ever copied;
# each CTest slot runs in a copy of its own (wine-slots/<id>, see wine-run),
# the demo in wine-demo, and programs run by hand in wineprefix.
export QV_WINE_TEMPLATE=$BUILD_WIN/wine-template
export QV_WINE_SLOTS=$BUILD_WIN/wine-slots
export WINEPREFIX=${WINEPREFIX:-$BUILD_WIN/wineprefix}
export WINEARCH=win32
export WINEDEBUG=${WINEDEBUG:--all}
# Programs started by Wine must never wait on a crash dialog or a display.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-"mscoree,mshtml=;winemenubuilder.exe=d"}

# wine_slots N: a CTest resource file with N slots of the resource "wine"
# (one Wine session each) in $BUILD_WIN/wine-slots-N.json; prints its path.
wine_slots() {
  local n=$1 file=$BUILD_WIN/wine-slots-$1.json i
  {
    printf '{"version": {"major": 1, "minor": 0}, "local": [{"wine": ['
    for ((i = 0; i < n; i++)); do
      [ "$i" -gt 0 ] && printf ', '
      printf '{"id": "%d", "slots": 1}' "$i"
    done
    printf ']}]}\n'
  } >"$file"
  echo "$file"
}
