#!/usr/bin/env bash
# Installs what is missing, builds native, win64 and win32, and runs every test: the native
# unit tests, the same tests under Wine, the GUI tests, and short fuzz runs.
source "$(dirname "$0")/scripts/common.sh"
start=$SECONDS
install_everything

configure_and_build native
build_win64
build_win32

log "Native unit tests"
ctest --test-dir build/native --output-on-failure --no-tests=error

log "Windows tests under Wine (unit and GUI)"
prepare_wine
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build/win64 --output-on-failure --no-tests=error

log "Fuzzing: fixed seed and runs over the seeds and regression inputs"
scripts/fuzz-regress.sh

file build/win32/quilla.exe build/win32/quilla-cli.exe 2>/dev/null || true
log "All tests passed in $((SECONDS - start)) s"
