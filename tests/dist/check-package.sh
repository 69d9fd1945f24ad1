#!/usr/bin/env bash
# check-package.sh BUILD: makes the Debian package into a temporary folder,
# checks that it holds every file of the installation with the library
# dependencies filled in, and that lintian finds no error in it.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 \
  || { cat "$work/cpack.log" >&2; fail "cpack"; }
debs=("$work"/slabwise_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no single package in $work"
deb=${debs[0]}

contents=$(dpkg-deb --contents "$deb" | awk '{ $1=$2=$3=$4=$5=""; sub(/^ +/, ""); print }')
id=example.kelvane.Slabwise
for f in ./usr/bin/slabwise ./usr/bin/slabwise-analyze ./usr/bin/slabwise-draw ./usr/bin/slabwise-report \
         ./usr/share/slabwise/user-guide.html \
         "./usr/share/slabwise/Example English Units.ksw" "./usr/share/slabwise/Example SI Units.ksw" \
         ./usr/share/applications/$id.desktop ./usr/share/metainfo/$id.metainfo.xml \
         ./usr/share/mime/packages/$id.xml ./usr/share/icons/hicolor/scalable/apps/$id.svg \
         ./usr/share/icons/hicolor/scalable/mimetypes/application-x-slabwise-project.svg \
         ./usr/share/man/man1/slabwise.1.gz ./usr/share/man/man1/slabwise-analyze.1.gz \
         ./usr/share/man/man1/slabwise-draw.1.gz ./usr/share/man/man1/slabwise-report.1.gz \
         ./usr/share/doc/slabwise/copyright ./usr/share/doc/slabwise/changelog.gz; do
  grep -qxF -- "$f" <<<"$contents" || fail "not in the package: $f"
done

depends=$(dpkg-deb --field "$deb" Depends)
for lib in libc6 libqt6widgets6 libqt6svg6 libjpeg62-turbo; do
  grep -q "$lib" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

lintian --fail-on error --tag-display-limit 0 "$deb" || fail "lintian reports errors"
echo "package checks passed"
