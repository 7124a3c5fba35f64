#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, only those missing.
# Idempotent and quick when everything is present. Run as root (or with sudo).
set -euo pipefail

# backports_source APT_DIR CODENAME: prints a deb822 source entry for the
# suite CODENAME-backports on the mirror of the machine's own entry for the
# release CODENAME (its URIs and its Signed-By, taken from APT_DIR's
# sources.list, sources.list.d/*.list or sources.list.d/*.sources); fails
# when no enabled binary entry names that suite.
backports_source() {
  local apt=$1 codename=$2 files=()
  [ -f "$apt/sources.list" ] && files+=("$apt/sources.list")
  for file in "$apt"/sources.list.d/*.list "$apt"/sources.list.d/*.sources; do
    [ -f "$file" ] && files+=("$file")
  done
  [ ${#files[@]} -gt 0 ] || return 1
  awk -v codename="$codename" '
    function has(list, word,   n, i, items) {
      n = split(list, items, /[ \t]+/)
      for (i = 1; i <= n; i++) if (items[i] == word) return 1
      return 0
    }
    function finish_stanza() {
      if (!found && has(types, "deb") && has(suites, codename) && tolower(enabled) != "no" && uris != "") {
        found = 1; out_uris = uris; out_signed = signed
      }
      types = ""; uris = ""; suites = ""; signed = ""; enabled = ""; field = ""
    }
    FNR == 1 { if (deb822) finish_stanza(); deb822 = (FILENAME ~ /\.sources$/) }
    # One-line entries: deb [options] URI SUITE COMPONENT...
    !deb822 {
      line = $0; sub(/#.*/, "", line)
      if (found || line !~ /^[ \t]*deb[ \t]/) next
      options = ""
      if (match(line, /\[[^]]*\]/)) { options = substr(line, RSTART + 1, RLENGTH - 2); line = substr(line, 1, RSTART - 1) substr(line, RSTART + RLENGTH) }
      n = split(line, word, /[ \t]+/)
      first = (word[1] == "") ? 2 : 1
      if (word[first + 2] != codename) next
      found = 1; out_uris = word[first + 1]; out_signed = ""
      m = split(options, option, /[ \t]+/)
      for (i = 1; i <= m; i++) if (option[i] ~ /^signed-by=/) { out_signed = substr(option[i], 11) }
      next
    }
    # deb822 stanzas, separated by blank lines; continuation lines start with a blank.
    /^[ \t]*#/ { next }
    /^[ \t]*$/ { finish_stanza(); next }
    /^[ \t]/ { if (field == "signed-by") signed = signed "\n" $0; next }
    {
      colon = index($0, ":"); field = tolower(substr($0, 1, colon - 1)); value = substr($0, colon + 1)
      gsub(/^[ \t]+|[ \t]+$/, "", value)
      if (field == "types") types = value
      else if (field == "uris") uris = value
      else if (field == "suites") suites = value
      else if (field == "signed-by") signed = value
      else if (field == "enabled") enabled = value
    }
    END {
      if (deb822) finish_stanza()
      if (!found) exit 1
      print "Types: deb"
      print "URIs: " out_uris
      print "Suites: " codename "-backports"
      print "Components: main"
      if (out_signed != "") print "Signed-By: " out_signed
    }
  ' "${files[@]}"
}

# Tests run this part alone against sample source files.
if [ "${1:-}" = --backports-source ]; then
  backports_source "$2" "$3"
  exit
fi

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
# 7.2 lacks: the newer one comes from the release's backports suite, fetched
# from the mirror the machine already uses for the release itself.
if ! /usr/lib/wine/wineserver32 --version >/dev/null 2>&1; then
  qemu_version=$(dpkg-query -W -f='${Version}' qemu-user-static 2>/dev/null || true)
  if [ -z "$qemu_version" ] || dpkg --compare-versions "$qemu_version" lt 1:8; then
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    if [ -z "$codename" ]; then
      echo "install-deps: /etc/os-release names no release; cannot pick its backports" >&2
      exit 1
    fi
    # An enabled entry for the backports suite may be there already.
    if ! backports_source /etc/apt "$codename-backports" >/dev/null; then
      if ! stanza=$(backports_source /etc/apt "$codename"); then
        echo "install-deps: no Debian source entry for $codename in /etc/apt to take the mirror from" >&2
        exit 1
      fi
      printf '%s\n' "$stanza" | $sudo tee "/etc/apt/sources.list.d/$codename-backports.sources" >/dev/null
    fi
    $sudo apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends \
      -t "$codename-backports" qemu-user-static
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
