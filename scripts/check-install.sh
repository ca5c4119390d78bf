#!/usr/bin/env bash
# Installs a build into a temporary prefix and checks what arrives there: the files, the
# desktop entry and the AppStream metainfo by their validators, the MIME types by building
# a MIME database from them, the icons' sizes, the man page, and the installed ot-table.
# Usage: check-install.sh BUILD_DIR SOURCE_DIR PROJECT_VERSION WITH_EDITOR WITH_PNGS
# Exit status: 0 all checks passed, 1 a check failed, 77 passed but a validator is missing.
set -uo pipefail

build=$1 source=$2 version=$3 with_editor=$4 with_pngs=$5
id=io.orveltarn.ClientTools
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
failed=0 skipped=0

fail() { echo "FAIL: $*"; failed=1; }
note() { echo "note: $*"; }
have() { command -v "$1" >/dev/null 2>&1; }

if ! cmake --install "$build" --prefix "$prefix" >"$work/install.log" 2>&1; then
  cat "$work/install.log"
  echo "FAIL: cmake --install"; exit 1
fi

expect() { [ -f "$prefix/$1" ] || fail "not installed: $1"; }
expect bin/ot-table
expect share/man/man1/ot-table.1.gz

# The installed ot-table runs and shows the project's version (V0.66.01.18 is 0.66.1.18).
shown=$("$prefix/bin/ot-table" --version 2>&1) || fail "installed ot-table --version: $shown"
numbers() { tr -c '0-9\n' ' ' <<<"$1" | awk '{ s = ""; for (i = 1; i <= NF; i++) s = s (i > 1 ? "." : "") ($i + 0); print s }'; }
[ "$(numbers "${shown##* }")" = "$version" ] ||
  fail "ot-table --version shows '$shown', the project's version is $version"

zcat "$prefix/share/man/man1/ot-table.1.gz" | head -n 1 | grep -qF "Client Tools $version\"" ||
  fail "the man page names another version than $version"
if have man; then
  warnings=$(MANWIDTH=80 man --warnings -l "$prefix/share/man/man1/ot-table.1.gz" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man page: $warnings"
fi

if [ "$with_editor" = 1 ]; then
  root=$prefix
  desktop=share/applications/$id.desktop
  metainfo=share/metainfo/$id.metainfo.xml
  expect bin/ot-editor
  expect "$desktop"
  expect "$metainfo"
  expect share/mime/packages/$id.xml
  expect share/icons/hicolor/scalable/apps/$id.svg
  if [ "$with_pngs" = 1 ]; then
    for size in 16 32 48 64 128 256; do
      png=share/icons/hicolor/${size}x${size}/apps/$id.png
      expect "$png"
      if have file && [ -f "$prefix/$png" ]; then
        file "$prefix/$png" | grep -q "PNG image data, $size x $size" ||
          fail "$png: $(file -b "$prefix/$png")"
      fi
    done
  fi
else
  # Without the window nothing desktop-related is installed; the sources are checked.
  [ ! -e "$prefix/share/applications" ] || fail "a desktop entry without ot-editor"
  root=$source
  desktop=resources/$id.desktop
  metainfo=resources/$id.metainfo.xml
fi

if have desktop-file-validate; then
  out=$(desktop-file-validate "$root/$desktop" 2>&1) || fail "desktop-file-validate: $out"
  [ -z "$out" ] || echo "$out"
else
  note "desktop-file-validate (desktop-file-utils) is not installed"; skipped=1
fi
if have appstreamcli; then
  out=$(appstreamcli validate --no-net "$root/$metainfo" 2>&1) || fail "appstreamcli: $out"
else
  note "appstreamcli (appstream) is not installed"; skipped=1
fi

# The metainfo names the project's version as its newest release.
release=$(grep -o '<release version="[^"]*"' "$root/$metainfo" | head -n 1 | cut -d'"' -f2)
[ "$release" = "$version" ] || fail "newest release in the metainfo is '$release', not $version"

# The desktop entry offers exactly our MIME types, and the database built from our file
# knows them by their globs.
types=$(sed -n 's/^MimeType=//p' "$root/$desktop")
[ "$types" = "application/x-orvel-tarn-table;application/x-orvel-tarn-messages;" ] ||
  fail "MimeType=$types"
if [ "$with_editor" = 1 ] && have update-mime-database; then
  out=$(XDG_DATA_DIRS=$prefix/share update-mime-database "$prefix/share/mime" 2>&1) || fail "update-mime-database: $out"
  [ -z "$out" ] || fail "update-mime-database: $out"
  for pair in 'application/x-orvel-tarn-table:*.bmd' 'application/x-orvel-tarn-messages:*.wtf'; do
    grep -qxF "50:${pair}:cs" "$prefix/share/mime/globs2" || fail "no glob ${pair#*:} for ${pair%%:*}"
  done
fi

[ $failed = 0 ] || exit 1
[ $skipped = 0 ] || exit 77
echo "install into a temporary prefix: all checks passed"
