#!/usr/bin/env bash
# Installs and starts a local Firebird 3 server for the multi-workstation tests, with a
# known SYSDBA password (written to build/server-password).
set -euo pipefail
cd "$(dirname "$0")/.."
password="kavortest"
sudo_cmd=""
[ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"

if ! dpkg-query -W -f='${Status}' firebird3.0-server 2>/dev/null | grep -q "install ok installed"; then
  $sudo_cmd env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends firebird3.0-server
fi

port_open() { (exec 3<>/dev/tcp/127.0.0.1/3050) 2>/dev/null; }

if ! port_open; then
  # The package does not start its server here: set the SYSDBA password through the
  # embedded engine on the security database, then start the guardian as user firebird.
  sec=/var/lib/firebird/3.0/system/security3.fdb
  printf "create or alter user SYSDBA password '%s' using plugin Srp;\ncommit;\n" "$password" |
    $sudo_cmd isql-fb -q -user SYSDBA "$sec"
  $sudo_cmd chown firebird:firebird "$sec"
  $sudo_cmd mkdir -p /run/firebird3.0
  $sudo_cmd chown firebird:firebird /run/firebird3.0
  if [ "$(id -u)" -eq 0 ]; then
    su -s /bin/sh firebird -c "/usr/sbin/fbguard -daemon -forever"
  else
    sudo -u firebird /usr/sbin/fbguard -daemon -forever
  fi
  for _ in $(seq 1 50); do port_open && break; sleep 0.2; done
  port_open || { echo "Firebird server did not start" >&2; exit 1; }
fi
mkdir -p build
printf '%s' "$password" > build/server-password
