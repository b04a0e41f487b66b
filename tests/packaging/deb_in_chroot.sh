#!/usr/bin/env bash
# The .deb on a clean Debian 12. Makes the packages (cpack), a minimal Debian 12 root with
# debootstrap, installs the .deb there with apt (which brings Qt and the fonts from Debian), then
# starts the installed program offscreen as a normal user with --verifica: the login window must be
# shown, the data must go to the user's ~/Ingressario (first-access password file, guide, the day's
# backup) and nothing to /opt/ingressario; then to the shared folder that /etc/ingressario.conf
# names. The portable .tar.gz runs there from a folder of its own; last the package is removed and
# purged, and the data stay.
#
# Needs root and Debian's package archive (it downloads about 150 MB); takes a few minutes.
# Usage: deb_in_chroot.sh [build folder]   (default ./build, built beforehand)
set -euo pipefail
started=$SECONDS
build="$(realpath "${1:-build}")"
work="$(mktemp -d /var/tmp/ingressario-chroot.XXXXXX)"
root="$work/root"
mounted=()
cleanup() {
    for m in "${mounted[@]}"; do umount -l "$m" 2>/dev/null || true; done
    rm -rf --one-file-system "$work"
    echo "deb_in_chroot: $((SECONDS - started)) s in all"
}
trap cleanup EXIT

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
contains() { grep -qF -- "$2" <<<"$1"; }

echo "== $((SECONDS - started)) s: Packages"
cpack --config "$build/CPackConfig.cmake" -B "$work/packages" >/dev/null
deb="$(ls "$work"/packages/ingressario_*.deb)"
tgz="$(ls "$work"/packages/ingressario-*-portatile-*.tar.gz)"
version="$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")"
check "the package names carry the version $version" contains "$(basename "$deb") $(basename "$tgz")" "$version"

echo "== $((SECONDS - started)) s: A clean Debian 12 root"
mirror=()
[ -n "${INGRESSARIO_DEBIAN_MIRROR:-}" ] && mirror=("$INGRESSARIO_DEBIAN_MIRROR")
debootstrap --variant=minbase bookworm "$root" "${mirror[@]}" >"$work/debootstrap.log" 2>&1 ||
    { tail -20 "$work/debootstrap.log"; exit 1; }
cp /etc/resolv.conf "$root/etc/resolv.conf"
mount -t proc proc "$root/proc"
mounted+=("$root/proc")
in_root() {
    chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive "$@"
}

echo "== $((SECONDS - started)) s: The .deb installed with apt"
cp "$deb" "$tgz" "$root/tmp/"
in_root apt-get update -qq
# What the package depends on, without the recommended extras (Qt's translations among them, so
# that the program's own copy must serve), and the fonts it recommends.
in_root apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" fonts-liberation2 fonts-dejavu-core \
    >"$work/apt.log" 2>&1 || { tail -20 "$work/apt.log"; exit 1; }
check "the program is in /opt/ingressario" test -x "$root/opt/ingressario/ingressario"
check "the menu entry and the icon are installed" test -f "$root/usr/share/applications/it.cartavolante.ingressario.desktop" \
    -a -f "$root/usr/share/icons/hicolor/scalable/apps/it.cartavolante.ingressario.svg"
check "Qt's translations are not installed: the program's own copy must serve" \
    test ! -e "$root/usr/share/qt6/translations/qtbase_it.qm"
check "ingressario --version" test "$(in_root ingressario --version)" = "Ingressario $version"

in_root useradd -m operatore
uid="$(in_root id -u operatore)"
gid="$(in_root id -g operatore)"
as_operator() {
    chroot --userspec="$uid:$gid" "$root" /usr/bin/env -i PATH=/usr/bin:/bin HOME=/home/operatore LANG=C.UTF-8 \
        QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=/tmp/rt-operatore "$@"
}
install -d -o "$uid" -g "$gid" -m 700 "$root/tmp/rt-operatore"
shown='finestra di accesso "Ingressario - Accesso" mostrata'

