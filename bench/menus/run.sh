#!/usr/bin/env bash
# The skinned menus: a popup menu's full repaint, and GDI and USER objects over 100 popups.
exec "$(dirname "$0")/../gui-bench.sh" menus/menu_bench.exe
