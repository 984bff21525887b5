#!/usr/bin/env bash
# The skinned frames: start-up, full repaint, message boxes (see the program's comment).
exec "$(dirname "$0")/../gui-bench.sh" frames/skinned_window_bench.exe
