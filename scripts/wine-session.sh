# Sourced by the scripts that run the Windows program under wine: a headless X server and a
# wine prefix of their own, with the settings the program needs (Windows 10, Japanese fonts,
# no window manager delays, no crash dialog). Every call is bounded; nothing reads wine's
# output through a pipe (wine's side processes would keep it open).
#
#   wine_session_start ROOT [--visible]   # ROOT holds home/, prefix/, logs
#   wine_run TIMEOUT_S LOG program.exe args...
#   wine_session_stop
# --visible uses the caller's DISPLAY instead of a virtual screen.

wine_session_start() {
  local root=$1 visible=${2:-}
  WINE_SESSION_ROOT=$root
  mkdir -p "$root/home" "$root/logs"
  export HOME=$root/home
  export WINEPREFIX=$root/prefix
  export WINEARCH=win64
  export WINEDEBUG=-all
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
  export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8
  unset WAYLAND_DISPLAY
  XVFB_PID=""
  if [ "$visible" != "--visible" ] || [ -z "${DISPLAY:-}" ]; then
    : >"$root/display"
    Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$root/display" \
      </dev/null >"$root/logs/xvfb.log" 2>&1 &
    XVFB_PID=$!
    local i
    for i in $(seq 1 100); do
      [ -s "$root/display" ] && break
      sleep 0.1
    done
    if [ ! -s "$root/display" ]; then
      echo "wine-session: the X server did not start" >&2
      return 1
    fi
    export DISPLAY=":$(tr -d '[:space:]' <"$root/display")"
  fi
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    timeout 180 wineboot -i </dev/null >"$root/logs/wineboot.log" 2>&1 || {
      echo "wine-session: wineboot failed (see $root/logs/wineboot.log)" >&2
      return 1
    }
    # A new prefix goes on setting itself up after wineboot returns, and programs started
    # meanwhile are slow: wait until every process of the set-up has ended and the server is
    # gone, then start afresh.
    timeout 180 wineserver -w </dev/null >/dev/null 2>&1 || true
  fi
  # The server stays up between the runs of the session.
  timeout 30 wineserver -p </dev/null >/dev/null 2>&1 || true
  wine_settings "$root/settings.reg"
  timeout 60 wine regedit /S "$(winepath_of "$root/settings.reg")" </dev/null \
    >"$root/logs/regedit.log" 2>&1 || {
    echo "wine-session: the registry settings were not imported" >&2
    return 1
  }
}

# The settings as a registry file in UTF-16LE, the form regedit reads with every character.
wine_settings() {
  local out=$1
  printf '\xff\xfe' >"$out"
  sed 's/$/\r/' <<'REG' | iconv -f UTF-8 -t UTF-16LE >>"$out"
Windows Registry Editor Version 5.00

[HKEY_CURRENT_USER\Software\Wine]
"Version"="win10"

[HKEY_CURRENT_USER\Software\Wine\X11 Driver]
"Managed"="N"

[HKEY_CURRENT_CONFIG\Software\Fonts]
"LogPixels"=dword:00000060

[HKEY_CURRENT_USER\Control Panel\Desktop]
"LogPixels"=dword:00000060

[HKEY_CURRENT_USER\Software\Wine\WineDbg]
"ShowCrashDialog"=dword:00000000

[HKEY_CURRENT_USER\Software\Wine\Fonts\Replacements]
"ＭＳ Ｐゴシック"="IPAPGothic"
"ＭＳ ゴシック"="IPAGothic"
"ＭＳ Ｐ明朝"="IPAPMincho"
"ＭＳ 明朝"="IPAMincho"
"MS PGothic"="IPAPGothic"
"MS Gothic"="IPAGothic"
"MS PMincho"="IPAPMincho"
"MS Mincho"="IPAMincho"
"MS UI Gothic"="IPAPGothic"
"メイリオ"="IPAPGothic"
"Meiryo"="IPAPGothic"
"Meiryo UI"="IPAPGothic"
"Yu Gothic UI"="IPAPGothic"

REG
}

# A Unix path as the Windows program sees it (drive Z: maps the Unix root).
winepath_of() {
  local p
  p=$(readlink -f "$1")
  printf 'Z:%s' "${p//\//\\}"
}

# Runs a Windows program with a time bound; its output goes to LOG.
wine_run() {
  local seconds=$1 log=$2
  shift 2
  timeout "$seconds" wine "$@" </dev/null >"$log" 2>&1
}

wine_session_stop() {
  timeout 30 wineserver -k </dev/null >/dev/null 2>&1 || true
  if [ -n "${XVFB_PID:-}" ]; then
    kill "$XVFB_PID" 2>/dev/null || true
    wait "$XVFB_PID" 2>/dev/null || true
    XVFB_PID=""
  fi
}
