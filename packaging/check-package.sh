#!/usr/bin/env bash
# CI's package check: the version agrees everywhere, then the Debian package
# is built (make package) and lintian run on it (any error fails; what it
# still reports is listed with its reason in docs/packaging.md), then the
# desktop entry and the AppStream metainfo are validated exactly as the
# package installs them.
set -euo pipefail
cd "$(dirname "$0")/.."

# One version everywhere: the project, the changelog's newest entry and the
# metainfo's newest release.
id=org.quenvarix.Quenvarix
version=$(sed -n 's/^project(quenvarix VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
changelog=$(sed -n '1s/^quenvarix (\([^)]*\)).*/\1/p' packaging/changelog)
release=$(grep -o -m 1 '<release version="[^"]*"' "packaging/$id.metainfo.xml" | cut -d '"' -f 2)
if [[ -z "$version" || "$changelog" != "$version" || "$release" != "$version" ]]; then
  echo "version mismatch: CMakeLists.txt '$version', packaging/changelog '$changelog'," \
       "metainfo release '$release'" >&2
  exit 1
fi

build=${PKG_BUILD:-build-package}
make --no-print-directory package PKG_BUILD="$build"
deb="$build/quenvarix_${version}_$(dpkg --print-architecture).deb"
echo "== lintian $deb"
lintian --fail-on error --info "$deb"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
dpkg-deb -x "$deb" "$root"
echo "== desktop-file-validate"
desktop-file-validate "$root/usr/share/applications/$id.desktop"
echo "== appstreamcli validate"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/$id.metainfo.xml"
echo "Package $deb checked."
