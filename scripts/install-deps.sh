#!/bin/sh
# Installs the Debian packages a goal needs, and only those that are missing.
#   scripts/install-deps.sh run    packages to build and open the tool
#   scripts/install-deps.sh test   packages to build and run every test
set -eu

run_packages="cmake make g++ pkg-config libsdl1.2-dev libpng-dev"
test_packages="$run_packages libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-apps imagemagick python3 valgrind clang libclang-rt-14-dev clang-tidy cppcheck libx11-dev"
# SDL 1.2 over SDL 2 installs beside the classic library; the end-to-end tests run on both.
test_packages="$test_packages libsdl1.2-compat"

case "${1:-run}" in
  run) wanted=$run_packages ;;
  test) wanted=$test_packages ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=""
for package in $wanted; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [ "$status" != "install ok installed" ]; then
    missing="$missing $package"
  fi
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -eq 0 ]; then
  as_root=""
else
  as_root="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$as_root apt-get update -q
# shellcheck disable=SC2086
$as_root apt-get install -y -q --no-install-recommends $missing
