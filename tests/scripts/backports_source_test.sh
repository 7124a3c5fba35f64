#!/usr/bin/env bash
# install-deps.sh's backports entry: the mirror and key come from the
# machine's own entry for the release, whatever form the sources take.
#   backports_source_test.sh INSTALL_DEPS_SCRIPT
set -uo pipefail
script=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# expect NAME STATUS EXPECTED_OUTPUT [SUITE]: runs the extraction on
# $work/NAME for SUITE (default bookworm).
expect() {
  local name=$1 status=$2 expected=$3 suite=${4:-bookworm} output code=0
  output=$(bash "$script" --backports-source "$work/$name" "$suite" 2>&1) || code=$?
  if [ "$code" -ne "$status" ] || [ "$output" != "$expected" ]; then
    echo "FAILED: $name (status $code, wanted $status)"
    echo "--- got:"; echo "$output"; echo "--- wanted:"; echo "$expected"
    failed=$((failed + 1))
  else
    echo "ok: $name"
  fi
}

# One-line entries: comments, deb-src and the security archive come first;
# the options carry the key.
mkdir -p "$work/one-line/sources.list.d"
cat >"$work/one-line/sources.list" <<'END'
# deb http://commented.example/debian bookworm main
deb-src http://source.example/debian bookworm main
deb http://security.example/debian-security bookworm-security main
deb [arch=amd64 signed-by=/usr/share/keyrings/mirror.gpg] http://mirror.example.org/debian bookworm main contrib
deb http://later.example/debian bookworm main
END
expect one-line 0 "Types: deb
URIs: http://mirror.example.org/debian
Suites: bookworm-backports
Components: main
Signed-By: /usr/share/keyrings/mirror.gpg"

# deb822: a disabled stanza and the security one are passed over; the
# release is one of several suites; no Signed-By is copied when there is none.
mkdir -p "$work/deb822/sources.list.d"
cat >"$work/deb822/sources.list.d/debian.sources" <<'END'
Types: deb
URIs: http://disabled.example/debian
Suites: bookworm
Components: main
Enabled: no

# the security archive
Types: deb deb-src
URIs: http://security.example/debian-security
Suites: bookworm-security
Components: main

Types: deb-src deb
URIs: http://ftp.example.net/debian/
Suites: bookworm bookworm-updates
Components: main
END
expect deb822 0 "Types: deb
URIs: http://ftp.example.net/debian/
Suites: bookworm-backports
Components: main"

# A key given inline (continuation lines) is carried over whole; a .list
# file in sources.list.d counts too.
mkdir -p "$work/inline/sources.list.d"
printf 'deb-src http://source.example/debian bookworm main\n' >"$work/inline/sources.list.d/a.list"
cat >"$work/inline/sources.list.d/b.sources" <<'END'
Types: deb
URIs: http://inline.example/debian
Suites: bookworm
Components: main
Signed-By:
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL
 -----END PGP PUBLIC KEY BLOCK-----
END
expect inline 0 "Types: deb
URIs: http://inline.example/debian
Suites: bookworm-backports
Components: main
Signed-By: 
 -----BEGIN PGP PUBLIC KEY BLOCK-----
 .
 mQINBGPL
 -----END PGP PUBLIC KEY BLOCK-----"

# No entry for the release: no address is made up.
mkdir -p "$work/none/sources.list.d"
printf 'deb http://security.example/debian-security bookworm-security main\n' >"$work/none/sources.list"
expect none 1 ""
mkdir -p "$work/empty"
expect empty 1 ""

# Whether the backports suite is there already (install-deps.sh asks with
# the suite itself and heeds only the status): a commented entry is not.
mkdir -p "$work/commented/sources.list.d"
printf '# deb http://mirror.example.org/debian bookworm-backports main\n' >"$work/commented/sources.list"
expect commented 1 "" bookworm-backports
mkdir -p "$work/present/sources.list.d"
printf 'deb http://mirror.example.org/debian bookworm-backports main\n' >"$work/present/sources.list"
expect present 0 "Types: deb
URIs: http://mirror.example.org/debian
Suites: bookworm-backports-backports
Components: main" bookworm-backports

[ "$failed" -eq 0 ]
