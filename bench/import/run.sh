#!/usr/bin/env bash
# 2,000 files into the input list through the open dialog and by a drop, and the answer time meanwhile.
exec "$(dirname "$0")/../gui-bench.sh" import/list_import_bench.exe
