#!/usr/bin/env bash
# Builds the application, creates its local database when missing and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
if [ ! -f build/Baza/KAVOR.FDB ]; then
  build/kavor-db create build/Baza/KAVOR.FDB
fi
exec build/kavor
