# Sourced by the make_*_bitmaps.sh scripts: works beside the scripts, finds ImageMagick ($im) and
# gives a scratch folder ($tmp) that goes away at exit.
set -e
cd "$(dirname "$0")"
im=convert
command -v convert-im6.q16 >/dev/null 2>&1 && im=convert-im6.q16
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
