#!/bin/sh
# Runs a Windows test program on a virtual X display in a Wine session of its own:
#   run_with_display.sh WINEPREFIX WINE_RUN PROGRAM [ARGUMENT...]
# A session still running in the prefix without a display would take the program's
# windows onto its display-less desktop, so it is waited for first; and the session
# started here must not outlive the display it was started on.
#
# There is no window manager on the virtual display, and Wine waits two seconds for one
# to withdraw every managed window that closes; the program's windows are therefore made
# unmanaged (for this program only, in the prefix's per-program settings).
prefix=$1
wine_run=$2
shift 2
WINEPREFIX=$prefix wineserver -w
xvfb-run -a -s "-screen 0 1280x1024x24" sh -c '
  wine_run=$1
  shift
  "$wine_run" reg add "HKCU\\Software\\Wine\\AppDefaults\\$(basename "$1")\\X11 Driver" \
    /v Managed /d N /f >/dev/null 2>&1
  exec "$wine_run" "$@"' sh "$wine_run" "$@"
status=$?
WINEPREFIX=$prefix wineserver -w
exit $status
