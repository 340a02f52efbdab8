#!/usr/bin/env bash
# Builds everything and runs the whole test suite, including the group that needs a
# Firebird server (started here when it is not running).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/firebird-server.sh
KAVOR_TEST_PASSWORD="$(cat build/server-password)" \
  ctest --test-dir build --output-on-failure -j2
