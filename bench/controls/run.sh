#!/usr/bin/env bash
# The control wrappers: a full repaint of the main window, wrapped against unskinned.
exec "$(dirname "$0")/../gui-bench.sh" controls/control_paint_bench.exe
