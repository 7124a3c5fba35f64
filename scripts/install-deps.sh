#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, only those missing.
# Idempotent and quick when everything is present. Run as root (or with sudo).
set -euo pipefail

packages=(
  cmake make g++ googletest libgtest-dev libbenchmark-dev libyuv-dev
  clang libclang-rt-14-dev
  g++-mingw-w64-i686 binutils-mingw-w64-i686 mingw-w64-i686-dev
  wine wine32:i386 xvfb xauth x11-apps netpbm locales python3
  fonts-noto-cjk libfreetype-dev pkg-config
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $sudo dpkg --add-architecture i386
  fi
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Where the kernel runs no 32-bit programs itself (IA-32 emulation off, as on
# some virtual machines), Wine's 32-bit side runs through qemu's user-mode
# emulator, registered for i386 ELF programs with binfmt_misc. Wine needs the
# emulator's correct signal contexts (trap numbers), which Debian 12's qemu
# 7.2 lacks: the newer one comes from bookworm-backports.
if ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
  qemu_version=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true)
  if [ -z "$qemu_version" ] || dpkg --compare-versions "$qemu_version" lt 1:8; then
    sources=/etc/apt/sources.list.d/bookworm-backports.sources
    if ! grep -rqs bookworm-backports /etc/apt/sources.list /etc/apt/sources.list.d; then
      printf '%s\n' "Types: deb" "URIs: http://deb.debian.org/debian" \
        "Suites: bookworm-backports" "Components: main" \
        "Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg" | $sudo tee $sources >/dev/null
    fi
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
      -t bookworm-backports qemu-user-static
  fi
  binfmt=/proc/sys/fs/binfmt_misc
  [ -e $binfmt/register ] || $sudo mount -t binfmt_misc binfmt_misc $binfmt
  if [ ! -e $binfmt/lumaview-i386 ]; then
    echo "Registering qemu-i386 for 32-bit programs (this kernel runs none itself)"
    magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
    mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
    echo ":lumaview-i386:M::$magic:$mask:/usr/bin/qemu-i386-static:F" | $sudo tee $binfmt/register >/dev/null
  fi
  /usr/lib/wine/wineserver32 --version >/dev/null
fi
