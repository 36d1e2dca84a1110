#!/bin/sh
# Runs a Windows program under Wine in the project's own Wine prefix and
# exits with the program's status. The cross build's tests run through it.
#   scripts/wine-run.sh PROGRAM [ARGS...]
# QUILTOR_WINEPREFIX names the prefix (default ./wineprefix); it is made on
# first use. Console programs need no X display; windowed ones need DISPLAY,
# e.g. an Xvfb's.
set -eu

if [ $# -lt 1 ]; then
  echo "usage: $0 PROGRAM [ARGS...]" >&2
  exit 2
fi

WINEPREFIX=${QUILTOR_WINEPREFIX:-$PWD/wineprefix}
case $WINEPREFIX in
  /*) ;;
  *) WINEPREFIX=$PWD/$WINEPREFIX ;;
esac
# No offer to install Mono or Gecko, no menu entries on the host, no
# Wine chatter in the tests' output, and one locale whatever the machine's.
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
WINEDEBUG=-all
WINEARCH=win64
LC_ALL=C.UTF-8
export WINEPREFIX WINEDLLOVERRIDES WINEDEBUG WINEARCH LC_ALL

ready=$WINEPREFIX/.quiltor-ready
if [ ! -f "$ready" ]; then
  mkdir -p "$(dirname "$WINEPREFIX")"
  # Tests start in parallel: one makes the prefix, the others wait for it.
  exec 9> "$WINEPREFIX.lock"
  flock 9
  if [ ! -f "$ready" ]; then
    # A prefix this script began but never finished is made anew; one it
    # did not make is only set up, never removed.
    if [ -f "$WINEPREFIX/.quiltor-creating" ]; then
      wineserver -k > /dev/null 2>&1 || true
      rm -rf "$WINEPREFIX"
    fi
    mkdir -p "$WINEPREFIX"
    touch "$WINEPREFIX/.quiltor-creating"
    echo "Creating Wine prefix $WINEPREFIX" >&2
    wineboot -i > /dev/null 2>&1
    # A crash then prints one line on stderr and exits with status 5
    # (0xC0000005), instead of a dialog that waits for a click no test will
    # give. With no debugger named, winedbg's backtrace does not land in
    # the program's stdout either; run winedbg by hand for one.
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f > /dev/null 2>&1
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ /d '' /f > /dev/null 2>&1
    # Until wineserver stops, the registry may not be on disk.
    wineserver -w
    touch "$ready"
    rm -f "$WINEPREFIX/.quiltor-creating"
  fi
  exec 9>&-
fi

# Debian's wineserver stops as soon as the last program ends (-p0), and the
# Wine services that each first program starts keep its stdout and stderr
# open for about a second after it: a caller reading those pipes, as ctest
# does, would wait that long on every run. So when no server runs, one that
# lingers a few seconds is started here, its services with it, holding
# none of the caller's files; later runs join them.
if wineserver -p5 < /dev/null > /dev/null 2>&1; then
  wine cmd /c exit < /dev/null > /dev/null 2>&1 || true
fi

exec wine "$@"
