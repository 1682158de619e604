#!/usr/bin/env bash
# Builds the player's per-user MSI from installer/quorvel.wxs with wixl.
#
#   build-msi.sh --version 4.11.0 --exe quorvel.exe --icon quorvel.ico --out quorvel.msi
#                [--runtime-folder DIR]
#
# --runtime-folder puts a fixed-version browser runtime (a folder holding
# msedgewebview2.exe) beside the program as WebView2Runtime\, which the player prefers
# to an installed runtime. Its files are listed for wixl by wixl-heat.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

usage() { sed -n '2,11p' "$0" | sed 's/^# \{0,1\}//' >&2; exit 2; }
version= exe= icon= out= runtime=
while [ $# -gt 0 ]; do
  case "$1" in
    --version) version=${2:?}; shift 2 ;;
    --exe) exe=${2:?}; shift 2 ;;
    --icon) icon=${2:?}; shift 2 ;;
    --out) out=${2:?}; shift 2 ;;
    --runtime-folder) runtime=${2:?}; shift 2 ;;
    *) usage ;;
  esac
done
[ -n "$version" ] && [ -n "$exe" ] && [ -n "$icon" ] && [ -n "$out" ] || usage
[[ $version =~ ^[0-9]+\.[0-9]+\.[0-9]+$ ]] || { echo "build-msi: version '$version' is not N.N.N" >&2; exit 2; }
for file in "$exe" "$icon"; do
  [ -f "$file" ] || { echo "build-msi: no file $file" >&2; exit 1; }
done

out=$(realpath -m "$out")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# wixl finds sources only by paths relative to where it runs: stage them.
cp "$here/quorvel.wxs" "$work/"
ln -s "$(realpath "$exe")" "$work/quorvel.exe"
ln -s "$(realpath "$icon")" "$work/quorvel.ico"
sources=(quorvel.wxs)
defines=(-D "Version=$version" -D PlayerExe=quorvel.exe -D IconFile=quorvel.ico)
if [ -n "$runtime" ]; then
  [ -f "$runtime/msedgewebview2.exe" ] ||
    { echo "build-msi: $runtime holds no msedgewebview2.exe: not a browser runtime" >&2; exit 1; }
  ln -s "$(realpath "$runtime")" "$work/runtime"
  (cd "$runtime" && find . -type f | sed 's#^\./##' | LC_ALL=C sort) |
    wixl-heat --prefix "" --directory-ref WebView2Runtime --var var.RuntimeFolder \
      --component-group RuntimeFiles --win64 >"$work/runtime.wxs"
  sources+=(runtime.wxs)
  defines+=(-D RuntimeFolder=runtime -D Win64=yes)
fi

mkdir -p "$(dirname "$out")"
(cd "$work" && wixl -a x64 "${defines[@]}" -o "$out.tmp" "${sources[@]}")
mv "$out.tmp" "$out"
