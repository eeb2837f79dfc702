#!/usr/bin/env bash
# Builds the Debian package of a build folder, unpacks it into a scratch root (nothing is installed on the
# machine) and runs what it installed: pylon-db makes and checks a file, and pylon, started through its link
# in bin/ from another folder, opens the VelD of its own private folder.
# Usage: scripts/check_package.sh BUILD_DIR
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:?usage: $0 BUILD_DIR}" && pwd)
scratch=$(mktemp -d)
app=
cleanup() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "check_package: $*" >&2
  exit 1
}
command -v desktop-file-validate >/dev/null || fail "desktop-file-validate is missing (Debian package desktop-file-utils)"

# The package goes to the scratch folder, so that the build folder gathers no old packages.
cpack --config "$build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" 2>&1 ||
  { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$scratch"/out/pylon-beta_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "cpack made no single pylon-beta .deb"
deb=${debs[0]}

# Depends: the libraries the binaries link, and the platform plugin Qt loads at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for p in libqt6core6 libqt6gui6 libqt6widgets6 libsqlite3-0 libstdc++6 qt6-qpa-plugins; do
  [[ ", $depends," == *", $p "* || ", $depends," == *", $p,"* ]] || fail "Depends lacks $p: $depends"
done

root=$scratch/root
dpkg -x "$deb" "$root"
private=$root/usr/lib/pylon-beta
for f in usr/bin/pylon-db usr/lib/pylon-beta/pylon; do
  [ -x "$root/$f" ] && [ ! -L "$root/$f" ] || fail "$f is not an installed program"
done
for doc in Fact.doc License.doc Manuel.doc; do
  cmp -s "$src/docs/$doc" "$private/$doc" || fail "$doc is not installed beside the program"
done
[ "$(readlink "$root/usr/bin/pylon")" = ../lib/pylon-beta/pylon ] || fail "usr/bin/pylon is not a link to the program"
for f in usr/bin/pylon-db usr/lib/pylon-beta/pylon; do
  # A path into the build folder would make the installed program depend on it.
  if readelf -d "$root/$f" | grep -Eq 'RPATH|RUNPATH'; then fail "$f carries a library path"; fi
done

desktop=$root/usr/share/applications/pylon-beta.desktop
desktop-file-validate "$desktop" || fail "the .desktop file is not valid"
entry() { sed -n "s/^$1=//p" "$desktop"; }
[ "$(entry Name)" = "Pylon Beta" ] || fail "the .desktop Name is not Pylon Beta"
[ "$(entry Comment)" = "Gestionnaire de la facture" ] || fail "the .desktop Comment is not the French one"
[ "$(entry Categories)" = "Office;Finance;" ] || fail "the .desktop Categories are not Office;Finance;"
[ -x "$root/usr/bin/$(entry Exec)" ] || fail "the .desktop Exec names no installed program"
[ -s "$root/usr/share/icons/hicolor/scalable/apps/$(entry Icon).svg" ] || fail "the .desktop Icon is not installed"

"$root/usr/bin/pylon-db" init "$scratch/VelD" || fail "the installed pylon-db cannot make a database"
"$root/usr/bin/pylon-db" check "$scratch/VelD" || fail "the installed pylon-db finds fault with a new database"

# The program, started from elsewhere through its link, must open the VelD beside the real program.
"$root/usr/bin/pylon-db" demo "$private/VelD" --documents 20 >/dev/null
mkdir "$scratch/elsewhere"
(cd "$scratch/elsewhere" && QT_QPA_PLATFORM=offscreen exec "$root/usr/bin/pylon" >"$scratch/pylon.log" 2>&1) &
app=$!
opened=
for _ in $(seq 300); do
  kill -0 "$app" 2>/dev/null || { cat "$scratch/pylon.log" >&2; fail "the installed program ended at start"; }
  for fd in /proc/"$app"/fd/*; do
    [ "$(readlink "$fd" 2>/dev/null)" = "$private/VelD" ] && opened=yes && break 2
  done
  sleep 0.1
done
[ -n "$opened" ] || { cat "$scratch/pylon.log" >&2; fail "the installed program did not open $private/VelD"; }
kill "$app"
wait "$app" 2>/dev/null || true
app=
"$root/usr/bin/pylon-db" check "$private/VelD" || fail "the database is damaged after the installed program ran"
echo "check_package: $(basename "$deb") installs, and its programs run from the scratch root"
