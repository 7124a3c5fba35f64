#!/usr/bin/env bash
# Runs setup.exe end to end under Wine and Xvfb in throw-away prefixes:
#   1. English with a FULLDATA help file; the directory chooser's refusals
#      are tried first;
#   2. Chinese (code page 936) in the same prefix afterwards, with a Quick
#      Launch folder named in the registry: the English group must be gone.
#      (This order, since the settings file holds ANSI text: a Chinese group
#      name written under code page 936 names another folder when read back
#      under an English code page.)
#   3. English in a fresh prefix with "Exit when Setup completed." ticked.
# Screenshots land in SHOT_DIR (default BUILD_DIR/screenshots) as PNG.
#   run_end_to_end.sh SETUP_EXE ROBOT_EXE BUILD_DIR [SHOT_DIR]
set -uo pipefail
setup_exe=$1
robot_exe=$2
build=$3
work=$build/e2e
shots=${4:-$build/screenshots}
rm -rf "$work"
mkdir -p "$work" "$shots"

export WINEARCH=win32 WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree,mshtml="

# A pristine prefix, made once per build tree (or copied from the shared
# one), with Wine drawing window captions itself (there is no window manager).
template=$build/wine/e2e-template
if [ ! -f "$template/system.reg" ]; then
  rm -rf "$template"
  mkdir -p "$(dirname "$template")"
  if [ -n "${LUMAVIEW_WINEPREFIX:-}" ] && [ -f "$LUMAVIEW_WINEPREFIX/system.reg" ]; then
    cp -a "$LUMAVIEW_WINEPREFIX" "$template"
  else
    WINEPREFIX=$template wineboot -i >/dev/null 2>&1
    WINEPREFIX=$template wineserver -w
  fi
  printf '\n[Software\\\\Wine\\\\X11 Driver] 1765000000\n"Decorated"="N"\n' >>"$template/user.reg"
fi

# A Chinese UTF-8 locale for code page 936 with Chinese file names.
locales=$build/wine/locales
if [ ! -d "$locales/zh_CN.utf8" ]; then
  mkdir -p "$locales"
  localedef -i zh_CN -f UTF-8 "$locales/zh_CN.utf8" >/dev/null 2>&1 || true
fi

total_passed=0
total_failed=0

# run NAME PREFIX LANGUAGE EXTRAS ROBOT_OPTIONS...
#   EXTRAS: yes (a FULLDATA tree with the help file), tools
#   (TOOLS\SETUPBRW.EXE next to setup) or no
run() {
  local name=$1 prefix=$2 language=$3 extras=$4
  shift 4
  local dist=$prefix/drive_c/dist-$name
  mkdir -p "$dist" "$prefix/drive_c/shots"
  cp "$setup_exe" "$dist/setup.exe"
  if [ "$extras" = tools ]; then
    mkdir -p "$dist/TOOLS"
    printf 'tools' >"$dist/TOOLS/SETUPBRW.EXE"
  fi
  if [ "$extras" = yes ]; then
    mkdir -p "$dist/FULLDATA/Docs"
    printf 'help' >"$dist/FULLDATA/Widelens.CHM"
    printf 'readme' >"$dist/FULLDATA/Docs/README.TXT"
  fi
  cp "$robot_exe" "$prefix/drive_c/robot.exe"
  local environment=()
  if [ "$language" = zh ]; then environment=(LOCPATH="$locales" LC_ALL=zh_CN.UTF-8); fi
  echo "=== $name ($language)"
  env "${environment[@]}" WINEPREFIX="$prefix" xvfb-run -a -s "-screen 0 1024x768x24" \
    wine "C:\\robot.exe" "C:\\dist-$name\\setup.exe" "C:\\shots" "$language" "$@" >"$work/$name.log" 2>&1
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1
  cat "$work/$name.log" | tr -d '\r'
  local summary
  summary=$(tr -d '\r' <"$work/$name.log" | grep -E '^[0-9]+ passed, [0-9]+ failed$' | tail -1)
  if [ -z "$summary" ]; then
    echo "FAILED: the robot of $name reported nothing"
    total_failed=$((total_failed + 1))
  else
    total_passed=$((total_passed + ${summary%% passed*}))
    local f=${summary#*, }
    total_failed=$((total_failed + ${f%% failed}))
  fi
  for bmp in "$prefix"/drive_c/shots/*.bmp; do
    [ -e "$bmp" ] || continue
    bmptopnm "$bmp" 2>/dev/null | pnmtopng >"$shots/$name-$(basename "${bmp%.bmp}").png" 2>/dev/null
    rm -f "$bmp"
  done
}

first=$work/prefix-1
cp -a "$template" "$first"
run english "$first" en yes --help-file --chooser-messages --exit-confirmation
# The help file of the first run is still in the destination.
run chinese-after-english "$first" zh tools --help-file --chooser-messages --exit-confirmation --tools \
  --old-group "Corvane Widelens" \
  --quick-launch "C:\\QuickLaunch"
second=$work/prefix-2
cp -a "$template" "$second"
run english-exit "$second" en no --exit-when-done
rm -rf "$first" "$second"

echo "end to end: $total_passed passed, $total_failed failed"
[ "$total_failed" -eq 0 ]
