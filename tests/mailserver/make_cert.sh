#!/usr/bin/env bash
# Makes the certificates for the loopback SMTP server in DIR (created if missing):
#   ca.pem                  a throw-away test CA (its key ca.key stays beside it)
#   server.pem, server.key  for 127.0.0.1 and localhost, signed by the CA
#   other.pem, other.key    for another host name only, signed by the CA (host mismatch)
# Usage: make_cert.sh DIR
set -euo pipefail
dir="${1:?usage: make_cert.sh DIR}"
mkdir -p "$dir"
cd "$dir"

openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 30 -subj "/CN=Sendwerk Test CA" \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign" \
  -keyout ca.key -out ca.pem 2>/dev/null

issue() {  # name, common name, subjectAltName
  openssl req -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -subj "/CN=$2" -keyout "$1.key" -out "$1.csr" 2>/dev/null
  printf 'basicConstraints=CA:FALSE\nkeyUsage=digitalSignature\nextendedKeyUsage=serverAuth\nsubjectAltName=%s\n' "$3" >"$1.ext"
  openssl x509 -req -in "$1.csr" -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
    -extfile "$1.ext" -out "$1.pem" 2>/dev/null
  rm -f "$1.csr" "$1.ext"
}
issue server localhost "IP:127.0.0.1,DNS:localhost"
issue other mail.elsewhere.example "DNS:mail.elsewhere.example"
