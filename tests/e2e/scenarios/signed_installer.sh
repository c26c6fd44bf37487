# A release signed with scripts/sign: a throwaway code-signing certificate made with openssl
# signs a copy of the installer from a PEM certificate and key and from a PKCS#12 file, each
# an Authenticode SHA-256 signature that verifies against that certificate. The payload the
# installer carries in its resources is covered by the signature: one byte changed in the
# install manifest's resource makes verification fail. Taken off again, the signature leaves
# the built bytes (check-reproducible --release). The signed installer still reads its payload:
# it installs through the wizard under Wine. Refusals of scripts/sign give 1 (an untrusted
# certificate, a wrong password, an unreachable time-stamp server) or 2 (usage), and leave no
# signed file behind.
. "$(dirname "$0")/../lib.sh"
sign="$e2e_here/../../scripts/sign"
check="$e2e_here/../../scripts/check-reproducible"
e2e_begin

keys="$WINEPREFIX/drive_c/signing"
mkdir -p "$keys"
cat >"$keys/signer.cnf" <<'EOF'
[req]
distinguished_name = dn
x509_extensions = ext
prompt = no
[dn]
CN = Quillon test publisher
O = Tovrin
[ext]
basicConstraints = critical,CA:FALSE
keyUsage = critical,digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
EOF
openssl req -x509 -newkey rsa:2048 -nodes -days 2 -config "$keys/signer.cnf" \
  -keyout "$keys/key.pem" -out "$keys/cert.pem" 2>/dev/null || e2e_fail "no test certificate"
echo "throwaway pass" >"$keys/password"
echo "wrong pass" >"$keys/wrong"
openssl pkcs12 -export -inkey "$keys/key.pem" -in "$keys/cert.pem" -out "$keys/signer.p12" \
  -passout "file:$keys/password" || e2e_fail "no PKCS#12 file"

unsigned="$keys/QuillonSetup.exe"
cp "$setup_dir/QuillonSetup.exe" "$unsigned"

# How each signer signs: the signed file verifies, is SHA-256, and is the built file plus
# its signature.
while read -r signer args; do
  out="$keys/signed-$signer.exe"
  # shellcheck disable=SC2086  # the arguments of the table's row
  "$sign" $args --ca-file "$keys/cert.pem" "$unsigned" "$out" || e2e_fail "$signer: signing failed"
  report=$(osslsigncode verify -CAfile "$keys/cert.pem" -in "$out" 2>&1) ||
    { echo "$report" >&2; e2e_fail "$signer: the signed installer does not verify"; }
  grep -q 'Message digest algorithm *: SHA256' <<<"$report" || e2e_fail "$signer: not SHA-256"
  grep -q 'Quillon test publisher' <<<"$report" || e2e_fail "$signer: not signed by the test publisher"
  "$check" --release "$out" "$unsigned" || e2e_fail "$signer: the signed file is not the built one"
done <<EOF
pem --cert $keys/cert.pem --key $keys/key.pem
pkcs12 --pkcs12 $keys/signer.p12 --password-file $keys/password
EOF

# The install manifest's resource is part of what is signed.
signed="$keys/signed-pkcs12.exe"
manifest_at=$(grep -obUa $'tabvo1.dll=0\r' "$signed" | head -n 1 | cut -d: -f1)
[ -n "$manifest_at" ] || e2e_fail "no install manifest in the installer's bytes"
read -r rsrc_size rsrc_at < <(x86_64-w64-mingw32-objdump -h "$signed" |
  awk '$2 == ".rsrc" {print $3, $6}')
[ "$manifest_at" -ge $((16#$rsrc_at)) ] && [ "$manifest_at" -lt $((16#$rsrc_at + 16#$rsrc_size)) ] ||
  e2e_fail "the install manifest at $manifest_at is not in the resource section"
cp "$signed" "$keys/tampered.exe"
printf '0' | dd of="$keys/tampered.exe" bs=1 seek=$((manifest_at + 5)) conv=notrunc status=none
if osslsigncode verify -CAfile "$keys/cert.pem" -in "$keys/tampered.exe" >/dev/null 2>&1; then
  e2e_fail "a changed payload resource still verifies"
fi
echo "a changed byte in the payload's resources fails verification"

# Refusals: the exit status, and no signed file left.
while read -r want why args; do
  rm -f "$keys/refused.exe"
  status=0
  # shellcheck disable=SC2086
  "$sign" $args "$unsigned" "$keys/refused.exe" >/dev/null 2>&1 || status=$?
  [ "$status" = "$want" ] || e2e_fail "sign with $why: exit $status, expected $want"
  [ ! -e "$keys/refused.exe" ] || e2e_fail "sign with $why left a signed file"
done <<EOF
1 an-untrusted-certificate --pkcs12 $keys/signer.p12 --password-file $keys/password
1 a-wrong-password --pkcs12 $keys/signer.p12 --password-file $keys/wrong --ca-file $keys/cert.pem
1 an-unreachable-time-stamp-server --cert $keys/cert.pem --key $keys/key.pem --ca-file $keys/cert.pem --timestamp http://127.0.0.1:9/
2 no-key --cert $keys/cert.pem --ca-file $keys/cert.pem
2 both-kinds-of-signer --pkcs12 $keys/signer.p12 --cert $keys/cert.pem --key $keys/key.pem
2 an-unknown-option --cert $keys/cert.pem --key $keys/key.pem --sha1
EOF
echo "scripts/sign refuses with the right status"

# The signed installer, run as a user runs it, installs its payload.
cp "$signed" "$setup_dir/QuillonSetup.exe"
e2e_excel
e2e_make_pinfo "" "" "" "河图" ""
mkdir -p "$(e2e_unix_path 'C:\Apps\Quillon')"
e2e_drive <<'SCRIPT'
launch C:\setup\QuillonSetup.exe
wait-form 30
click btnNext
wait-visible 10 tabAgree 1
click radAgree
save-text Memo1 C:\licence_shown.txt
click btnNext
wait-visible 10 tabDir 1
set-text edDir "C:\Apps\Quillon"
click btnNext
wait-visible 60 tabFinished 1
click btnOK
wait-exit 15 0
SCRIPT
e2e_expect_installed 'C:\Apps\Quillon' 0 "" 0 "河图"
echo "the signed installer installed its payload"
