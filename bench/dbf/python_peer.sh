#!/usr/bin/env bash
# The peer figure for the send-log append benchmark: 10,000 appends with python3-dbf to
# a table of the same six C fields, in a temporary folder; prints records/s.
# Run: bench/dbf/python_peer.sh
set -euo pipefail
folder=$(mktemp -d)
trap 'rm -rf "$folder"' EXIT
/usr/bin/python3 - "$folder/LOG_SENDWERK.dbf" <<'PY'
import sys
import time

import dbf

records = 10000
table = dbf.Table(sys.argv[1], 'AUFTRNR C(6); ART C(1); DATUM C(10); ZEIT C(8); FORMULAR C(50); ADRESSE C(50)',
                  dbf_type='db3', codepage='cp1252')
table.open(dbf.READ_WRITE)
start = time.perf_counter()
for i in range(records):
    table.append((str(100000 + i), 'M', '15.07.24', '12:34:56', 'Sterbefall', 'empfaenger@example.org'))
table.close()
seconds = time.perf_counter() - start
print(f"python3-dbf: {records} appends in {seconds:.3f} s = {records / seconds:.0f} records/s")
PY
