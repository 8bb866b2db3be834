#!/usr/bin/env bash
# Installs the built system into a Wine prefix as a user's machine has it:
# the media libraries in the common-files folder + "Tessaly\", the clients
# with its settings file, skins and language files in its program folder.
#
#   bash tools/install.sh [program folder]    default: C:\Program Files\Halvern\
#
# Called from a script that started its Wine environment (tools/wine-env.sh,
# WINEPREFIX set), it installs there; otherwise into the environment of
# tools/wine.sh. Prints the program folder as Windows and as Unix path.
# Build first (tools/test.sh or the main job).
set -euo pipefail

. "$(dirname "$0")/paths.sh"
setup=$build/bin/HalvernSetup.exe
[ -f "$setup" ] || { echo "install.sh: $setup is not built" >&2; exit 2; }

if [ -n "${WINEPREFIX:-}" ]; then
    folder=$(cd "$build/bin" && wine "$setup" "$@" | tr -d '\r')
    unix=$(winepath -u "$folder" 2>/dev/null || true)
else
    folder=$(bash "$top/tools/wine.sh" "$setup" "$@" | tr -d '\r')
    unix=""
fi
echo "$folder"
[ -n "$unix" ] && echo "$unix"
exit 0
