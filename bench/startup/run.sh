#!/usr/bin/env bash
# Start-up time, resident memory and peak of the converter against a minimal window program.
exec "$(dirname "$0")/../gui-bench.sh" startup/startup_bench.exe "$@"
