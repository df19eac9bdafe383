# Sourced by tests: a SWORD module repository laid out from the KJV module of sword-text-kjv
# (mods.d.tar.gz, mods.d/ and modules/) and served over HTTP on 127.0.0.1 by the test itself.

REPO_MODULE=engKJV2006eb
REPO_SYSTEM=/usr/share/sword

# repo_available: whether the module to serve is installed.
repo_available() {
  [ -f "$REPO_SYSTEM/mods.d/$REPO_MODULE.conf" ] &&
    [ -d "$REPO_SYSTEM/modules/texts/ztext/$REPO_MODULE" ]
}

# repo_make DIR [CONF]: lays the repository out in DIR, with CONF as the module's .conf when given.
repo_make() {
  local dir=$1 conf=${2:-$REPO_SYSTEM/mods.d/$REPO_MODULE.conf}
  mkdir -p "$dir/mods.d" "$dir/modules/texts/ztext"
  cp "$conf" "$dir/mods.d/$REPO_MODULE.conf"
  cp -r "$REPO_SYSTEM/modules/texts/ztext/$REPO_MODULE" "$dir/modules/texts/ztext/"
  (cd "$dir" && tar czf mods.d.tar.gz mods.d)
}

# repo_serve DIR [--break-after N]: serves DIR; sets REPO_URL and REPO_PID (repo_stop ends it).
repo_serve() {
  local dir=$1
  shift
  rm -f "$dir.port"
  python3 "$(dirname "${BASH_SOURCE[0]}")/repository_server.py" "$dir" "$dir.port" "$@" &
  REPO_PID=$!
  for _ in $(seq 100); do
    [ -s "$dir.port" ] && break
    sleep 0.05
  done
  REPO_URL=http://127.0.0.1:$(cat "$dir.port")/
}

repo_stop() {
  [ -n "${REPO_PID:-}" ] && kill "$REPO_PID" 2>/dev/null && wait "$REPO_PID" 2>/dev/null
  REPO_PID=""
}
