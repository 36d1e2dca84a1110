#!/bin/sh
# Installs the Debian packages a goal needs, and only those that are missing.
#   scripts/install-deps.sh run      packages to build and open the tool
#   scripts/install-deps.sh test     packages to build and run every test
#   scripts/install-deps.sh windows  packages to cross-build for Windows and test under Wine
set -eu

run_packages="cmake make g++ pkg-config libsdl1.2-dev libpng-dev zlib1g-dev libdeflate-dev"
test_packages="$run_packages python3-pil pngcheck libgtest-dev libgmock-dev libbenchmark-dev xvfb xdotool x11-apps imagemagick python3 valgrind clang libclang-rt-14-dev clang-tidy cppcheck libx11-dev"
# SDL 1.2 over SDL 2 installs beside the classic library; the end-to-end tests run on both.
test_packages="$test_packages libsdl1.2-compat"
# Arbitrary precision, the reference the rounded trigonometry is checked against.
test_packages="$test_packages python3-mpmath"
# Node.js runs the glTF validator of the tests (installed with npm below). A
# node that is already there serves, from Debian or not; Debian's npm would
# clash with another vendor's nodejs package, which brings its own npm.
command -v node > /dev/null || test_packages="$test_packages nodejs"
command -v npm > /dev/null || test_packages="$test_packages npm"
# The Windows dependencies are built from Debian's source packages (apt-get
# source needs dpkg-dev, and xz-utils to unpack them). wine gives the plain
# `wine` command; wine64 alone only has the 64-bit loader.
windows_packages="mingw-w64 wine wine64 dpkg-dev xz-utils patch cmake make pkg-config xvfb xdotool x11-apps imagemagick python3"

case "${1:-run}" in
  run) wanted=$run_packages ;;
  test) wanted=$test_packages ;;
  windows) wanted=$windows_packages ;;
  *) echo "usage: $0 run|test|windows" >&2; exit 2 ;;
esac

if [ "$(id -u)" -eq 0 ]; then
  as_root=""
else
  as_root="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
updated=no

# apt-get source needs a deb-src entry; Debian's images ship only deb ones.
# The new entry copies the machine's own main-archive entry, so it points at
# the same mirror (or snapshot) and keyring.
ensure_deb_src() {
  if grep -Eqs '^[[:space:]]*(deb-src[[:space:]]|Types:.*deb-src)' \
      /etc/apt/sources.list /etc/apt/sources.list.d/*.list /etc/apt/sources.list.d/*.sources; then
    return 0
  fi
  entry=$(awk '
    function flush() {
      if (types ~ /(^| )deb( |$)/ && uris ~ /\/debian\/?( |$)/ && enabled != "no" && !done) {
        print "URIs: " uris; print "Suites: " suites; print "Components: " comps
        if (signed != "") print "Signed-By: " signed
        done = 1
      }
      types = uris = suites = comps = signed = enabled = ""
    }
    /^[[:space:]]*#/ { next }
    /^[[:space:]]*$/ { flush(); next }
    {
      key = $1; sub(/:$/, "", key); value = $0; sub(/^[^:]*:[[:space:]]*/, "", value)
      if (key == "Types") types = value
      else if (key == "URIs") uris = value
      else if (key == "Suites") suites = value
      else if (key == "Components") comps = value
      else if (key == "Signed-By") signed = value
      else if (key == "Enabled") enabled = value
    }
    END { flush() }' /etc/apt/sources.list.d/debian.sources 2>/dev/null || true)
  if [ -z "$entry" ]; then
    # shellcheck disable=SC1091
    codename=$(. /etc/os-release && echo "${VERSION_CODENAME:-bookworm}")
    entry="URIs: http://deb.debian.org/debian
Suites: $codename $codename-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg"
  fi
  echo "Adding deb-src entry /etc/apt/sources.list.d/quiltor-deb-src.sources"
  printf 'Types: deb-src\n%s\n' "$entry" | $as_root tee /etc/apt/sources.list.d/quiltor-deb-src.sources > /dev/null
  $as_root apt-get update -q
  updated=yes
}

# Called outside an && list, so that set -e still holds inside it.
if [ "${1:-run}" = windows ]; then
  ensure_deb_src
fi

missing=""
for package in $wanted; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  if [ "$status" != "install ok installed" ]; then
    missing="$missing $package"
  fi
done

if [ -n "$missing" ]; then
  echo "Installing:$missing"
  [ "$updated" = yes ] || $as_root apt-get update -q
  # shellcheck disable=SC2086
  $as_root apt-get install -y -q --no-install-recommends $missing
fi

# The Khronos glTF validator, at the versions of its lock file, into the
# checkout's tests/tools/gltf-validator/node_modules, as the user who runs
# this (not root); only when that version is not there yet.
version_of() {
  node -e 'try { console.log(require(process.argv[1]).version) } catch (e) {}' "$1"
}
if [ "${1:-run}" = test ]; then
  validator_dir=$(cd "$(dirname "$0")/../tests/tools/gltf-validator" && pwd)
  pinned=$(node -e 'console.log(require(process.argv[1]).dependencies["gltf-validator"])' \
    "$validator_dir/package.json")
  if [ "$(version_of "$validator_dir/node_modules/gltf-validator/package.json")" != "$pinned" ]; then
    echo "Installing the glTF validator $pinned with npm"
    (cd "$validator_dir" && npm ci --ignore-scripts --no-audit --no-fund)
  fi
fi
