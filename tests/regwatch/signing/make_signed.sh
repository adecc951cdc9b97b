#!/bin/sh
# Makes a certificate authority for the signature tests and, with it, three
# copies of one program: signed, unsigned, changed after signing, and signed
# for a publisher named Microsoft.
#   make_signed.sh OUTPUT_DIR PROGRAM
set -eu
out=$1
program=$2
mkdir -p "$out"
cd "$out"
rm -f ./*.pem ./*.key ./*.srl ./*.exe root.cer
cat > ca.ext <<'EXT'
basicConstraints = critical, CA:TRUE
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
EXT
cat > signer.ext <<'EXT'
basicConstraints = CA:FALSE
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
authorityKeyIdentifier = keyid
subjectKeyIdentifier = hash
EXT
openssl req -new -newkey rsa:2048 -nodes -keyout ca.key -out ca.csr -subj "/CN=Korvanel Test Root" 2>/dev/null
openssl x509 -req -in ca.csr -signkey ca.key -days 3650 -sha256 -extfile ca.ext -out ca.pem 2>/dev/null
openssl req -new -newkey rsa:2048 -nodes -keyout signer.key -out signer.csr -subj "/CN=Korvanel Test Publisher" 2>/dev/null
openssl x509 -req -in signer.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 3650 -sha256 \
  -extfile signer.ext -out signer.pem 2>/dev/null
openssl x509 -in ca.pem -outform DER -out root.cer
cat signer.pem ca.pem > chain.pem
cp "$program" unsigned.exe
osslsigncode sign -certs chain.pem -key signer.key -h sha256 -n "Korvanel signee" \
  -in unsigned.exe -out signed.exe >/dev/null
# The same authority vouching for a publisher named Microsoft.
openssl req -new -newkey rsa:2048 -nodes -keyout ms.key -out ms.csr -subj "/CN=Microsoft Corporation" 2>/dev/null
openssl x509 -req -in ms.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 3650 -sha256 \
  -extfile signer.ext -out ms.pem 2>/dev/null
cat ms.pem ca.pem > mschain.pem
osslsigncode sign -certs mschain.pem -key ms.key -h sha256 -n "Korvanel signee" \
  -in unsigned.exe -out mssigned.exe >/dev/null
# One letter of the DOS stub's message, which the signature covers.
cp signed.exe tampered.exe
printf 't' | dd of=tampered.exe bs=1 seek=78 conv=notrunc 2>/dev/null
