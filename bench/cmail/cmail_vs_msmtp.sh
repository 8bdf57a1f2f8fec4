#!/usr/bin/env bash
# One mail with a PDF attachment through the loopback SMTP server (STARTTLS + AUTH +
# DSN), sent alternately by cmail and by msmtp, RUNS times each. msmtp gets the very
# bytes cmail sent (taken from the server's spool), so both carry the same message.
# Prints the median wall time of each and the ratio cmail / msmtp (goal: <= 1).
# Usage: cmail_vs_msmtp.sh BUILD_DIR [RUNS]
set -euo pipefail
build="$(cd "${1:?usage: cmail_vs_msmtp.sh BUILD_DIR [RUNS]}" && pwd)"
runs="${2:-15}"
here="$(cd "$(dirname "$0")" && pwd)"
servers="$here/../../tests/mailserver"
cmail="$build/tools/cmail/cmail"
[ -x "$cmail" ] || { echo "cmail_vs_msmtp: $cmail is not built" >&2; exit 1; }
command -v msmtp >/dev/null || { echo "cmail_vs_msmtp: msmtp is not installed" >&2; exit 1; }

work="$(mktemp -d)"
server_pid=""
cleanup() {
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null && wait "$server_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

user="bench@firma.test"
password="ben:ch@pw"
"$servers/make_cert.sh" "$work/certs" >/dev/null
/usr/bin/python3 "$servers/smtp_server.py" --spool "$work/spool" --ready-file "$work/ready" \
  --cert "$work/certs/server.pem" --key "$work/certs/server.key" \
  --user "$user" --password "$password" 2>"$work/server.log" &
server_pid=$!
for _ in $(seq 100); do [ -s "$work/ready" ] && break; sleep 0.1; done
[ -s "$work/ready" ] || { echo "cmail_vs_msmtp: server did not start" >&2; cat "$work/server.log" >&2; exit 1; }
port="$(cat "$work/ready")"

mkdir -p "$work/office/ZUMA"
head -c 200000 /dev/urandom >"$work/office/ZUMA/Rechnung.pdf"
printf '[drives]\nC=%s\n[mail]\ncafile=%s\n' "$work/office" "$work/certs/ca.pem" >"$work/sendwerk.conf"
cat >"$work/msmtprc" <<RC
account bench
host 127.0.0.1
port $port
tls on
tls_starttls on
tls_trust_file $work/certs/ca.pem
auth on
user $user
password $password
from buero@firma.test
RC
chmod 600 "$work/msmtprc"

subject="$(printf -- '-subject:Rechnung f\xfcr M\xfcller \x80 100')"
body="$(printf -- '-body:Sehr geehrte Frau M\xfcller,\r\nanbei die Rechnung.')"
export SENDWERK_CONFIG="$work/sendwerk.conf"
cd "$work/office"
send_cmail() {
  "$cmail" "-host:$user:$password@127.0.0.1:$port" -starttls -to:kunde@example.test -from:buero@firma.test \
    -reply-to:antwort@firma.test "$subject" "$body" '-a:C:\ZUMA\Rechnung.pdf' -dsn:SFD -mdn \
    '-results:bench.result' 2>/dev/null
}
send_msmtp() {
  msmtp --file="$work/msmtprc" --account=bench --dsn-notify=success,failure,delay --dsn-return=headers \
    kunde@example.test <"$work/message.eml"
}
now_ns() { date +%s%N; }

send_cmail  # warm-up, and the message msmtp will send
grep -q '"status": "accepted"' bench.result || { echo "cmail_vs_msmtp: cmail failed" >&2; cat bench.result >&2; exit 1; }
cp "$work/spool/0001.eml" "$work/message.eml"
send_msmtp  # warm-up

cmail_times=()
msmtp_times=()
for _ in $(seq "$runs"); do
  start=$(now_ns); send_cmail; cmail_times+=($(( ($(now_ns) - start) / 1000 )))
  start=$(now_ns); send_msmtp; msmtp_times+=($(( ($(now_ns) - start) / 1000 )))
done

median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
cmail_median=$(median "${cmail_times[@]}")
msmtp_median=$(median "${msmtp_times[@]}")
echo "cmail vs msmtp: one mail, 200 kB PDF, STARTTLS + AUTH + DSN, loopback, $runs runs each"
awk -v c="$cmail_median" -v m="$msmtp_median" 'BEGIN {
  printf "  cmail median: %8.1f ms\n  msmtp median: %8.1f ms\n  ratio cmail/msmtp: %.2f\n", c / 1000, m / 1000, c / m }'
