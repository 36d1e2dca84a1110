#!/bin/sh
# Cross-builds SDL 1.2, zlib, libpng and libdeflate for 64-bit Windows from Debian's own
# source packages into PREFIX_DIR (include/, lib/, bin/ for SDL.dll, and
# licenses/ for the zip). Each library is built once: a stamp in
# PREFIX_DIR/stamps marks it done, so a later run does nothing.
#   scripts/build-windows-deps.sh PREFIX_DIR
# The sources go to PREFIX_DIR/../deps-src. scripts/install-deps.sh windows
# installs the compilers and the deb-src entry that apt-get source needs.
set -eu

if [ $# -ne 1 ]; then
  echo "usage: $0 PREFIX_DIR" >&2
  exit 2
fi
mkdir -p "$1"
prefix=$(cd "$1" && pwd)
work=$(dirname "$prefix")/deps-src
stamps=$prefix/stamps
host=x86_64-w64-mingw32
# The posix thread model, as the programs are built with.
cc=$host-gcc-posix
cxx=$host-g++-posix
jobs=$(nproc 2>/dev/null || echo 2)

# Nothing from the host's pkg-config files may leak into a Windows build.
PKG_CONFIG_LIBDIR=$prefix/lib/pkgconfig
PKG_CONFIG_PATH=
export PKG_CONFIG_LIBDIR PKG_CONFIG_PATH

# zlib's stamp going means libpng is linked against a zlib that is no more.
if [ ! -f "$stamps/zlib" ]; then
  rm -f "$stamps/libpng"
fi
if [ -f "$stamps/zlib" ] && [ -f "$stamps/libpng" ] && [ -f "$stamps/sdl" ] \
  && [ -f "$stamps/libdeflate" ]; then
  exit 0
fi

for tool in "$cc" "$cxx" apt-get dpkg-source make; do
  if ! command -v "$tool" > /dev/null 2>&1; then
    echo "$tool is missing: run scripts/install-deps.sh windows" >&2
    exit 1
  fi
done
mkdir -p "$stamps" "$prefix/licenses" "$work"

# Runs a command with its output in the library's log, and on failure shows
# the end of the log. The next run starts that library from a clean tree.
step() {
  if ! "$@" >> "$log" 2>&1; then
    echo "$name: '$*' failed; the end of $log:" >&2
    tail -n 40 "$log" >&2
    exit 1
  fi
}

# Fetches a source package into a fresh directory, Debian's patches applied
# by apt-get source, and moves into its tree.
fetch() {
  rm -rf "${work:?}/$name"
  mkdir -p "$work/$name"
  log=$work/$name.log
  : > "$log"
  cd "$work/$name"
  if ! apt-get source -q "$1" >> "$log" 2>&1; then
    echo "$name: apt-get source $1 failed (is there a deb-src entry? scripts/install-deps.sh windows adds one); the end of $log:" >&2
    tail -n 20 "$log" >&2
    exit 1
  fi
  for dir in "$work/$name"/*/; do
    cd "$dir"
    break
  done
  version=$(dpkg-parsechangelog -S Version)
  echo "Building $name $version for Windows"
}

finish() {
  rm -f "$prefix"/lib/*.la
  echo "$1 $version" > "$stamps/$name"
}

name=zlib
if [ ! -f "$stamps/$name" ]; then
  fetch zlib
  step env CHOST=$host CC="$cc" AR=$host-ar RANLIB=$host-ranlib ./configure --static --prefix="$prefix"
  step make -j "$jobs" libz.a
  step make install
  cp LICENSE "$prefix/licenses/zlib-LICENSE.txt"
  finish zlib
fi

name=libpng
if [ ! -f "$stamps/$name" ]; then
  fetch libpng1.6
  # A Debian patch touches Makefile.am; maintainer mode would rerun automake.
  step ./configure --host=$host --prefix="$prefix" --disable-shared --enable-static \
    --disable-maintainer-mode CC="$cc" CPPFLAGS="-I$prefix/include" LDFLAGS="-L$prefix/lib"
  step make -j "$jobs"
  step make install
  # Only static libraries here, so a plain `pkg-config --libs` must name
  # zlib too.
  pc=$(echo "$prefix"/lib/pkgconfig/libpng1?.pc)
  step sed -i -e 's/^Requires\.private:/Requires:/' \
    -e '/^Libs\.private:/d' -e "s|^Libs:.*|& $(sed -n 's/^Libs\.private://p' "$pc")|" "$pc"
  # Its command-line tools are not needed; bin/ is for what ships.
  rm -f "$prefix/bin/pngfix.exe" "$prefix/bin/png-fix-itxt.exe"
  cp LICENSE "$prefix/licenses/libpng-LICENSE.txt"
  finish libpng1.6
fi

name=sdl
if [ ! -f "$stamps/$name" ]; then
  fetch libsdl1.2
  # Debian's patch for Linux's -lpthread also drops -lmingw32 -lSDLmain
  # -mwindows from sdl-config and sdl.pc, which Windows programs need.
  step patch -R -p1 -i debian/patches/dont_propagate_lpthread.diff
  # No stdio redirection, so stdout and stderr stay the console's; without
  # DirectX, SDL draws with windib and plays with waveout, plain Win32.
  step ./configure --host=$host --prefix="$prefix" --disable-static \
    --disable-stdio-redirect --disable-directx CC="$cc" CXX="$cxx"
  step make -j "$jobs"
  step make install
  # The DLL ships in the zip: without its debugging sections it is a fifth
  # of the size.
  step $host-strip --strip-unneeded "$prefix/bin/SDL.dll"
  cp COPYING "$prefix/licenses/SDL-COPYING.txt"
  finish libsdl1.2
fi

name=libdeflate
if [ ! -f "$stamps/$name" ]; then
  fetch libdeflate
  # The static library alone: its Makefile names it libdeflatestatic.lib
  # for a MinGW compiler, and would install its gzip programs too.
  step make -j "$jobs" CC="$cc" AR=$host-ar libdeflatestatic.lib
  step mkdir -p "$prefix/include" "$prefix/lib/pkgconfig"
  step cp libdeflate.h "$prefix/include/"
  step cp libdeflatestatic.lib "$prefix/lib/libdeflate.a"
  # Its pkg-config file, as its own install would write it.
  sed -e "s|@PREFIX@|$prefix|" -e "s|@LIBDIR@|$prefix/lib|" -e "s|@INCDIR@|$prefix/include|" \
    -e "s|@VERSION@|${version%%-*}|" libdeflate.pc.in > "$prefix/lib/pkgconfig/libdeflate.pc"
  cp COPYING "$prefix/licenses/libdeflate-COPYING.txt"
  finish libdeflate
fi