echo "== $((SECONDS - started)) s: The installed program, as a user"
out="$(as_operator ingressario --verifica 2>"$work/err")" || true
echo "$out"
check "the login window is shown" contains "$out" "$shown"
check "the data folder is ~/Ingressario" contains "$out" "cartella dei dati: /home/operatore/Ingressario/"
check "the Italian translation comes from beside the program" contains "$out" "traduzione: /opt/ingressario/qtbase_it.qm"
data="$root/home/operatore/Ingressario"
today="$(ls "$data/Backup" 2>/dev/null | head -1 || true)"
check "the first-access password file is copied in" cmp -s "$data/unins000.dll" "$root/opt/ingressario/unins000.dll"
check "the guide is copied in" cmp -s "$data/Guida.pdf" "$root/opt/ingressario/Guida.pdf"
check "the day's backup is made" test "$(ls "$data/Backup" 2>/dev/null | tr '\n' ' ')" = "$(date +%F) " -o \
    "$(ls "$data/Backup" 2>/dev/null | tr '\n' ' ')" = "$(date -d yesterday +%F) "
check "the backup is a copy of the password file" cmp -s "$data/Backup/$today/unins000.dll" "$data/unins000.dll"
check "the data belong to the user" test "$(stat -c %u "$data/unins000.dll")" = "$uid"
check "nothing is written beside the program" \
    test "$(ls "$root/opt/ingressario" | tr '\n' ' ')" = "Guida.pdf ingressario ingressario.installato qtbase_it.qm unins000.dll "

echo "== $((SECONDS - started)) s: A shared folder named in /etc/ingressario.conf"
sed -i 's|^# cartella = /srv/ingressario|cartella = /srv/ingressario|' "$root/etc/ingressario.conf"
install -d -o "$uid" -g "$gid" -m 2770 "$root/srv/ingressario"
out="$(as_operator ingressario --verifica 2>"$work/err")" || true
check "the login window is shown" contains "$out" "$shown"
check "the data folder is the configured one" contains "$out" "cartella dei dati: /srv/ingressario/"
check "the shared folder gets the password file and its backup" \
    test -f "$root/srv/ingressario/unins000.dll" -a -n "$(ls "$root/srv/ingressario/Backup"/*/unins000.dll 2>/dev/null)"
out="$(as_operator ingressario --verifica --cartella /home/operatore/altra 2>"$work/err")" || true
check "--cartella wins over the configuration" contains "$out" "cartella dei dati: /home/operatore/altra/"

echo "== $((SECONDS - started)) s: The portable folder"
as_operator tar -xzf "/tmp/$(basename "$tgz")" -C /home/operatore
portable="/home/operatore/$(basename "$tgz" .tar.gz)"
out="$(as_operator "$portable/ingressario" --verifica 2>"$work/err")" || true
check "the login window is shown" contains "$out" "$shown"
check "its data stay beside it" contains "$out" "cartella dei dati: $portable/"
check "its backup is made beside it" test -n "$(ls "$root$portable"/Backup/*/unins000.dll 2>/dev/null)"

echo "== $((SECONDS - started)) s: Removal"
sums="$(cd "$data" && sha256sum unins000.dll Backup/"$today"/unins000.dll || true)"
in_root apt-get remove -y -qq ingressario >/dev/null 2>&1
check "the program is removed" test ! -e "$root/opt/ingressario" -a ! -e "$root/usr/bin/ingressario"
check "the configuration stays until purged" test -f "$root/etc/ingressario.conf"
in_root apt-get purge -y -qq ingressario >/dev/null 2>&1
check "purge removes the configuration" test ! -e "$root/etc/ingressario.conf"
check "the data stay" test "$(cd "$data" && sha256sum unins000.dll Backup/"$today"/unins000.dll)" = "$sums"

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
