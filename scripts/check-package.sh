#!/usr/bin/env bash
# Makes the Debian package in build/ (or the build folder given) with `cpack -G DEB`
# and checks it: the files it installs, its control data, lintian without errors, the
# AppStream data, the desktop entry, the manual pages, and --help and --version of
# both programs as the package installs them (no display needed).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
"$root/scripts/bootstrap.sh"

fail() {
    echo "check-package: $*" >&2
    exit 1
}

version=$(sed -n 's/^project(Tolvimar VERSION \([0-9.]*\).*/\1/p' "$root/CMakeLists.txt")
[ -n "$version" ] || fail "no project version in CMakeLists.txt"

cd "$build"
rm -f tolvimar_*.deb
if ! cpack -G DEB >cpack.log 2>&1; then
    cat cpack.log >&2
    fail "cpack -G DEB failed"
fi
deb=$(echo tolvimar_*.deb)
[ -f "$deb" ] || fail "cpack made no tolvimar_*.deb"
echo "Package: $build/$deb"

# What a desktop and a shell look for.
files=$(dpkg-deb -c "$deb" | awk '{print $6}')
for f in usr/bin/tolvimar usr/bin/tolvimar-cli \
    usr/share/applications/tolvimar.desktop \
    usr/share/icons/hicolor/48x48/apps/tolvimar.png \
    usr/share/icons/hicolor/128x128/apps/tolvimar.png \
    usr/share/icons/hicolor/256x256/apps/tolvimar.png \
    usr/share/tolvimar/images/ozean.bmp usr/share/tolvimar/images/wozean.bmp \
    usr/share/metainfo/org.example.tolvimar.metainfo.xml \
    usr/share/man/man1/tolvimar.1.gz usr/share/man/man1/tolvimar-cli.1.gz \
    usr/share/bash-completion/completions/tolvimar \
    usr/share/bash-completion/completions/tolvimar-cli \
    usr/share/doc/tolvimar/copyright usr/share/doc/tolvimar/changelog.Debian.gz; do
    grep -qx "\./$f" <<<"$files" || fail "$deb lacks /$f"
done

# Control data: the version of the project, the libraries found by dpkg-shlibdeps and
# the plugins Qt loads at run time.
[ "$(dpkg-deb -f "$deb" Package)" = tolvimar ] || fail "package name is not tolvimar"
[ "$(dpkg-deb -f "$deb" Version)" = "$version-1" ] || fail "version is not $version-1"
depends=$(dpkg-deb -f "$deb" Depends)
for d in libc6 libqt6core6 libqt6widgets6 libqt6sql6-sqlite qt6-qpa-plugins libcurl4 libqt6keychain1; do
    grep -q "\b$d\b" <<<"$depends" || fail "Depends lacks $d: $depends"
done
# Loaded with dlopen for the alliance sync only: recommended, so that a default install
# brings it.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -q "\blibpq5\b" <<<"$recommends" || fail "Recommends lacks libpq5: $recommends"

lintian --fail-on error "$deb" || fail "lintian found errors"

tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
dpkg-deb -x "$deb" "$tree"
appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml >/dev/null ||
    appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml
grep -q "<release version=\"$version\"" "$tree"/usr/share/metainfo/*.metainfo.xml ||
    fail "the AppStream data names no release $version"
zcat "$tree/usr/share/doc/tolvimar/changelog.Debian.gz" | head -1 | grep -q "^tolvimar ($version-1)" ||
    fail "the changelog's newest entry is not $version-1"
desktop-file-validate "$tree/usr/share/applications/tolvimar.desktop"
for page in tolvimar tolvimar-cli; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$tree/usr/share/man/man1/$page.1.gz" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man $page: $warnings"
done

# The programs as installed, without a display.
run() {
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$@"
}
[ "$(run "$tree/usr/bin/tolvimar" --version)" = "tolvimar $version" ] || fail "tolvimar --version"
[ "$(run "$tree/usr/bin/tolvimar-cli" --version)" = "tolvimar-cli $version" ] || fail "tolvimar-cli --version"
run "$tree/usr/bin/tolvimar" --help | grep -q -- --standard-workspace || fail "tolvimar --help"
run "$tree/usr/bin/tolvimar-cli" --help | grep -q '^  import' || fail "tolvimar-cli --help"
run "$tree/usr/bin/tolvimar-cli" import --help | grep -q -- --slot || fail "tolvimar-cli import --help"
echo "Package checked: $deb"
