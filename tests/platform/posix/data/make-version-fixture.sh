#!/bin/sh
# Builds the small PE files the version tests read, with Debian's MinGW cross tools
# (x86_64-w64-mingw32-gcc and x86_64-w64-mingw32-windres). The results are committed, so
# the tests never need the tools; run this again only to change a fixture.
#
#   tests/platform/posix/data/version-fixture.dll     file 1.2.3.4, product 5.6.7.8
#   tests/platform/posix/data/no-version.dll          a DLL without a version resource
#   tests/foundation/data/kernel32-*.dll              product versions of kernel32.dll releases
set -eu

here=$(cd "$(dirname "$0")" && pwd)
foundation="$here/../../../foundation/data"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A DLL of nothing but its resources: no C runtime, no entry point, stripped.
build() {
  out=$1
  shift
  printf 'int fixture_marker;\n' > "$work/empty.c"
  if [ "$#" -gt 0 ]; then
    x86_64-w64-mingw32-windres "$@" -i "$here/version-fixture.rc" -o "$work/version.o"
    objects="$work/version.o"
  else
    objects=
  fi
  x86_64-w64-mingw32-gcc -shared -nostdlib -s -Wl,--no-insert-timestamp -Wl,-e,0 \
    -o "$out" "$work/empty.c" $objects
}

build "$here/version-fixture.dll" -DFILE_VERSION=1,2,3,4 -DPRODUCT_VERSION=5,6,7,8
build "$here/no-version.dll"
build "$foundation/kernel32-10.0.19041.1.dll" -DFILE_VERSION=10,0,19041,1 -DPRODUCT_VERSION=10,0,19041,1
build "$foundation/kernel32-10.0.17763.1.dll" -DFILE_VERSION=10,0,17763,1 -DPRODUCT_VERSION=10,0,17763,1
build "$foundation/kernel32-6.1.7601.17514.dll" -DFILE_VERSION=6,1,7601,17514 -DPRODUCT_VERSION=6,1,7601,17514
build "$foundation/kernel32-6.0.6000.16386.dll" -DFILE_VERSION=6,0,6000,16386 -DPRODUCT_VERSION=6,0,6000,16386
build "$foundation/kernel32-5.2.3790.0.dll" -DFILE_VERSION=5,2,3790,0 -DPRODUCT_VERSION=5,2,3790,0
