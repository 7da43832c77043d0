#!/bin/sh
# Runs under xvfb-run: starts the application in DIR, waits until its silver tool bar
# shows, photographs the whole screen into PICTURE and ends the application.
# usage: take_screenshot.sh PROGRAM PICTURE DIR
set -eu
program=$1
picture=$2
cd "$3"
QT_QPA_PLATFORM=xcb "$program" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
attempt=0
until [ "$(import -window root png:- | convert - -format '%[hex:p{640,30}]' info:)" = C0C0C0 ]; do
  attempt=$((attempt + 1))
  if [ "$attempt" -gt 120 ] || ! kill -0 "$pid" 2>/dev/null; then
    echo "the tool bar did not show" >&2
    exit 1
  fi
  sleep 0.25
done
sleep 1  # the last paints of the first show
import -window root "$picture"
