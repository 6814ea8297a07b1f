#!/bin/sh
# The example installation's stand-in for the generator. It records that it ran, with its
# arguments and the time, in $HOME/.tessarin-example-ran, and says so on the desktop when
# there is a notification service. Nothing else is touched.
marker="${HOME:-/tmp}/.tessarin-example-ran"
{
  printf 'Tsr Installation Generator (example) ran at %s\n' "$(date '+%Y-%m-%d %H:%M:%S')"
  printf 'program: %s\n' "$0"
  printf 'arguments:'
  for argument in "$@"; do printf ' [%s]' "$argument"; done
  printf '\n'
} > "$marker"
if command -v notify-send >/dev/null 2>&1; then
  notify-send "Tsr Installation Generator" "The example generator ran. See $marker." >/dev/null 2>&1 || true
fi
exit 0
