#!/usr/bin/env bash
# The demo of a product kind without a database, on a demo workstation of
# its own (build/win64/demo-prefix-kindN): scripts/demo.sh --kind N hands
# over to this script.
#   kind.sh 4 [--again]   Kalvisto: C:\Kalvisto\Kalvisto.exe at 3.0.1.0,
#                              its base folder recorded; the package holds 3.1.2.7
#   kind.sh 7 [--again]   Margolin: C:\WQuorvex\Margolin\Programs\ with
#                              TVPMargolin.exe at 1.0.3.9 and older files, the
#                              main product recorded in C:\WQuorvex\TVP\Programs\;
#                              the package holds 1.0.4.0, its files and a print list
# The package is the one the build makes for the tests
# (build/win64/tests/win/kind-packages/<name>, program
# quorvex-update-<name>.exe). --again updates the same workstation once more
# without resetting it (the wizard then asks the "à jour" question).
# With a display the wizard opens there; without one it runs under Xvfb,
# walked as a person would (Suivant, Démarrer, Yes to any question), and
# the report is printed here. Exit 0 only when every installed file equals
# its packaged bytes and time stamp, no Update*.tmp is left and (walked)
# the report ends with the success line.
set -euo pipefail
cd "$(dirname "$0")/../.."
root=$PWD

kind=${1:-}
case "$kind" in
  4) name=kalvisto ;;
  7) name=margolin ;;
  *) echo "usage: demo.sh --kind 4|7 [--again]   (4 Kalvisto, 7 Margolin)" >&2; exit 2 ;;
esac
again=${2:-}
if [ -n "$again" ] && [ "$again" != --again ]; then
  echo "demo: unknown option $again (only --again may follow the kind)" >&2
  exit 2
fi

bash scripts/env/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target "quorvex-update-$name" demo_walker demo_workstation qv_fixtures

bin=$root/build/win64/bin
prefix=$root/build/win64/demo-prefix-kind$kind
payload=$root/build/win64/tests/win/kind-packages/$name
shots=$root/build/win64/demo-screenshots-kind$kind
program=quorvex-update-$name.exe
export WINEPREFIX=$prefix
drive_c=$prefix/drive_c

# Where each packaged file is installed, as "packaged-name<TAB>installed path
# under drive_c"; the workstation is laid out older than the package.
case "$kind" in
  4)
    installed_files() { printf 'Kalvisto.exe\tKalvisto/Kalvisto.exe\n'; }
    lay_out() {
      rm -rf "$drive_c/Kalvisto"
      mkdir -p "$drive_c/Kalvisto"
      cp "$bin/fixtures/kalvisto3.dll" "$drive_c/Kalvisto/Kalvisto.exe"
      touch -d '2019-03-01 08:00:00 UTC' "$drive_c/Kalvisto/Kalvisto.exe"
      "$root/scripts/env/wine-run.sh" "$prefix" reg add 'HKCU\Software\QUORVEX S.A.\Kalvisto' \
        /v BaseFolder /t REG_SZ /d 'C:\Kalvisto' /f >/dev/null
      echo "demo: workstation ready: C:\\Kalvisto\\Kalvisto.exe at 3.0.1.0, base folder recorded"
    }
    ;;
  7)
    installed_files() {
      local line
      { cat "$payload/FileNames.txt" "$payload/PrintLists.txt"; printf 'TVPMargolin.exe\n'; } |
        while IFS= read -r line; do
          line=${line%$'\r'}
          [ -n "$line" ] && printf '%s\tWQuorvex/Margolin/Programs/%s\n' "$line" "${line//\\//}"
        done
    }
    lay_out() {
      local programs=$drive_c/WQuorvex/Margolin/Programs
      rm -rf "$drive_c/WQuorvex"
      mkdir -p "$programs/Aide" "$drive_c/WQuorvex/TVP/Programs"
      cp "$bin/fixtures/v1039.dll" "$programs/TVPMargolin.exe"
      printf '[Margolin]\r\nVersion=1.0.3.9\r\n' >"$programs/Margolin.ini"
      printf 'Aide de Margolin, ancienne version.\r\n' >"$programs/Aide/margolin.txt"
      touch -d '2019-03-01 08:00:00 UTC' "$programs/TVPMargolin.exe" "$programs/Margolin.ini" \
        "$programs/Aide/margolin.txt"
      "$root/scripts/env/wine-run.sh" "$prefix" reg add 'HKCU\Software\QUORVEX S.A.\Telvarin\Program' \
        /v Filename /t REG_SZ /d 'C:\WQuorvex\TVP\Programs\TELVARIN.EXE' /f >/dev/null
      echo "demo: workstation ready: C:\\WQuorvex\\Margolin\\Programs (TVPMargolin.exe at 1.0.3.9, older files)"
    }
    ;;
esac

if [ "$again" != --again ]; then
  "$root/scripts/env/wine-prefix.sh" "$prefix"
  lay_out
  # Leftover temporary files of an earlier run, if any.
  rm -f "$drive_c"/users/*/Temp/Update*.tmp
  WINEPREFIX=$prefix wineserver -w  # the registry reaches the disk
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "demo: the wizard opens on $DISPLAY"
  opened_on_display=1
  (cd "$bin" && QV_USE_DISPLAY=1 "$root/scripts/env/wine-run.sh" "$prefix" "$program") || true
else
  bash scripts/demo/walk.sh "$prefix" "$program" "$shots" || walk_ok=0
fi
WINEPREFIX=$prefix wineserver -w

# What the update left behind (the check every demo shares), and, walked,
# the report's result line.
listing=$(mktemp)
trap 'rm -f "$listing"' EXIT
installed_files | while IFS=$'\t' read -r packaged target; do
  printf '%s\tC:\\%s\n' "$packaged" "${target//\//\\}"
done >"$listing"
bash scripts/demo/workstation.sh check "$prefix" "$payload" "$listing" || problems=1
[ "${walk_ok:-1}" -eq 1 ] && [ "${problems:-0}" -eq 0 ]
