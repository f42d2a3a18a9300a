#!/usr/bin/env bash
# Installs the Debian packages a target needs, and only when some are missing.
# usage: scripts/install-deps.sh build|run|test|shots|fuzz|windows
set -eu

build_pkgs="cmake g++ make pkg-config qt6-base-dev libgl-dev libcurl4-openssl-dev \
libcpp-httplib-dev libqrencode-dev libpng-dev libgtest-dev libgmock-dev libbenchmark-dev"
# The stand-in's QR images are checked by decoding them; xdg-open and a CJK font serve the window;
# xdg-user-dir names the documents directory of an installed program.
test_pkgs="zbar-tools libzbar-dev xdg-utils xdg-user-dirs fonts-wqy-zenhei"
run_pkgs="xdg-utils xdg-user-dirs fonts-wqy-zenhei"
shot_pkgs="xvfb openbox imagemagick chromium x11-utils xdotool"
fuzz_pkgs="cmake make clang libclang-rt-14-dev libcurl4-openssl-dev"
windows_pkgs="cmake make googletest g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 wine64 wine locales xvfb openbox"

case "${1:-build}" in
  build) want="$build_pkgs" ;;
  test)  want="$build_pkgs $test_pkgs" ;;
  run)   want="$build_pkgs $run_pkgs" ;;
  shots) want="$build_pkgs $test_pkgs $shot_pkgs" ;;
  fuzz)  want="$fuzz_pkgs" ;;
  windows) want="$windows_pkgs" ;;
  *) echo "usage: $0 build|run|test|shots|fuzz|windows" >&2; exit 2 ;;
esac

missing=""
for p in $want; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing="$missing $p"
done
[ -z "$missing" ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "installing:$missing"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
