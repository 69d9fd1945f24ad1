#!/usr/bin/env bash
# check-install.sh BUILD SOURCE: installs the build into a temporary prefix and
# checks what a desktop sees there: the launcher, the AppStream data, the
# manual pages, the .ksw file type (by name and by content) and that the
# installed programs find the installed example projects.
set -euo pipefail
build=$1
source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$work/usr" >/dev/null
share=$work/usr/share
id=example.kelvane.Slabwise

for f in bin/slabwise bin/slabwise-analyze bin/slabwise-draw bin/slabwise-report \
         share/slabwise/user-guide.html \
         "share/slabwise/Example English Units.ksw" "share/slabwise/Example SI Units.ksw" \
         share/applications/$id.desktop share/metainfo/$id.metainfo.xml share/mime/packages/$id.xml \
         share/icons/hicolor/scalable/apps/$id.svg \
         share/icons/hicolor/scalable/mimetypes/application-x-slabwise-project.svg \
         share/man/man1/slabwise.1.gz share/man/man1/slabwise-analyze.1.gz share/man/man1/slabwise-draw.1.gz \
         share/man/man1/slabwise-report.1.gz; do
  [ -f "$work/usr/$f" ] || fail "not installed: $f"
done

desktop-file-validate "$share/applications/$id.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$share/metainfo/$id.metainfo.xml" || fail "appstreamcli validate"

for page in slabwise slabwise-analyze slabwise-draw slabwise-report; do
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$share/man/man1/$page.1.gz" 2>&1 >/dev/null) \
    || fail "man $page"
  [ -z "$warnings" ] || fail "man $page: $warnings"
done

# The file type, in a data folder of its own, asked as a desktop without a
# session of its own would ask.
update-mime-database "$share/mime"
export XDG_DATA_HOME=$work/data-home XDG_DATA_DIRS=$share
unset XDG_CURRENT_DESKTOP DESKTOP_SESSION KDE_FULL_SESSION GNOME_DESKTOP_SESSION_ID
cp "$source/data/Example SI Units.ksw" "$work/beam.ksw"
cp "$source/data/Example SI Units.ksw" "$work/beam-renamed"
printf 'not a project at all, just some text\n' > "$work/notes.ksw.txt"
for file in beam.ksw beam-renamed; do
  type=$(xdg-mime query filetype "$work/$file")
  [ "$type" = application/x-slabwise-project ] || fail "xdg-mime query filetype $file: $type"
done
type=$(xdg-mime query filetype "$work/notes.ksw.txt")
[ "$type" != application/x-slabwise-project ] || fail "a text file taken for a project"

# Installed programs with no example beside them read the installed ones.
diff <("$work/usr/bin/slabwise-analyze" --csv) <("$build/tools/slabwise-analyze" --csv) \
  || fail "installed slabwise-analyze does not read the installed English example"
version=$("$work/usr/bin/slabwise" --version)
[ "$version" = "slabwise 1.0.0" ] || fail "slabwise --version: $version"
echo "install checks passed"
