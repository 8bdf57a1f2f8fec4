#!/usr/bin/env bash
# End-to-end test of the operator window under a real X server (run it through
# xvfb-run): a temporary demo office with five orders (accepted, a list of two
# recipients, quarantine, a recipient without "@", a server refusal), the loopback
# SMTP server, `sendwerk` started on it. The test clicks SENDEN, waits (bounded) for the
# archive files, the failure and quarantine files, the send log records and the mails,
# with the send log open in the browser (Alt+L) since before SENDEN, corrects a cell in
# it and closes it with Esc, then presses Esc and checks the orderly end: exit status 0,
# the records on disk and the panes' texts, which the program writes on its orderly end
# to $SENDWERK_PANE_DUMP. Then it starts the program again with Ctrl held: the whitelist
# editor opens, a typed address is saved with Ctrl+W, Esc and the closing message end
# the program.
#
# Usage: window_e2e.sh BUILD_DIR
set -euo pipefail

build="$(realpath "${1:?usage: window_e2e.sh BUILD_DIR}")"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
dbftool="$build/tools/dbftool/dbftool"
[ -n "${DISPLAY:-}" ] || { echo "window_e2e: no DISPLAY; run through xvfb-run" >&2; exit 1; }

work="$(mktemp -d /tmp/sendwerk-e2e.XXXXXX)"
server=""
program=""
cleanup() {
  [ -n "$program" ] && kill "$program" 2>/dev/null || true
  [ -n "$server" ] && kill "$server" 2>/dev/null || true
  wait 2>/dev/null || true
  if [ "${KEEP_E2E:-}" = 1 ]; then echo "window_e2e: kept $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT

fail() {
  echo "window_e2e: FAIL: $*" >&2
  for log in smtp.log sendwerk.log; do
    [ -s "$work/$log" ] && { echo "--- $log" >&2; tail -30 "$work/$log" >&2; }
  done
  exit 1
}

# Polls `condition` (a shell command) every 0.2 s until it holds or `seconds` pass.
wait_for() {  # seconds, description, condition...
  local seconds="$1" what="$2"
  shift 2
  local deadline=$((SECONDS + seconds))
  until "$@" >/dev/null 2>&1; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out after ${seconds}s waiting for $what"
    sleep 0.2
  done
}

# Waits (bounded) for the program to end after `what` and wants exit status 0.
program_ended() {  # seconds, what
  running() { kill -0 "$program" 2>/dev/null; }
  local deadline=$((SECONDS + $1))
  while running; do
    [ "$SECONDS" -lt "$deadline" ] || fail "the program did not end after $2"
    sleep 0.2
  done
  local status=0
  wait "$program" || status=$?
  program=""
  [ "$status" -eq 0 ] || fail "exit status $status after $2"
}

# --- the mail server and the office
mkdir -p "$work/mails"
"$source_dir/tests/mailserver/make_cert.sh" "$work/certs"
/usr/bin/python3 "$source_dir/tests/mailserver/smtp_server.py" --host 127.0.0.1 --port 0 \
  --spool "$work/mails" --cert "$work/certs/server.pem" --key "$work/certs/server.key" \
  --user demo --password geheim --reject550 abgelehnt@kunde-demo.example \
  --ready-file "$work/smtp.port" 2>"$work/smtp.log" &
server=$!
wait_for 30 "the SMTP server" test -s "$work/smtp.port"
SENDWERK_DEMO_EDITOR=true "$source_dir/scripts/make-demo-office" "$build" "$work" "$(cat "$work/smtp.port")" >/dev/null

cmail="$work/c/ZUMA/CMail"
outbox="$cmail/Ausgang"
keep=(Sterbefall_100001_2024-07-15.ausg Vorsorge_100002_2024-07-15.ausg Sterbefall_100003_2024-07-15.ausg
      Sterbefall_100006_2024-07-15.ausg Sterbefall_100007_2024-07-15.ausg)
for order in "$outbox"/*.ausg; do
  name="$(basename "$order")"
  [[ " ${keep[*]} " == *" $name "* ]] || rm "$order"
done

# --- the program
cd "$work"
SENDWERK_CONFIG="$work/sendwerk.conf" SENDWERK_PANE_DUMP="$work/panes.txt" \
  "$build/src/app/sendwerk" >"$work/sendwerk.log" 2>&1 &
program=$!

title="TAVO-Mail - automatisches Mail-Programm (Hilfe mit F1)"
find_window() { xdotool search --onlyvisible --name "automatisches Mail-Programm" | head -1 | grep -q .; }
wait_for 60 "the main window" find_window
window="$(xdotool search --onlyvisible --name "automatisches Mail-Programm" | head -1)"
[ "$(xdotool getwindowname "$window")" = "$title" ] || fail "unexpected title: $(xdotool getwindowname "$window")"

# Alt+L opens the send log in the table browser, which stays open during the send run:
# the main window goes on taking input beside it.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key alt+l
find_log() { xdotool search --onlyvisible --name "Das Logbuch" | head -1 | grep -q .; }
wait_for 60 "the send log window" find_log
log_window="$(xdotool search --onlyvisible --name "Das Logbuch" | head -1)"
[ "$(xdotool getwindowname "$log_window")" = "Das Logbuch für Sendwerk" ] ||
  fail "unexpected log window title: $(xdotool getwindowname "$log_window")"

# SENDEN lies at (156, 11) with size 102 x 26, y up, in the 1200 x 750 window.
xdotool mousemove --window "$window" 207 726
xdotool click 1

archive="$cmail/gesendet/100001/Sterbefall"
wait_for 240 "the archive of order 100001" test -s "$archive/Sterbefall_100001_2024-07-15.result"
# The filing moves the result file before it copies the attachment, so that copy may
# still be on its way when the result file is seen.
for file in Sterbefall_100001_2024-07-15.ausg Sterbefall_100001_2024-07-15.pdf; do
  wait_for 30 "archive file $file" test -s "$archive/$file"
done
wait_for 240 "the list order's archive copies" test -s "$cmail/gesendet/100002/Vorsorge/Vorsorge_100002_2024-07-15-2.result"
wait_for 240 "the refused order in the failure folder" test -s "$outbox/failure/Sterbefall_100007_2024-07-15.result"
[ -s "$outbox/quarantine/Sterbefall_100003_2024-07-15.ausg" ] || fail "order 100003 not quarantined"

# The send log as tab-separated lines: RECNO DELETED AUFTRNR ART DATUM ZEIT FORMULAR ADRESSE.
log_records() { "$dbftool" dump "$cmail/LOG_SENDWERK.DBF" | tail -n +2; }
five_records() { [ "$(log_records | wc -l)" -ge 5 ]; }
wait_for 60 "five send log records" five_records
# The error report mail ends the run.
report_mail() { grep -l "F E H L E R - Meldung von Sendwerk" "$work/mails/"*.eml; }
wait_for 120 "the error report mail" report_mail

# The records of the send run appear in the open browser; a value typed into FORMULAR
# of the first record and left with Enter is in the file; Esc closes the browser and
# the main window goes on.
xdotool windowfocus --sync "$log_window" 2>/dev/null || xdotool windowfocus "$log_window"
# Enter edits the first cell; four Tabs carry the edit to FORMULAR; Ctrl+Y empties it.
xdotool key --delay 150 Return Tab Tab Tab Tab ctrl+y
xdotool type --delay 80 "im-Logbuch-korrigiert"
xdotool key --delay 150 Return
first_formular() { log_records | awk -F'\t' '$1 == 1 {print $7}'; }
corrected() { [ "$(first_formular)" = "im-Logbuch-korrigiert" ]; }
# The keys wait in the queue, in order, until the send run has ended.
wait_for 240 "the corrected FORMULAR of record 1" corrected
xdotool key Escape
gone() { ! find_log; }
wait_for 30 "the send log window to close" gone
kill -0 "$program" 2>/dev/null || fail "the program ended with the send log window"

# Esc waits in the queue until the run has ended, then ends the program in order.
xdotool windowfocus --sync "$window" 2>/dev/null || xdotool windowfocus "$window"
xdotool key Escape
program_ended 60 "Esc"

# --- what the run left behind
log_records >"$work/log.txt"
records="$(wc -l <"$work/log.txt")"
[ "$records" -eq 5 ] || { cat "$work/log.txt" >&2; fail "expected 5 send log records, found $records"; }
for expected in "100001 M anna.berger@kunde-demo.example" "100002 M bernd.koch@kunde-demo.example" \
                "100002 M carla.neumann@kunde-demo.example" "100003 Q unbekannt@fremd-demo.example" \
                "100007 F abgelehnt@kunde-demo.example"; do
  read -r number outcome address <<<"$expected"
  awk -F'\t' -v n="$number" -v o="$outcome" -v a="$address" '$3 == n && $4 == o && $8 == a {found = 1} END {exit !found}' \
    "$work/log.txt" || { cat "$work/log.txt" >&2; fail "send log lacks $expected"; }
done
[ -f "$outbox/Sterbefall_100006_2024-07-15.ausg" ] || fail "the order without @ left the outbox"

mails="$(grep -l '"rcpt_tos"' "$work/mails/"*.json | xargs cat)"
for address in anna.berger bernd.koch carla.neumann; do
  grep -q "$address@kunde-demo.example" <<<"$mails" || fail "no mail to $address"
done
grep -q "unbekannt@fremd-demo.example" <<<"$mails" && fail "the quarantined recipient got a mail"

[ -s "$work/panes.txt" ] || fail "no pane dump"
pane() { awk -v name="== $1" '$0 == name {on = 1; next} /^== / {on = 0} on' "$work/panes.txt"; }
pane_has() {
  pane "$1" | grep -qF -- "$2" || { cat "$work/panes.txt" >&2; fail "pane $1 lacks \"$2\""; }
}
pane_has oMle1 "alle Sendungen bearbeitet!"
pane_has oMle1 "Dateien im Failure-Ordner."
pane_has oMle1 "Dateien im Quarantine-Ordner."
pane_has oMle1 "Sterbefall_100006_2024-07-15.ausg - @Fehler!"
pane_has oMle2 "Sterbefall_100007_2024-07-15.ausg"
pane_has oMle3 "Sterbefall_100003_2024-07-15.ausg"
[ -z "$(pane oMle20 | tr -d '[:space:]')" ] || fail "the pending pane is not empty"

# --- the whitelist edit mode: Ctrl held while the start-up window closes
whitelist="$cmail/WhiteList.mad"
cp "$whitelist" "$work/whitelist.before"
SENDWERK_CONFIG="$work/sendwerk.conf" "$build/src/app/sendwerk" >"$work/sendwerk.log" 2>&1 &
program=$!
# A key held by xdotool is released when its process ends, so one process holds Ctrl
# until the editor is up.
editor_name="Whitelist der Mail-Adressen eingeben/ändern  -  STRG-W zum Speichern dieser Adressen"
timeout 120 xdotool keydown ctrl search --sync --onlyvisible --name "Whitelist der Mail-Adressen" keyup ctrl \
  >/dev/null || fail "the whitelist editor did not open with Ctrl held"
editor="$(xdotool search --onlyvisible --name "Whitelist der Mail-Adressen" | head -1)"
[[ "$(xdotool getwindowname "$editor")" == "$editor_name"* ]] || fail "unexpected title: $(xdotool getwindowname "$editor")"
xdotool windowfocus --sync "$editor" 2>/dev/null || xdotool windowfocus "$editor"
xdotool key ctrl+End
xdotool type --delay 20 "neu.kunde@kunde-demo.example,"
xdotool key ctrl+w
saved() { { cat "$work/whitelist.before"; printf 'neu.kunde@kunde-demo.example,'; } | cmp -s - "$whitelist"; }
wait_for 60 "the whitelist saved with the typed address" saved
xdotool key Escape
closing_box() { xdotool search --onlyvisible --name '^TAVO-Mail$' | head -1 | grep -q .; }
wait_for 60 "the closing message" closing_box
box="$(xdotool search --onlyvisible --name '^TAVO-Mail$' | head -1)"
xdotool windowfocus --sync "$box" 2>/dev/null || xdotool windowfocus "$box"
xdotool key Return
program_ended 60 "the closing message"
[ "$(log_records | wc -l)" -eq 5 ] || fail "the configuration mode touched the send log"
echo "window_e2e: PASS"
