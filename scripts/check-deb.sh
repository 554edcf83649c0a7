#!/usr/bin/env bash
# Builds the .deb, installs it into a clean Debian 12 root and checks that the installed program
# starts, shows its window and makes "小说下载" in the user's download directory rather than
# beside itself in /usr/bin, once as root (HOME=/root) and once as an ordinary user. Needs root
# (debootstrap, chroot) and Debian's package servers; takes minutes, so it is not part of the
# test command.
#
#   scripts/check-deb.sh               screenshot of root's run goes to docs/installed.png
#   KEEP_ROOT=1 scripts/check-deb.sh   leaves the Debian root and the logs in place afterwards
#   BUILD_DIR, MIRROR, SCREENSHOT      override the build directory, mirror and screenshot path
set -euo pipefail

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${BUILD_DIR:-$source_dir/build-pkg}
mirror=${MIRROR:-http://deb.debian.org/debian}
screenshot=${SCREENSHOT:-$source_dir/docs/installed.png}
output_name="小说下载"

work=""
target=""
xvfb_pid=""
program_pid=""

say() { printf '== %s\n' "$*"; }
fail() {
  printf 'FAIL: %s\n' "$*" >&2
  exit 1
}

# Waits up to $1 seconds for the command that follows to succeed.
wait_for() {
  local seconds=$1
  shift
  local deadline=$((SECONDS + seconds))
  until "$@"; do
    ((SECONDS < deadline)) || return 1
    sleep 0.2
  done
}

process_gone() { ! kill -0 "$1" 2>/dev/null; }

# Stops a process this script started and waits a bounded time for it to go.
stop_process() {
  local pid=$1
  [[ -n $pid ]] || return 0
  process_gone "$pid" && return 0
  kill "$pid" 2>/dev/null || true
  wait_for 10 process_gone "$pid" || kill -9 "$pid" 2>/dev/null || true
}

mounted_under() { awk -v top="$1" '$2 == top || index($2, top "/") == 1 { found = 1 } END { exit !found }' /proc/mounts; }

# The root is deleted only once nothing of the host is mounted inside it any more.
cleanup() {
  set +e
  stop_process "$program_pid"
  stop_process "$xvfb_pid"
  if [[ -n $target ]]; then
    for point in "$target/tmp/.X11-unix" "$target/proc"; do
      mountpoint -q "$point" && umount "$point"
    done
  fi
  if [[ -n $work ]]; then
    if [[ -n $target ]] && mounted_under "$target"; then
      printf 'left %s in place: something is still mounted inside it\n' "$work" >&2
    elif [[ ${KEEP_ROOT:-0} == 1 ]]; then
      printf 'kept %s\n' "$work"
    else
      rm -rf "$work"
    fi
  fi
}
trap cleanup EXIT
trap 'exit 130' INT TERM

check_host() {
  [[ $(id -u) == 0 ]] || fail "run as root: debootstrap and chroot need it"
  local tool
  for tool in cmake cpack dpkg-shlibdeps debootstrap Xvfb import xwininfo; do
    command -v "$tool" >/dev/null ||
      fail "$tool is missing (apt-get install cmake dpkg-dev debootstrap xvfb imagemagick x11-utils)"
  done
}

build_package() {
  cmake -S "$source_dir" -B "$build_dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DQUILL_BUILD_TESTS=OFF -DQUILL_BUILD_BENCH=OFF -DQUILL_BUILD_APP=ON >/dev/null
  cmake --build "$build_dir" -j2 | tail -n 1
  rm -f "$build_dir"/quillarch_*.deb
  (cd "$build_dir" && cpack -G DEB >/dev/null)
  package=$(ls "$build_dir"/quillarch_*_amd64.deb)
  dpkg-deb --field "$package" Depends
}

make_root() {
  work=$(mktemp -d /tmp/quillarch-deb.XXXXXX)
  target=$work/root
  timeout 1800 debootstrap --variant=minbase bookworm "$target" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    fail "debootstrap failed, see $work/debootstrap.log"
  mount -t proc proc "$target/proc"
}

# Sets `command_line` to run a command inside the root as user $1, in that user's home, for at
# most $2 seconds. A plain array lets a caller start it in the background and keep its process id.
root_command() {
  local user=$1 seconds=$2 home=/root
  shift 2
  [[ $user == root ]] || home=/home/$user
  command_line=(timeout "$seconds" chroot --userspec="$user:$user" "$target" /usr/bin/env -i
    HOME="$home" LANG=C.UTF-8 PATH=/usr/sbin:/usr/bin:/sbin:/bin DEBIAN_FRONTEND=noninteractive "$@")
}

in_root() {
  root_command root "$@"
  "${command_line[@]}"
}

install_package() {
  cp "$package" "$target/tmp/"
  local name
  name=$(basename "$package")
  in_root 1800 sh -c "cd /tmp && apt-get update -q && apt-get install -y -q ./$name" \
    >"$work/install.log" 2>&1 || fail "apt-get install failed, see $work/install.log"
  grep -E 'newly installed|^Setting up quillarch' "$work/install.log"
  # shellcheck disable=SC2016 # the format is dpkg-query's own
  in_root 30 dpkg-query -W -f '${Package} ${Version} ${Status}\n' quillarch
}

# Xvfb picks a free display and writes its number; the socket is shared into the root.
start_display() {
  Xvfb -displayfd 9 -screen 0 1280x800x24 -nolisten tcp -ac 9>"$work/display" \
    >"$work/xvfb.log" 2>&1 &
  xvfb_pid=$!
  wait_for 30 test -s "$work/display" || fail "Xvfb did not start, see $work/xvfb.log"
  display=:$(tr -d '[:space:]' <"$work/display")
  mkdir -p "$target/tmp/.X11-unix"
  mount --bind /tmp/.X11-unix "$target/tmp/.X11-unix"
}

window_shown() { xwininfo -display "$display" -root -tree 2>/dev/null | grep -q '"Quillarch'; }

add_reader() { in_root 60 useradd --create-home reader; }

# Starts the installed program as user $1 and checks it shows its window and stays up.
run_program() {
  local user=$1 stay=5
  root_command "$user" 300 DISPLAY="$display" /usr/bin/quillarch
  "${command_line[@]}" >"$work/program-$user.log" 2>&1 &
  program_pid=$!
  wait_for 60 window_shown || fail "no window appeared, see $work/program-$user.log"
  sleep "$stay"
  kill -0 "$program_pid" 2>/dev/null || fail "the program ended within ${stay}s of showing its window"
  printf 'window shown, still up after %ss\n' "$stay"
}

take_screenshot() {
  mkdir -p "$(dirname "$screenshot")"
  import -display "$display" -window root "$screenshot" || fail "no screenshot"
  printf 'screenshot %s\n' "$screenshot"
}

close_program() {
  stop_process "$program_pid"
  program_pid=""
  wait_for 30 bash -c "! xwininfo -display '$display' -root -tree | grep -q '\"Quillarch'" ||
    fail "the window stayed after the program was stopped"
}

# "小说下载" belongs in user $1's download directory; /usr/bin must stay untouched.
check_output_directory() {
  local user=$1 downloads
  # shellcheck disable=SC2016 # expanded inside the root
  root_command "$user" 30 sh -c 'dirs=$HOME/.config/user-dirs.dirs; if [ -f "$dirs" ]; then . "$dirs"; fi
    echo "${XDG_DOWNLOAD_DIR:-$HOME/Downloads}"'
  downloads=$("${command_line[@]}") || fail "cannot read the download directory of $user"
  local beside=$target/usr/bin/$output_name
  if [[ -e $beside ]]; then
    rmdir "$beside"
    fail "$user: /usr/bin/$output_name was made beside the program"
  fi
  [[ -d $target$downloads/$output_name ]] || fail "$user: $downloads/$output_name was not made"
  printf '%s: output directory %s\n' "$user" "$downloads/$output_name"
}

timed() {
  local start=$SECONDS
  say "$1"
  "${@:2}"
  printf '   (%ss)\n' $((SECONDS - start))
}

# Each user is checked in a subshell of its own, with errexit on and its program stopped on any
# exit, so that a failed check of one user does not hide the other's result.
check_user() {
  local user=$1
  (
    set -e
    trap 'stop_process "$program_pid"' EXIT
    timed "run the installed program as $user" run_program "$user"
    [[ $user != root ]] || take_screenshot
    close_program
    timed "check the output directory of $user" check_output_directory "$user"
  )
}

check_host
timed "build the package" build_package
timed "make a clean Debian 12 root" make_root
timed "install the package" install_package
timed "start a display" start_display
add_reader
set +e
check_user root
root_result=$?
check_user reader
reader_result=$?
set -e
((root_result == 0 && reader_result == 0)) || fail "root: $root_result, reader: $reader_result (0 is a pass)"
say "PASS"
