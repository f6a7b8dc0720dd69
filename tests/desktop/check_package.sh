#!/usr/bin/env bash
# Builds the Debian package from a configured and built folder, as
# `cpack -G DEB` there does, and checks its name, control fields, file list,
# owners, permissions and stripped programs.
# Usage: check_package.sh BUILD_FOLDER VERSION
set -euo pipefail
build=$1
version=$2
arch=$(dpkg --print-architecture)
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

fail() { echo "$*" >&2; exit 1; }

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1; then
  cat "$out/cpack.log" >&2
  fail "cpack could not build the package"
fi
deb="$out/tallymere_${version}_${arch}.deb"
[[ -f "$deb" ]] || fail "no $deb; cpack made: $(ls "$out")"

field() { dpkg-deb -f "$deb" "$1"; }
[[ $(field Package) == tallymere ]] || fail "Package: $(field Package)"
[[ $(field Version) == "$version" ]] || fail "Version: $(field Version)"
[[ $(field Architecture) == "$arch" ]] || fail "Architecture: $(field Architecture)"
[[ $(field Section) == utils ]] || fail "Section: $(field Section)"
[[ $(field Maintainer) == *"<"*"@"*">" ]] || fail "Maintainer: $(field Maintainer)"
depends=$(field Depends)
# The libraries come from dpkg-shlibdeps, the tools from the package's own list.
for needed in libc6 libstdc++6 libqt6core6 libqt6widgets6 libqt6dbus6 xdg-utils shared-mime-info; do
  [[ ", $depends," == *", $needed"[\ ,]* ]] || fail "Depends lacks $needed: $depends"
done
[[ $(field Description) == *$'\n'* ]] || fail "Description has no long text"
[[ $(field Recommends) == desktop-file-utils ]] || fail "Recommends: $(field Recommends)"

expected=(
  ./usr/bin/tallymere
  ./usr/bin/tallymere-cli
  ./usr/share/applications/org.tallymere.Tallymere.desktop
  ./usr/share/doc/tallymere/changelog.gz
  ./usr/share/doc/tallymere/copyright
  ./usr/share/icons/hicolor/128x128/apps/tallymere.png
  ./usr/share/icons/hicolor/48x48/apps/tallymere.png
  ./usr/share/icons/hicolor/scalable/apps/tallymere.svg
  ./usr/share/man/man1/tallymere-cli.1.gz
  ./usr/share/man/man1/tallymere.1.gz
  ./usr/share/metainfo/org.tallymere.Tallymere.metainfo.xml
  ./usr/share/mime/packages/tallymere.xml
  ./usr/share/tallymere/TMRHelp.html
  ./usr/share/tallymere/manual/find-in-catalogs.png
  ./usr/share/tallymere/manual/main-window.png
  ./usr/share/tallymere/manual/mp3-utilities.png
  ./usr/share/tallymere/manual/options.png
  ./usr/share/tallymere/manual/rescan-disk.png
)
listing=$(dpkg-deb -c "$deb")
files=$(awk '$1 !~ /^d/ { print $6 }' <<<"$listing" | LC_ALL=C sort)
wanted=$(printf '%s\n' "${expected[@]}" | LC_ALL=C sort)
[[ "$files" == "$wanted" ]] || fail "files differ from the expected list:
$(diff <(echo "$wanted") <(echo "$files"))"

# Everything belongs to root; folders are 755, files 644, programs 755.
while read -r mode owner _ _ _ path _; do
  [[ $owner == root/root ]] || fail "$path belongs to $owner"
  case "$mode" in
    d*) [[ $mode == drwxr-xr-x ]] || fail "$path is $mode" ;;
    *) if [[ $path == ./usr/bin/* ]]; then want=-rwxr-xr-x; else want=-rw-r--r--; fi
       [[ $mode == "$want" ]] || fail "$path is $mode, not $want" ;;
  esac
done <<<"$listing"

dpkg-deb -x "$deb" "$out/root"
for program in tallymere tallymere-cli; do
  if readelf -S "$out/root/usr/bin/$program" | grep -q '\.symtab'; then
    fail "$program is not stripped"
  fi
done
gzip -t "$out/root/usr/share/man/man1/tallymere.1.gz" "$out/root/usr/share/doc/tallymere/changelog.gz"
echo "$deb: $(wc -l <<<"$files") files, Depends: $depends"
