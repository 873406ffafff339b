#!/usr/bin/env bash
# The Firebird 3 server the database tests run against, on localhost:3050.
#
#   bash scripts/env/firebird-server.sh start   # start (and set up) when not running
#   bash scripts/env/firebird-server.sh stop    # stop when running
#   bash scripts/env/firebird-server.sh reset   # stop and forget every state
#   bash scripts/env/firebird-server.sh status
#
# It is a private instance of Debian's firebird3.0-server: its own root
# (configuration, security database, lock files, fixture databases) under
# $QV_FB_ROOT, its own process (no systemd, no init script), the system's
# installation left untouched. It runs as root on a fresh Debian 12 machine;
# the server itself runs as the user "firebird". Every command is idempotent.
#
# The fixture databases belong to the product account QUORVEX and carry what
# the products' databases carry for the wizard: ConnectionControl, Users,
# PRT_Params, PRT_Images, GET_SERVER_TIME and GetFreeDiskSpace. Two tables
# that no product has let a test steer the server's answers:
#   FixtureFreeSpace(free_bytes)  - what GetFreeDiskSpace returns
#   FixtureServerTime(fixed_time) - when not null, what GET_SERVER_TIME says
# They are reached under Windows-style aliases, as the products' connection
# strings name them ("localhost:C:\QUORVEX\DB\TVP.FDB").
set -euo pipefail

ROOT=${QV_FB_ROOT:-/var/lib/quorvex-firebird}
PORT=3050
SYSDBA_PASSWORD=masterkey
PRODUCT_USER=QUORVEX
PRODUCT_PASSWORD=47130628
FB_HOME=/usr/lib/x86_64-linux-gnu/firebird/3.0
SERVER=/usr/sbin/firebird
PIDFILE=$ROOT/firebird.pid

# Fixture databases: file name, alias(es) under which the products reach it.
#   TVP.FDB   - a complete product database (identity TVP_PRO, version 1)
#   BARE.FDB  - ConnectionControl without its rows, no GetFreeDiskSpace
#   PRINT1.FDB to PRINT3.FDB - made afresh by the print-list import tests
ALIASES=(
  'C:\QUORVEX\DB\TVP.FDB=TVP.FDB'
  'C:\QUORVEX\DB\BARE.FDB=BARE.FDB'
  'D:\Quorvex\Societes\Dupont\TVP.FDB=TVP.FDB'
  # Forms the wizard refuses to ask a server about (no local or TCP path):
  # they attach, but the version gate refuses them.
  'C:\QUORVEX\\DB\TVP.FDB=TVP.FDB'
  'SPX@TVP.FDB=TVP.FDB'
  # Three companies' databases for the print-list import tests, which
  # create them (and their tables) themselves.
  'C:\QUORVEX\DB\PRINT1.FDB=PRINT1.FDB'
  'C:\QUORVEX\DB\PRINT2.FDB=PRINT2.FDB'
  'C:\QUORVEX\DB\PRINT3.FDB=PRINT3.FDB'
)

log() { echo "firebird-server: $*"; }

fb_env() {
  env FIREBIRD="$ROOT" FIREBIRD_LOCK="$ROOT/lock" FIREBIRD_TMP="$ROOT/tmp" "$@"
}

is_running() {
  [ -f "$PIDFILE" ] && kill -0 "$(cat "$PIDFILE")" 2>/dev/null
}

port_open() {
  (exec 3<>"/dev/tcp/127.0.0.1/$PORT") 2>/dev/null
}

