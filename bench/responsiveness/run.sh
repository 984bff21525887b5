#!/usr/bin/env bash
# The main window's answer time during a conversion and while the encoder is silent.
exec "$(dirname "$0")/../gui-bench.sh" responsiveness/main_window_response_bench.exe
