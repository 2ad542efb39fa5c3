#!/usr/bin/env bash
# Installs, on a Debian machine, everything the build and the tests need that
# is not there yet, then the npm packages of tests/node. Does nothing (and
# needs no root) when all is in place. Run by scripts/test.sh and so by CI.
set -euo pipefail
cd "$(dirname "$0")/.."

# Debian packages: the compiler and build tools, the libraries the build
# links, and the peers the tests run (the Modbus masters, the pseudo-terminal
# maker, the Python modules the pymodbus master imports, clang with its
# runtime libraries for the fuzz targets, lld for the sanitizer build's links,
# clang's tooling library for the cell cross-reference).
packages=(
  build-essential cmake ninja-build ccache pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev libmodbus-dev
  clang lld libclang-rt-14-dev libclang-14-dev libclang-cpp14-dev llvm-14-dev
  socat mbpoll
  python3 python3-pymodbus python3-serial python3-serial-asyncio
)

need=()
if command -v dpkg-query >/dev/null 2>&1; then
  for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = installed ] || need+=("$p")
  done
fi
# Node.js and npm may come from elsewhere than Debian's packages; take them
# from Debian only when the commands are missing.
command -v node >/dev/null 2>&1 || need+=(nodejs)
command -v npm >/dev/null 2>&1 || need+=(npm)

if [ ${#need[@]} -gt 0 ]; then
  if ! command -v apt-get >/dev/null 2>&1 || ! command -v dpkg-query >/dev/null 2>&1; then
    echo "install-deps: this is not a Debian machine; install these (Debian package names) by hand:" >&2
    echo "  ${need[*]}" >&2
    exit 1
  fi
  as_root=()
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      as_root=(sudo)
    else
      echo "install-deps: not root and no sudo; as root, run:" >&2
      echo "  apt-get update && apt-get install -y --no-install-recommends ${need[*]}" >&2
      exit 1
    fi
  fi
  echo "install-deps: installing ${need[*]}" >&2
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
  "${as_root[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${need[@]}"
fi

# The CANopen peer's npm packages (versions pinned by its lock file).
if [ -f tests/node/package.json ] && [ ! -d tests/node/node_modules ]; then
  echo "install-deps: npm packages of tests/node" >&2
  (cd tests/node && npm install --no-audit --no-fund --silent)
fi
