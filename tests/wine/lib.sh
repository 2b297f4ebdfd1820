# shellcheck shell=bash
# Shared by the Wine end-to-end tests; source it, then call qln_begin.
#
# Every test gets its own temp folder, its own copy of the template prefix
# (made once by scripts/wine-prefix.sh) and its own Xvfb display. The exit
# trap stops only what this test started: its Xvfb by PID, its background
# programs by PID, and the wineserver of its own prefix.

QLN_TEMPLATE=${QUILLON_WINE_TEMPLATE:-/var/tmp/quillon-wine-template}
QLN_TMP=
QLN_XVFB_PID=
QLN_PIDS=()
QLN_FAILURES=0

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Non-ASCII arguments reach a Windows program intact only under a UTF-8 locale.
export LC_ALL=C.UTF-8

# Starts a private Xvfb and points DISPLAY at it. -r turns X auto-repeat off,
# so a held key arrives as one key-down.
qln_start_xvfb() {
  local file=$1 i
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -r -nolisten tcp 3>"$file" 2>/dev/null &
  QLN_XVFB_PID=$!
  for ((i = 0; i < 200; i++)); do
    if [[ -s $file ]] && [[ $(<"$file") =~ ^[0-9]+$ ]]; then
      DISPLAY=":$(<"$file")"
      export DISPLAY
      return 0
    fi
    kill -0 "$QLN_XVFB_PID" 2>/dev/null || break
    sleep 0.05
  done
  echo "Xvfb did not start" >&2
  return 1
}

qln_stop_xvfb() {
  if [[ -n $QLN_XVFB_PID ]]; then
    kill "$QLN_XVFB_PID" 2>/dev/null || true
    wait "$QLN_XVFB_PID" 2>/dev/null || true
    QLN_XVFB_PID=
  fi
}

# Copies a prefix. system32 is hard-linked (no test writes there), which makes
# the copy take well under a second; everything else is a real copy.
qln_clone_prefix() {
  local from=$1 to=$2 windows=drive_c/windows
  mkdir -p "$to"
  tar -C "$from" --exclude="./$windows/system32" --exclude="./$windows/syswow64" -cf - . |
    tar -C "$to" -xf -
  local dir
  for dir in system32 syswow64; do
    if [[ -d $from/$windows/$dir ]]; then cp -al "$from/$windows/$dir" "$to/$windows/"; fi
  done
}

qln_cleanup() {
  local status=$?
  local pid
  for pid in "${QLN_PIDS[@]}"; do kill "$pid" 2>/dev/null || true; done
  if [[ -n ${WINEPREFIX:-} && -d $WINEPREFIX ]]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
  fi
  for pid in "${QLN_PIDS[@]}"; do wait "$pid" 2>/dev/null || true; done
  qln_stop_xvfb
  if [[ -n $QLN_TMP ]]; then
    if [[ -n ${QUILLON_KEEP_WINE_TMP:-} ]]; then
      echo "kept $QLN_TMP" >&2
    else
      rm -rf "$QLN_TMP"
    fi
  fi
  exit "$status"
}

# qln_begin WINDOWS_BUILD_DIR: sets up the test's temp folder, prefix and display.
qln_begin() {
  QLN_BUILD=$1
  local exe
  for exe in "$QLN_BUILD/src/main/quillon.exe" "$QLN_BUILD/tests/wine/winhelper.exe"; do
    if [[ ! -f $exe ]]; then
      echo "missing $exe: build the windows preset first" >&2
      exit 1
    fi
  done
  if [[ ! -f $QLN_TEMPLATE/.quillon-template ]]; then
    echo "no template prefix at $QLN_TEMPLATE: run scripts/wine-prefix.sh" >&2
    exit 1
  fi
  QLN_TMP=$(mktemp -d "${TMPDIR:-/tmp}/quillon-wine.XXXXXX")
  trap qln_cleanup EXIT
  trap 'exit 130' INT TERM
  qln_clone_prefix "$QLN_TEMPLATE" "$QLN_TMP/prefix"
  export WINEPREFIX=$QLN_TMP/prefix
  qln_start_xvfb "$QLN_TMP/display"
}

# Prints the Windows form of a Unix path (Wine maps / to drive Z:).
qln_winpath() {
  local path
  path=$(realpath -m "$1")
  printf 'Z:%s\n' "${path//\//\\}"
}

# qln_folder NAME: a fresh folder holding a copy of quillon.exe, as a user
# would unpack it; prints its path. The profile layers.ini lives beside it.
qln_folder() {
  local dir=$QLN_TMP/$1
  mkdir -p "$dir"
  cp "$QLN_BUILD/src/main/quillon.exe" "$dir/"
  printf '%s\n' "$dir"
}

# qln_run SECONDS PROGRAM [ARGS...]: runs a Windows program in the test's
# prefix. Sets QLN_CODE (124 when it had to be killed) and QLN_OUT, QLN_ERR
# to files with what it printed.
qln_run() {
  local seconds=$1
  shift
  QLN_OUT=$QLN_TMP/stdout QLN_ERR=$QLN_TMP/stderr
  QLN_CODE=0
  timeout -k 5 "$seconds" wine "$@" >"$QLN_OUT" 2>"$QLN_ERR" </dev/null || QLN_CODE=$?
}