write_config() {
  mkdir -p "$ROOT" "$ROOT/lock" "$ROOT/tmp" "$ROOT/db" "$ROOT/log"
  for f in UDF lib plugins firebird.msg include; do
    ln -sfn "$FB_HOME/$f" "$ROOT/$f"
  done
  # The character sets are not found through a symbolic link: a real copy.
  if [ ! -f "$ROOT/intl/libfbintl.so" ]; then
    rm -rf "$ROOT/intl"
    mkdir -p "$ROOT/intl"
    cp -L "$FB_HOME"/intl/* "$ROOT/intl/"
  fi
  cp -f /etc/firebird/3.0/plugins.conf "$ROOT/plugins.conf"
  cp -f /etc/firebird/3.0/fbtrace.conf "$ROOT/fbtrace.conf"
  cat >"$ROOT/firebird.conf" <<EOF
# Private instance for the Quorvex update wizard's tests.
RemoteServicePort = $PORT
RemoteBindAddress = 127.0.0.1
SecurityDatabase = $ROOT/security3.fdb
DatabaseAccess = Full
UdfAccess = None
AuthServer = Srp
UserManager = Srp
WireCrypt = Enabled
EOF
  {
    echo "# Private instance for the Quorvex update wizard's tests."
    echo "security.db = $ROOT/security3.fdb"
    for a in "${ALIASES[@]}"; do
      echo "${a%%=*} = $ROOT/db/${a#*=}"
    done
  } >"$ROOT/databases.conf"
  chown -R firebird:firebird "$ROOT"
  chown -h root:root "$ROOT"/{UDF,lib,plugins,firebird.msg,include}
  chmod 0770 "$ROOT"
}

# The security database, made the way Debian makes its own, with a SYSDBA
# password this script knows. Embedded access: the server is not running.
make_security_db() {
  [ -f "$ROOT/security3.fdb" ] && return 0
  log "creating the security database"
  local sec="$ROOT/security3.fdb"
  if ! (
    set -e
    echo "create database '$sec';" | fb_env isql-fb -q
    fb_env gfix -user SYSDBA -write async "$sec"
    fb_env isql-fb -q -user SYSDBA -i /usr/share/firebird/3.0/security.sql "$sec"
    echo "create or alter user SYSDBA password '$SYSDBA_PASSWORD'; commit;" \
      | fb_env isql-fb -q -user SYSDBA "$sec"
    fb_env gfix -user SYSDBA -write sync "$sec"
  ); then
    rm -f "$sec"
    log "could not create the security database" >&2
    exit 1
  fi
  chown firebird:firebird "$sec"
  chmod 0660 "$sec"
}

start_server() {
  if is_running; then
    return 0
  fi
  if port_open; then
    log "port $PORT is taken by another process; stop it first" >&2
    exit 1
  fi
  log "starting the server on localhost:$PORT"
  # setsid: the server outlives this script and the test run's session.
  setsid runuser -u firebird -- env FIREBIRD="$ROOT" FIREBIRD_LOCK="$ROOT/lock" \
    FIREBIRD_TMP="$ROOT/tmp" "$SERVER" >>"$ROOT/log/server.out" 2>&1 </dev/null &
  echo $! >"$PIDFILE"
  for _ in $(seq 1 100); do
    port_open && return 0
    is_running || break
    sleep 0.1
  done
  log "the server did not start; see $ROOT/log/server.out and $ROOT/firebird.log" >&2
  exit 1
}

sysdba_sql() {
  isql-fb -q -user SYSDBA -password "$SYSDBA_PASSWORD" "$@"
}

make_product_user() {
  sysdba_sql "localhost:security.db" <<EOF >/dev/null
create or alter user $PRODUCT_USER password '$PRODUCT_PASSWORD';
grant create database to user $PRODUCT_USER;
commit;
EOF
}

# The objects a product database carries, as far as the wizard uses them.
schema_sql() {
  cat <<'EOF'
CREATE TABLE ConnectionControl (
  id INTEGER NOT NULL PRIMARY KEY,
  sval VARCHAR(60));
CREATE TABLE Users (
  username VARCHAR(60) NOT NULL PRIMARY KEY,
  lastcheck TIMESTAMP);
CREATE TABLE PRT_Params (
  pname VARCHAR(60) NOT NULL PRIMARY KEY,
  d_text VARCHAR(100),
  f_text VARCHAR(100),
  i_text VARCHAR(100),
  compat INTEGER,
  print_params BLOB SUB_TYPE 1 SEGMENT SIZE 80);
CREATE TABLE PRT_Images (
  iname VARCHAR(60) NOT NULL PRIMARY KEY,
  image BLOB SUB_TYPE 0 SEGMENT SIZE 80);
CREATE TABLE FixtureServerTime (fixed_time TIMESTAMP);
INSERT INTO FixtureServerTime VALUES (NULL);
SET TERM ^ ;
CREATE PROCEDURE GET_SERVER_TIME RETURNS (server_time TIMESTAMP) AS
BEGIN
  SELECT COALESCE(fixed_time, CAST('NOW' AS TIMESTAMP)) FROM FixtureServerTime
    INTO :server_time;
  SUSPEND;
END^
SET TERM ; ^
COMMIT;
EOF
}

disk_space_sql() {
  cat <<'EOF'
CREATE TABLE FixtureFreeSpace (free_bytes BIGINT);
INSERT INTO FixtureFreeSpace VALUES (1000000000);
SET TERM ^ ;
CREATE FUNCTION GetFreeDiskSpace (drive CHAR(1)) RETURNS BIGINT AS
BEGIN
  RETURN (SELECT FIRST 1 free_bytes FROM FixtureFreeSpace);
END^
SET TERM ; ^
COMMIT;
EOF
}

make_database() {
  local file=$1 body=$2
  [ -f "$ROOT/db/$file" ] && return 0
  log "creating fixture database $file"
  # Two sessions: the server knows the default character set of a new
  # database only from the next attachment on.
  if ! (
    set -e
    echo "CREATE DATABASE 'localhost:$ROOT/db/$file' USER '$PRODUCT_USER' PASSWORD '$PRODUCT_PASSWORD' DEFAULT CHARACTER SET ISO8859_1;" \
      | isql-fb -q -bail
    echo "$body" | isql-fb -q -bail -user "$PRODUCT_USER" -password "$PRODUCT_PASSWORD" \
      "localhost:$ROOT/db/$file" >/dev/null
  ); then
    rm -f "$ROOT/db/$file"
    log "could not create $file" >&2
    exit 1
  fi
}

make_fixtures() {
  make_product_user
  make_database TVP.FDB "$(schema_sql)
$(disk_space_sql)
INSERT INTO ConnectionControl VALUES (2, 'TVP_PRO');
INSERT INTO ConnectionControl VALUES (3, '1');
COMMIT;"
  make_database BARE.FDB "$(schema_sql)"
}

stop_server() {
  if is_running; then
    local pid
    pid=$(cat "$PIDFILE")
    log "stopping the server (pid $pid)"
    # runuser stays the parent of the server: end the whole process group.
    kill -TERM -- "-$pid" 2>/dev/null || kill -TERM "$pid"
    for _ in $(seq 1 100); do
      kill -0 "$pid" 2>/dev/null || break
      sleep 0.1
    done
  fi
  rm -f "$PIDFILE"
}

case "${1:-start}" in
  start)
    write_config
    make_security_db
    start_server
    make_fixtures
    log "running on localhost:$PORT (root $ROOT)"
    ;;
  stop)
    stop_server
    ;;
  reset)
    stop_server
    rm -rf "$ROOT"
    log "state removed"
    ;;
  status)
    if is_running; then log "running (pid $(cat "$PIDFILE"))"; else log "stopped"; exit 3; fi
    ;;
  *)
    echo "usage: $0 start|stop|reset|status" >&2
    exit 2
    ;;
esac
