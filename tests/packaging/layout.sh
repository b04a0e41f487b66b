#!/usr/bin/env bash
# The install layouts, without building a package: the portable program folder of a plain
# `cmake --install`, installed twice over a data folder whose password was changed, and the .deb's
# tree (its component installed into a folder), checked by desktop-file-validate and
# appstreamcli. Usage: layout.sh <build folder>
set -euo pipefail
build="$(realpath "$1")"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failures=0
check() { # description, command...
    local what="$1"
    shift
    if "$@"; then
        echo "ok: $what"
    else
        echo "FAIL: $what"
        failures=$((failures + 1))
    fi
}
listing() { (cd "$1" && find . -mindepth 1 | LC_ALL=C sort | tr '\n' ' '); }

# --- The portable program folder, installed over a data folder in use -------------------------
folder="$work/Ingressario"
cmake --install "$build" --prefix "$folder" >/dev/null
check "the program folder holds the program, the guide, the translation and the password file" \
    test "$(listing "$folder")" = "./Guida.pdf ./ingressario ./qtbase_it.qm ./unins000.dll "
check "the first-access password file is the program's" cmp -s "$folder/unins000.dll" \
    "$(dirname "$build")/app/unins000.dll"
check "the portable folder carries no installed marker" test ! -e "$folder/ingressario.installato"
check "the installed program answers --version" \
    test "$("$folder/ingressario" --version)" = "Ingressario $(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"

printf '[Accesso]\r\nPassword=changed\r\n' >"$folder/unins000.dll"
printf 'cards' >"$folder/Schedario_Pass.pro"
mkdir -p "$folder/Backup/2025-03-07" && printf 'copy' >"$folder/Backup/2025-03-07/Schedario_Pass.pro"
sums="$(cd "$folder" && sha256sum unins000.dll Schedario_Pass.pro Backup/2025-03-07/Schedario_Pass.pro)"
printf 'an older program' >"$folder/ingressario"
cmake --install "$build" --prefix "$folder" >/dev/null
check "a second install keeps the changed password and the data files" \
    test "$(cd "$folder" && sha256sum unins000.dll Schedario_Pass.pro Backup/2025-03-07/Schedario_Pass.pro)" = "$sums"
check "a second install replaces the program" "$folder/ingressario" --version

# --- The .deb's tree ----------------------------------------------------------------------------
tree="$work/deb"
DESTDIR="$tree" cmake --install "$build" --component deb --prefix / >/dev/null
app=it.cartavolante.ingressario
for f in opt/ingressario/ingressario opt/ingressario/Guida.pdf opt/ingressario/qtbase_it.qm \
    opt/ingressario/unins000.dll opt/ingressario/ingressario.installato etc/ingressario.conf \
    usr/share/applications/$app.desktop usr/share/icons/hicolor/scalable/apps/$app.svg \
    usr/share/metainfo/$app.metainfo.xml usr/share/doc/ingressario/INSTALLAZIONE.md; do
    check "the .deb holds /$f" test -f "$tree/$f"
done
check "/usr/bin/ingressario leads to the program" test "$(readlink "$tree/usr/bin/ingressario")" = /opt/ingressario/ingressario
check "desktop-file-validate accepts the menu entry" desktop-file-validate "$tree/usr/share/applications/$app.desktop"
check "appstreamcli accepts the metainfo, the menu entry and the icon" \
    appstreamcli validate-tree --no-net --pedantic "$tree"
check "the configuration file names no folder until IT does" \
    test -z "$(grep -E '^[[:space:]]*cartella[[:space:]]*=' "$tree/etc/ingressario.conf")"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
