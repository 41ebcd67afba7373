#!/usr/bin/env bash
# Builds the release: the project's files (tracked and new, nothing ignored, so no
# build folder) copied to a fresh folder, Vellicor.exe built there with the mingw
# preset, and packed as dist/Vellicor-<version>-win64.zip with dist/SHA256SUMS.
# The same commit gives the same bytes, wherever and whenever it is built.
#   scripts/release.sh [--dist FOLDER] [--exe Vellicor.exe]
# --exe packs a program file built elsewhere instead (the test command compares its own
# build with a fresh one that way).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup-debian.sh

dist=$PWD/dist
exe=
while (($#)); do
  case $1 in
    --dist) dist=$(realpath -m "$2"); shift 2 ;;
    --exe) exe=$(realpath "$2"); shift 2 ;;
    *) echo "usage: scripts/release.sh [--dist FOLDER] [--exe Vellicor.exe]" >&2; exit 2 ;;
  esac
done

# major.minor.revision from the project's version (major.minor.0.revision).
version=$(sed -nE 's/^project\(Vellicor VERSION ([0-9]+)\.([0-9]+)\.[0-9]+\.([0-9]+) .*/\1.\2.\3/p' CMakeLists.txt)
zip=Vellicor-$version-win64.zip
# The zip's entries carry the commit's time, not the build's.
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
git diff --quiet HEAD -- || echo "note: the tree has changes not committed to $(git rev-parse --short HEAD)" >&2

if [[ -z $exe ]]; then
  work=$(mktemp -d "${TMPDIR:-/tmp}/vellicor-release.XXXXXX")
  trap 'rm -rf "$work"' EXIT
  git ls-files -z --cached --others --exclude-standard |
    while IFS= read -r -d '' file; do [[ -f $file ]] && printf '%s\0' "$file"; done |
    tar --null -T - -cf - | tar -xf - -C "$work"
  (cd "$work" && cmake --preset mingw >/dev/null && cmake --build --preset mingw -j "$(nproc)" --target Vellicor >/dev/null)
  exe=$work/build/mingw/src/win32/Vellicor.exe
fi

# Fixed entry order, times and attributes, text with Windows line ends.
mkdir -p "$dist"
python3 - "$dist/$zip" "$exe" <<'EOF'
import os, sys, time, zipfile
target, exe = sys.argv[1], sys.argv[2]
stamp = time.gmtime(max(int(os.environ["SOURCE_DATE_EPOCH"]), 315532800))[:6]  # zip times start in 1980
def crlf(path):
    with open(path, "rb") as f:
        return f.read().replace(b"\r\n", b"\n").replace(b"\n", b"\r\n")
entries = [("Vellicor.exe", open(exe, "rb").read()), ("README.txt", crlf("README.md")), ("LICENSE.txt", crlf("LICENSE"))]
with zipfile.ZipFile(target, "w") as archive:
    for name, data in entries:
        info = zipfile.ZipInfo(name, stamp)
        info.create_system = 0  # MS-DOS: no Unix owner or permission bits, whatever the umask
        info.external_attr = 0x20  # FILE_ATTRIBUTE_ARCHIVE, as Windows' own zip folders write it
        info.compress_type = zipfile.ZIP_DEFLATED
        archive.writestr(info, data, compresslevel=9)
EOF
(cd "$dist" && sha256sum "$zip" >SHA256SUMS)
echo "$dist/$zip"
cat "$dist/SHA256SUMS"
