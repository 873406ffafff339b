#!/usr/bin/env bash
# The demo of a product kind without a database, on a demo workstation of
# its own (build/win64/demo-prefix-kindN): scripts/demo.sh --kind N hands
# over to this script.
#   demo-kind.sh 4 [--again]   Kalvisto: C:\Kalvisto\Kalvisto.exe at 3.0.1.0,
#                              its base folder recorded; the package holds 3.1.2.7
#   demo-kind.sh 7 [--again]   Margolin: C:\WQuorvex\Margolin\Programs\ with
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
cd "$(dirname "$0")/.."
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

bash scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target "quorvex-update-$name" demo_walker qv_fixtures

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
      "$root/scripts/wine-run.sh" "$prefix" reg add 'HKCU\Software\QUORVEX S.A.\Kalvisto' \
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
      "$root/scripts/wine-run.sh" "$prefix" reg add 'HKCU\Software\QUORVEX S.A.\Telvarin\Program' \
        /v Filename /t REG_SZ /d 'C:\WQuorvex\TVP\Programs\TELVARIN.EXE' /f >/dev/null
      echo "demo: workstation ready: C:\\WQuorvex\\Margolin\\Programs (TVPMargolin.exe at 1.0.3.9, older files)"
    }
    ;;
esac

if [ "$again" != --again ]; then
  "$root/scripts/wine-prefix.sh" "$prefix"
  lay_out
  # Leftover temporary files of an earlier run, if any.
  rm -f "$drive_c"/users/*/Temp/Update*.tmp
  WINEPREFIX=$prefix wineserver -w  # the registry reaches the disk
fi

if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  echo "demo: the wizard opens on $DISPLAY"
  opened_on_display=1
  (cd "$bin" && QV_USE_DISPLAY=1 "$root/scripts/wine-run.sh" "$prefix" "$program") || true
else
  bash scripts/demo-walk.sh "$prefix" "$program" "$shots"
fi
WINEPREFIX=$prefix wineserver -w

# What the update left behind.
problems=0
checked=0
while IFS=$'\t' read -r packaged target; do
  rel=${packaged//\\//}
  installed=$(find "$drive_c" -ipath "$drive_c/$target" 2>/dev/null | head -n 1)
  checked=$((checked + 1))
  if [ -z "$installed" ] || ! cmp -s "$payload/$rel" "$installed" ||
     [ "$(stat -c %.7Y "$payload/$rel")" != "$(stat -c %.7Y "$installed")" ]; then
    echo "demo: not updated: C:\\${target//\//\\}" >&2
    problems=$((problems + 1))
  fi
done < <(installed_files)
result_ok=1
if [ -z "${opened_on_display:-}" ]; then
  last=$(iconv -f CP1252 -t UTF-8 "$shots/report.txt" 2>/dev/null | tr -d '\r' | sed '/^$/d' | tail -n 1 || true)
  echo "demo: result: ${last:-no report}"
  [ "$last" = "La mise à jour est terminée avec succès." ] || result_ok=0
fi
leftovers=$(find "$drive_c/users" -path '*/Temp/Update*.tmp' | wc -l)
echo "demo: files checked: $checked, differing from the package: $problems; Update*.tmp left: $leftovers"
[ "$result_ok" -eq 1 ] && [ "$problems" -eq 0 ] && [ "$leftovers" -eq 0 ]
