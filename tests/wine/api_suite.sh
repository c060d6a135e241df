#!/usr/bin/env bash
# Runs the API suite built against the SDK (argument 1, api_tests.exe) under
# Wine on an 8-bit virtual screen with openbox, which turns a minimized
# window into a deactivated application as a desktop does.
exe=${1:?usage: api_suite.sh API_TESTS_EXE}
source "$(dirname "$0")/wine_lib.sh"
start_screen openbox
wine "$exe" >"$WORK/api.log" 2>&1 &
app_pid=$!
x11_track "$app_pid"
wait "$app_pid"; status=$?
cat "$WORK/api.log"
[ "$status" -eq 0 ] || { echo "FAIL: the API suite ended with status $status under Wine"; exit 1; }
echo "PASS: the API suite under $(wine --version)"
