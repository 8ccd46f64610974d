#!/usr/bin/env bash
# Installs the Debian package into a clean Debian 12 root, runs the installed programs from their
# installed paths, removes the package and checks that nothing of it is left.
#
#   bash scripts/check-package.sh [build/tilesmithery_VERSION_amd64.deb]
#
# The clean root is made with debootstrap (minbase bookworm) and entered with chroot, so it needs
# root and the Debian mirror; TS_CHROOT_BASE=DIR reuses a root made before (it is copied, never
# changed). Where no root can be made, the package is unpacked with dpkg -x into a temporary
# folder and run with this machine's libraries instead, and the script says so.
set -euo pipefail

deb="${1:-$(ls -t build/tilesmithery_*.deb 2>/dev/null | head -1)}"
[ -f "$deb" ] || { echo "check-package: no package; run 'make package' first" >&2; exit 2; }
deb="$(readlink -f "$deb")"
mirror="${TS_DEBIAN_MIRROR:-http://deb.debian.org/debian}"

echo "== package: $deb"
echo "size: $(stat -c %s "$deb") bytes ($(du -h "$deb" | cut -f1)); installed size: $(dpkg-deb -f "$deb" Installed-Size) KiB"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
echo "Recommends: $(dpkg-deb -f "$deb" Recommends)"

work="$(mktemp -d /tmp/ts-package-check.XXXXXX)"
root="$work/root"
mounted=""
cleanup() {
  if [ -n "$mounted" ]; then umount "$root/proc" 2>/dev/null || true; fi
  rm -rf "$work"
}
trap cleanup EXIT

can_chroot=0
if [ "$(id -u)" -eq 0 ] && command -v chroot >/dev/null; then
  if [ -n "${TS_CHROOT_BASE:-}" ] && [ -x "$TS_CHROOT_BASE/bin/sh" ]; then
    echo "== clean root: copy of $TS_CHROOT_BASE"
    cp -a "$TS_CHROOT_BASE" "$root"
    can_chroot=1
  elif command -v debootstrap >/dev/null; then
    echo "== clean root: debootstrap --variant=minbase bookworm (a few minutes)"
    if debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1; then
      can_chroot=1
    else
      tail -5 "$work/debootstrap.log"
    fi
  fi
fi

if [ "$can_chroot" -eq 1 ]; then
  cp /etc/resolv.conf "$root/etc/resolv.conf" 2>/dev/null || true
  mount -t proc proc "$root/proc" && mounted=1
  cp "$deb" "$root/tmp/"
  in_root() { chroot "$root" /usr/bin/env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin HOME=/root LANG=C.UTF-8 "$@"; }
  echo "== apt-get install ./$(basename "$deb") (its dependencies come from the mirror)"
  in_root apt-get update -qq
  in_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "/tmp/$(basename "$deb")" \
    >"$work/install.log" 2>&1 || { tail -20 "$work/install.log"; exit 1; }
  grep -E "^(Setting up|Unpacking) tilesmithery" "$work/install.log" || true
  echo "== run from the installed path"
  in_root which tilesmithery tilesmithery-fr
  in_root /usr/bin/tilesmithery --version
  in_root /usr/bin/tilesmithery-fr --version
  # A real batch conversion in the clean root, in both editions.
  mkdir -p "$root/tmp/demo"
  cp "$(dirname "$0")/../examples/demo/ship.png" "$root/tmp/demo/"
  in_root sh -c 'cd /tmp/demo && tilesmithery demo.tsp -tset src=ship && tilesmithery-fr demo.tsp "msgbox \"ok\", \"Test\""'
  ls "$root/tmp/demo"
  # The window module loads (its libraries are all there): with no display it must say so (3),
  # not fail to load (2).
  set +e
  in_root sh -c 'cd /tmp/demo && tilesmithery demo.tsp' 2>/dev/null
  status=$?
  set -e
  echo "window without a display: exit status $status (3 expected: the module loaded)"
  [ "$status" -eq 3 ] || exit 1
  # The window itself, on Qt's offscreen platform, closed by the project's onstart hook.
  printf 'onstart:\r\nquit\r\n' > "$root/tmp/demo/script.spt"
  in_root sh -c 'cd /tmp/demo && QT_QPA_PLATFORM=offscreen tilesmithery-fr demo.tsp' 2>/dev/null
  echo "French window opened offscreen and closed by onstart: exit status 0"
  in_root ls /usr/share/applications/tilesmithery.desktop /usr/share/mime/packages/tilesmithery.xml \
    /usr/share/icons/hicolor/scalable/apps/tilesmithery.svg /usr/share/man/man1/tilesmithery.1.gz \
    /usr/share/tilesmithery/manual.html
  echo "== dpkg -r tilesmithery"
  in_root dpkg -r tilesmithery >"$work/remove.log" 2>&1 || { cat "$work/remove.log"; exit 1; }
  left="$(in_root sh -c 'ls -d /usr/lib/tilesmithery /usr/bin/tilesmithery /usr/bin/tilesmithery-fr /usr/share/tilesmithery /usr/share/applications/tilesmithery.desktop 2>/dev/null' || true)"
  if [ -n "$left" ]; then
    echo "left behind after removal: $left" >&2
    exit 1
  fi
  in_root dpkg -P tilesmithery >/dev/null 2>&1
  state="$(in_root dpkg-query -W -f='${Status}' tilesmithery 2>/dev/null || true)"
  echo "removed cleanly (after dpkg -P: ${state:-not installed})"
else
  echo "== no clean root can be made here (needs root, chroot and debootstrap):"
  echo "   unpacking with dpkg -x and running with this machine's libraries instead"
  dpkg -x "$deb" "$root"
  "$root/usr/bin/tilesmithery" --version
  "$root/usr/bin/tilesmithery-fr" --version
  echo "(not a clean install: the dependencies were not checked)"
fi
echo "== package check passed"
