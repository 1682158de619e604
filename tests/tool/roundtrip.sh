#!/usr/bin/env bash
# Round trips through the built quorvel-tool: links it makes must open with the key
# they were made with and fail exactly as the player reports it otherwise, diagnostic
# codes must read back, and every wrong command line must fail cleanly.
#
#   bash roundtrip.sh /path/quorvel-tool
#   bash roundtrip.sh /path/wine-run /path/quorvel-tool.exe
set -euo pipefail

if [ $# -lt 1 ]; then
  echo "usage: roundtrip.sh TOOL [TOOL-ARGS...]" >&2
  exit 2
fi
tool=("$@")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Runs the tool and leaves its exit code in $rc and its streams in $out and $err. The
# tool writes no "\r", but a console layer under Wine might; it is not the tool's.
run() {
  rc=0
  "${tool[@]}" "$@" >"$work/raw" 2>"$work/err.raw" || rc=$?
  sed 's/\r$//' "$work/raw" >"$work/out"
  out=$(cat "$work/out")
  err=$(sed 's/\r$//' "$work/err.raw")
}

# Exactly one line on stdout, ending in a single "\n".
one_line() {
  [ "$(wc -l <"$work/out")" -eq 1 ] && [ "$(tail -c 1 "$work/out" | od -An -tx1 | tr -d ' ')" = 0a ] ||
    fail "$1: expected one line on stdout, got: $(od -c "$work/out" | head -5)"
}

ok() {
  run "$@"
  [ "$rc" -eq 0 ] || fail "quorvel-tool $*: exit $rc: $err"
  one_line "quorvel-tool $*"
}

same() {
  [ "$2" = "$3" ] || fail "$1"$'\n'"  expected: $3"$'\n'"  actual:   $2"
}

# Fails with `code`, nothing on stdout, one "quorvel-tool: " line on stderr.
fails_with() {
  local code=$1
  shift
  run "$@"
  [ "$rc" -eq "$code" ] || fail "quorvel-tool $*: expected exit $code, got $rc (stderr: $err)"
  [ -z "$out" ] || fail "quorvel-tool $*: wrote to stdout on failure: $out"
  [ "$(grep -c '^quorvel-tool: ' <<<"$err")" -eq 1 ] ||
    fail "quorvel-tool $*: expected one 'quorvel-tool: ' line on stderr, got: $err"
}

# Bytes of a percent-encoded text; the tool's links only need this much.
percent_decode() { printf '%b' "${1//%/\\x}"; }
percent_encode_base64() { sed 's/+/%2b/g; s#/#%2f#g; s/=/%3d/g' <<<"$1"; }
# The envelope JSON inside a link part.
envelope_json() { percent_decode "$1" | base64 -d; }

mac_error=$'exception_MAC verification failed \u2014 data may be tampered'
key_a=00112233445566778899aabbccddeeff00112233445566778899aabbccddeeff
key_a_upper=$(tr a-f A-F <<<"$key_a")

# --- links ------------------------------------------------------------------------

ok link key
build_key=$out
[[ $build_key =~ ^[0-9a-f]{64}$ ]] || fail "link key: not 64 lower-case hex digits: $build_key"

ok link make --p1 p1-token --id 42 --domain https://school.example/
plain_link=$out
[[ $plain_link == quorvel:*:*:* ]] || fail "link make: not a three-part link: $plain_link"
ok link open "$plain_link"
same "open with the build's key (domain loses its trailing slash)" "$out" \
  '{"ok":true,"p1":"p1-token","contentLinkId":"42","domain":"https://school.example","directUrl":false}'

# The key printed is the key used: links cross between it and the default either way.
ok link make --p1 a --id b --domain c --key-hex "$build_key"
ok link open "$out"
same "made with the printed key, opened with the build's" "$out" \
  '{"ok":true,"p1":"a","contentLinkId":"b","domain":"c","directUrl":false}'
ok link open "$plain_link" --key-hex "$build_key"
same "made with the build's key, opened with the printed one" "$out" \
  '{"ok":true,"p1":"p1-token","contentLinkId":"42","domain":"https://school.example","directUrl":false}'

# A part whose MAC was taken away, or emptied, proves nothing and is refused.
IFS=: read -r _ part1 part2 part3 <<<"$plain_link"
for mac in '' '"mac":"",'; do
  unsealed=$(envelope_json "$part1" | sed -E "s/\"mac\":\"[0-9a-f]*\",?/$mac/; s/,}\$/}/" | base64 -w0)
  [[ $(base64 -d <<<"$unsealed") != *'"mac":"'[0-9a-f]* ]] || fail "the MAC is still there: $unsealed"
  run link open "quorvel:$(percent_encode_base64 "$unsealed"):$part2:$part3"
  same "link without MAC ($mac): exit" "$rc" 1
  same "link without MAC ($mac)" "$out" '{"ok":false,"reason":"decrypt_failed_missing_mac"}'
done

for domain in http://school.example ftp://school.example HTTP://school.example; do
  ok link make --p1 x --id y --domain "$domain"
  run link open "$out"
  same "domain $domain" "$out" '{"ok":false,"reason":"domain_failed_not_https"}'
done
ok link make --p1 x --id y --domain HTTPS://school.example
ok link open "$out"
same "https in capitals" "$out" \
  '{"ok":true,"p1":"x","contentLinkId":"y","domain":"HTTPS://school.example","directUrl":false}'

ok link make --p1 k --id l --domain m --key-hex "$key_a"
custom_link=$out
ok link open "$custom_link" --key-hex="$key_a_upper"
same "custom key, given in upper case on opening" "$out" \
  '{"ok":true,"p1":"k","contentLinkId":"l","domain":"m","directUrl":false}'
run link open "$custom_link"
same "custom-key link opened with the build's key: exit" "$rc" 1
same "custom-key link opened with the build's key" "$out" "{\"ok\":false,\"reason\":\"$mac_error\"}"

ok link make --p1 "مرحبا بالعالم" --id "https://cdn.example/درس.pdf" --domain "مدرسة.example"
ok link open "$out"
same "Arabic text and a direct address" "$out" \
  '{"ok":true,"p1":"مرحبا بالعالم","contentLinkId":"https://cdn.example/درس.pdf","domain":"مدرسة.example","directUrl":true}'

ok link make --p1 'say "hi" \ now' --id 'http://x' --domain d
ok link open "$out"
same "quotes and backslashes escaped in the JSON" "$out" \
  '{"ok":true,"p1":"say \"hi\" \\ now","contentLinkId":"http://x","domain":"d","directUrl":true}'

# Tampering: part 1 gets part 2's ciphertext under its own MAC.
IFS=: read -r _ part1 part2 part3 <<<"$plain_link"
value2=$(envelope_json "$part2" | sed -E 's/.*"value":"([^"]*)".*/\1/')
tampered=$(envelope_json "$part1" | sed -E "s#\"value\":\"[^\"]*\"#\"value\":\"$value2\"#" | base64 -w0)
[ "$(envelope_json "$part1")" != "$(base64 -d <<<"$tampered")" ] || fail "tampering changed nothing"
run link open "quorvel:$(percent_encode_base64 "$tampered"):$part2:$part3"
same "tampered link: exit" "$rc" 1
same "tampered link" "$out" "{\"ok\":false,\"reason\":\"$mac_error\"}"

run link open "quorvel:$part1:$part2"
same "two-part link: exit" "$rc" 1
same "two-part link" "$out" '{"ok":false,"reason":"split_failed_parts_2"}'

# --- diagnostic codes -------------------------------------------------------------

ok diag make --ts 1700000000 --mk abc "$mac_error"
ok diag read "$out"
same "diag make/read with time and device given" "$out" \
  "{\"kind\":\"error\",\"ts\":1700000000,\"time\":\"2023-11-14T22:13:20Z\",\"mk\":\"abc\",\"reason\":\"$mac_error\"}"

ok diag make --mk m -- "-starts like an option"
ok diag read "$out"
[[ $out == *'"mk":"m","reason":"-starts like an option"}' ]] || fail "reason after --: $out"

# Without options the code carries the clock and this machine's identifier; with
# only --ts the identifier must be the same one.
before=$(date +%s)
ok diag make split_failed_parts_1
after=$(date +%s)
ok diag read "$out"
clock_read=$out
ts=$(sed -E 's/.*"ts":([0-9]+).*/\1/' <<<"$clock_read")
[ "$ts" -ge "$before" ] && [ "$ts" -le "$after" ] || fail "diag make without --ts: ts $ts not in [$before, $after]"
ok diag make --ts 5 split_failed_parts_1
ok diag read "$out"
same "device identifier of the --ts form" "$(sed -E 's/.*("mk":.*)/\1/' <<<"$out")" \
  "$(sed -E 's/.*("mk":.*)/\1/' <<<"$clock_read")"

ok diag read SSL_host
same "plain SSL code" "$out" '{"kind":"plain","code":"SSL_host"}'
ok diag read MITM_PIN_api.example
same "plain pin code" "$out" '{"kind":"plain","code":"MITM_PIN_api.example"}'
fails_with 1 diag read garbage
fails_with 1 diag read QUJDRA==  # valid Base64, but no record inside

# --- video addresses --------------------------------------------------------------

watch='https://www.youtube.com/watch?v=dQw4w9WgXcQ&t=42'
ok url kind "$watch"
same "kind of a watch address" "$out" '{"youtube":true,"zoom":false}'
ok url normalize "$watch" --domain https://school.example
same "normalized watch address" "$out" \
  'https://www.youtube.com/embed/dQw4w9WgXcQ?origin=https%3a%2f%2fschool.example'
ok url kind https://us02web.zoom.us/j/123
same "kind of a meeting address" "$out" '{"youtube":false,"zoom":true}'

# --- the navigation check and the content page -------------------------------------

# One line per target, in order: the decision, a tab, the step that decided. The
# content has no path: only the slash of the below-content step keeps its look-alike out.
run policy check --content https://files.test --domain https://learn.example --kind pdf \
  about:blank https://files.test/x https://files.test.evil.example/x \
  'https://youtube.com:x@evil.example/' file://files.test/share https://cdn.jsdelivr.net/x \
  -- -not-an-option
[ "$rc" -eq 0 ] && [ -z "$err" ] || fail "policy check: exit $rc: $err"
same "policy check" "$(cat "$work/out")" "$(printf '%s\t%s\n' allow about-blank allow same-site \
  cancel cancel cancel user-info cancel scheme allow allow-list cancel scheme)"
[ "$(wc -l <"$work/out")" -eq 7 ] || fail "policy check: not one line per target: $out"

ok page build --url "https://files.test/a'b" --watermark "O'Neil <b>"
[[ $out == "<!DOCTYPE html><html><head><meta charset='utf-8'><title>Quorvel</title>"* ]] ||
  fail "page build: not the player's page: $out"
[[ $out == *"<iframe src='https://files.test/a&#39;b' "* ]] || fail "page build: frame: $out"
[[ $out == *">O&#39;Neil &lt;b&gt;</div>"* ]] || fail "page build: watermark: $out"

# --- wrong command lines and unusable values --------------------------------------

fails_with 2
fails_with 2 lnik key
fails_with 2 link
fails_with 2 link mkae
fails_with 2 link key --verbose
fails_with 2 link make --p1
fails_with 2 link make --p1 a --id b
fails_with 2 link make --p1 a --p1 b --id c --domain d
fails_with 2 link make --p1 a --id b --domain c --no-mac
fails_with 2 link open
fails_with 2 url kind a b
fails_with 2 url normalize "$watch"
fails_with 2 diag make --ts 1
fails_with 2 policy check --content a --domain b --kind c
fails_with 2 policy check --content a --domain b https://x.test/
fails_with 2 page build --url a
fails_with 2 page build --url a --watermark b c

fails_with 1 link make --p1 a --id b --domain c --key-hex "${key_a:1}"
fails_with 1 link make --p1 a --id b --domain c --key-hex "${key_a:1}g"
fails_with 1 link open "$plain_link" --key-hex "${key_a}00"
fails_with 1 diag make --ts 12a r
fails_with 1 diag make --ts -5 r
fails_with 1 diag make --ts "" r
fails_with 1 diag make --ts 18446744073709551616 r

for help in "--help" "-h" "link --help" "diag -h" "link make --help" "link open -h" \
            "diag read --help" "url normalize --help" "policy --help" "policy check --help" \
            "page build -h"; do
  # shellcheck disable=SC2086
  run $help
  [ "$rc" -eq 0 ] && [[ $out == usage:\ quorvel-tool* ]] && [ -z "$err" ] ||
    fail "quorvel-tool $help: exit $rc, stdout: $out, stderr: $err"
done

echo "quorvel-tool round trips passed"
