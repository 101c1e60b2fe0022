#!/usr/bin/env bash
# The world's certificates as real X.509 certificates, made once per build (under
# WIN_BUILD_DIR/sim-certs) and put in the prefix's current-user stores by vxsim-certs: the roots
# in ROOT, the users' certificates, issued by the company's root, in MY, each with its friendly
# name. A certificate's SHA-1 thumbprint is that of NAME.der (tests: cert_hash in lib.sh).
# Usage: scripts/sim-certs.sh WIN_BUILD_DIR, with scripts/wine-env.sh sourced.
set -eu
build=${1:?usage: sim-certs.sh WIN_BUILD_DIR}
dir=$build/sim-certs
# name|common name|issuer's name (the root's own for a root)|valid until, at noon UTC so the
# date is the same in any time zone|store|friendly name
certs='arventa-root|Arventa Corp Root CA|arventa-root|20311231120000Z|ROOT|Arventa Corp Root
campus-root|Campus Trust CA|campus-root|20290630120000Z|ROOT|Campus Trust
alice|alice|arventa-root|20270331120000Z|MY|Alice (CorpSecure)
bob|bob|arventa-root|20270331120000Z|MY|Bob (CorpSecure TLS)'

# Lanes install side by side: one makes the certificates, the others wait for them.
exec 9>"$build/sim-certs.lock"
flock 9
if [ ! -f "$dir/bob.der" ]; then
  rm -rf "$dir"
  mkdir -p "$dir"
  : >"$dir/index.txt"
  echo 01 >"$dir/serial"
  cat >"$dir/ca.cnf" <<CNF
[ca]
default_ca = world
[world]
database = $dir/index.txt
new_certs_dir = $dir
serial = $dir/serial
default_md = sha256
policy = any
unique_subject = no
[any]
commonName = supplied
[root]
basicConstraints = critical, CA:true
keyUsage = keyCertSign, cRLSign
subjectKeyIdentifier = hash
[user]
basicConstraints = CA:false
keyUsage = digitalSignature, keyEncipherment
extendedKeyUsage = clientAuth
CNF
  while IFS='|' read -r name cn issuer until _ _; do
    openssl req -new -newkey rsa:2048 -nodes -keyout "$dir/$name.key" -subj "/CN=$cn" -out "$dir/$name.csr" 2>/dev/null
    if [ "$issuer" = "$name" ]; then
      sign=(-selfsign -keyfile "$dir/$name.key" -extensions root)
    else
      sign=(-cert "$dir/$issuer.pem" -keyfile "$dir/$issuer.key" -extensions user)
    fi
    openssl ca -batch -notext -config "$dir/ca.cnf" "${sign[@]}" -startdate 20240101000000Z -enddate "$until" \
      -in "$dir/$name.csr" -out "$dir/$name.pem" 2>/dev/null
    openssl x509 -in "$dir/$name.pem" -outform DER -out "$dir/$name.der"
  done <<<"$certs"
fi
flock -u 9
# The current user's stores hold only the world's certificates (the host's roots, which Wine's ROOT
# store shows too, are the machine's): an earlier build's, of other keys, go. A store a broken
# run left locked is unlocked.
for store in MY Root; do
  "$VX_WINE" "$build/src/sim/install/vxsim-certs.exe" unlock "$store"
  "$VX_WINE" reg delete "HKCU\\Software\\Microsoft\\SystemCertificates\\$store\\Certificates" /f >/dev/null 2>&1 || true
done
while IFS='|' read -r name _ _ _ store friendly; do
  "$VX_WINE" "$build/src/sim/install/vxsim-certs.exe" add "$store" "$(winepath -w "$dir/$name.der")" "$friendly"
done <<<"$certs"
