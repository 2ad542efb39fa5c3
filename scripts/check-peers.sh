#!/usr/bin/env bash
# Checks, by calling each one, that the tools the build uses and the peers the
# tests drive work on this machine; names every one that does not and fails.
# Run by scripts/test.sh before it builds.
set -uo pipefail
cd "$(dirname "$0")/.."

missing=()
# check WHAT HINT COMMAND...: runs the command quietly; on failure records
# WHAT with HINT (where it comes from) and the command's last line of output.
check() {
  local what=$1 hint=$2
  shift 2
  local out line
  if ! out=$("$@" 2>&1); then
    # the line that says why: the first error line, else the last line
    line=$(grep -m1 -E 'Error|error|not found|No such' <<<"$out" || true)
    [ -n "$line" ] || line=${out##*$'\n'}
    missing+=("$what: '$*' failed${line:+ ($line)}; $hint")
  fi
}

check "C++ compiler" "Debian package build-essential" g++ --version
check "CMake" "Debian package cmake" cmake --version
check "Ninja" "Debian package ninja-build" ninja --version
check "mbpoll (Modbus master)" "Debian package mbpoll" mbpoll -V
check "socat (pseudo-terminal pairs)" "Debian package socat" socat -V
check "pymodbus (Modbus master) and its serial modules under /usr/bin/python3" \
  "Debian packages python3-pymodbus python3-serial python3-serial-asyncio" \
  /usr/bin/python3 -c 'import pymodbus, serial, serial_asyncio'
check "Python's file readers (zlib, gzip, csv, xml) under /usr/bin/python3" "Debian package python3" \
  /usr/bin/python3 -c 'import zlib, gzip, csv, xml.etree.ElementTree'
check "Node.js" "Debian package nodejs" node --version
check "npm package canopen (CANopen peer)" "run 'npm install' in tests/node" \
  bash -c 'cd tests/node && node -e "require(\"canopen\")"'

if [ ${#missing[@]} -gt 0 ]; then
  echo "check-peers: the tests cannot run; missing or broken:" >&2
  for m in "${missing[@]}"; do echo "  - $m" >&2; done
  echo "check-peers: 'bash scripts/install-deps.sh' installs them on Debian." >&2
  exit 1
fi
echo "check-peers: every tool and peer answers"