# qln_output SECONDS PROGRAM [ARGS...]: prints what a Windows program printed,
# without CR, and returns its exit code. Through a file, not a pipe: a
# wineserver or desktop this call starts inherits its output and would hold a
# pipe open for its whole life.
qln_output() {
  local seconds=$1 out code=0
  shift
  out=$(mktemp "$QLN_TMP/output.XXXXXX")
  timeout -k 5 "$seconds" wine "$@" >"$out" 2>&1 </dev/null || code=$?
  tr -d '\r' <"$out"
  rm -f "$out"
  return "$code"
}

# qln_start PROGRAM [ARGS...]: starts a Windows program in the background;
# sets QLN_PID. The cleanup stops it if the test does not.
qln_start() {
  wine "$@" </dev/null >>"$QLN_TMP/background.log" 2>&1 &
  QLN_PID=$!
  QLN_PIDS+=("$QLN_PID")
}

# qln_helper ARGS...: runs winhelper.exe (see winhelper.cpp for its commands);
# its output is in QLN_OUT, its exit code in QLN_CODE.
qln_helper() {
  qln_run 60 "$QLN_BUILD/tests/wine/winhelper.exe" "$@"
}

# qln_hold_file PATH: keeps PATH open without sharing until qln_release_file,
# so that nothing else can read or replace it (as a file locked on Windows).
qln_hold_file() {
  QLN_HOLD_RELEASE=$QLN_TMP/release.$RANDOM
  local log=$QLN_TMP/hold.log i
  : >"$log"
  wine "$QLN_BUILD/tests/wine/winhelper.exe" hold-file "$(qln_winpath "$1")" \
    "$(qln_winpath "$QLN_HOLD_RELEASE")" 600000 </dev/null >"$log" 2>&1 &
  QLN_HOLD_PID=$!
  QLN_PIDS+=("$QLN_HOLD_PID")
  for ((i = 0; i < 600; i++)); do
    grep -q '^held' "$log" && return 0
    kill -0 "$QLN_HOLD_PID" 2>/dev/null || break
    sleep 0.05
  done
  echo "could not hold $1: $(<"$log")" >&2
  return 1
}

qln_release_file() {
  touch "$QLN_HOLD_RELEASE"
  wait "$QLN_HOLD_PID" 2>/dev/null || true
}

# The built-in default profile, line by line, as the program writes it.
# shellcheck disable=SC2034  # for the scripts that source this file
QLN_DEFAULT_PROFILE=(
  "[Program]" "Startup=1" "Language=ru" "Exclude=quakelive_steam.exe" ""
  "[Space]" "H=PageUp" "I=Up" "J=Left" "K=Down" "L=Right" "M=Delete" "N=PageDown" "O=End"
  "P=Backspace" "U=Home" "Y=Insert" ""
  "[CapsLock]" "M=1" "0xBC=2" "0xBE=3" "J=4" "K=5" "L=6" "U=7" "I=8" "O=9" "Space=0"
)

# qln_keys ACTION:KEY...: xdotool key-downs (d:) and key-ups (u:) in order.
qln_keys() {
  local step
  for step in "$@"; do
    case $step in
      d:*) xdotool keydown "${step#d:}" ;;
      u:*) xdotool keyup "${step#u:}" ;;
    esac
    sleep 0.05
  done
}

qln_focus_probe() {
  qln_helper focus Quillon.Probe || { qln_fail "probe.exe cannot take the focus"; qln_end; }
}

# qln_logged LOG: QLN_LOGGED := what probe.exe logged to LOG since the last
# call, up to a final Escape tap. Escape passes untouched, so once it is
# logged everything typed before it has arrived.
QLN_SEEN=0
qln_logged() {
  local log=$1 i lines=()
  sleep 0.3
  qln_keys d:Escape u:Escape
  for ((i = 0; i < 200; i++)); do
    mapfile -t lines < <(tail -n +$((QLN_SEEN + 1)) "$log" 2>/dev/null | tr -d '\r')
    [[ " ${lines[*]} " == *" u:0x1B "* ]] && break
    sleep 0.05
  done
  QLN_SEEN=$((QLN_SEEN + ${#lines[@]}))
  local line typed=()
  for line in "${lines[@]}"; do
    [[ $line == d:0x1B ]] && break
    typed+=("$line")
  done
  # shellcheck disable=SC2034  # read by the caller
  QLN_LOGGED="${typed[*]}"
}

# Checks report and count failures, so one run shows every broken case.
qln_fail() {
  echo "FAIL: $*" >&2
  QLN_FAILURES=$((QLN_FAILURES + 1))
}

qln_expect_code() {
  local expected=$1 what=$2
  if [[ $QLN_CODE != "$expected" ]]; then
    local why="exit code $QLN_CODE"
    [[ $QLN_CODE == 124 ]] && why="still running after the time-out (a window or message box?)"
    qln_fail "$what: expected exit code $expected, got $why"
    return 1
  fi
  echo "ok: $what" >&2
}

# qln_expect_same WHAT ACTUAL EXPECTED: a check of a text, shown whole when it fails.
qln_expect_same() {
  local what=$1 actual=$2 expected=$3
  if [[ $actual == "$expected" ]]; then
    echo "ok: $what" >&2
  else
    qln_fail "$what:"$'\n'"got"$'\n'"$actual"$'\n'"expected"$'\n'"$expected"
  fi
}

# Ends a test: non-zero when any check failed.
qln_end() {
  if ((QLN_FAILURES)); then
    echo "$QLN_FAILURES check(s) failed" >&2
    exit 1
  fi
  exit 0
}
