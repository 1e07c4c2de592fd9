#!/usr/bin/env bash
# `make dist`: dist/kelvane-<version>-win64.zip, for users to take:
#   kelvane.exe, README.md (the user's guide), the pictures it shows,
#   LICENSE and a sample kelvane.ini
# then checks that the zip holds exactly these, byte for byte, and that the
# guide has every user section and no build commands.
#   scripts/dist.sh build/mingw/app/kelvane.exe "$(scripts/version.sh)"
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
exe="${1:?usage: dist.sh path/to/kelvane.exe version}"
version="${2:?usage: dist.sh path/to/kelvane.exe version}"
name="kelvane-$version-win64"
staging="$root/build/dist/$name"
archive="$root/dist/$name.zip"

# The sections a user needs, in the README's order; everything from
# "## Commands" on is for contributors.
sections=("What it does" "Installing on Windows" "Settings"
          "Which bar does the file manager show?" "When a toggle is refused")
images=(settings-window.png settings-window-150.png icons.png)

# The guide is the README's user part, so the two cannot drift apart. Its
# images sit beside it in the zip instead of in docs/.
write_guide() {
  printf "# Kelvane %s\n\n" "$version"
  awk '$0 == "## What it does" { inside = 1 } $0 == "## Commands" { exit } inside' "$root/README.md" |
    sed 's#(docs/\([^)/]*\.png\))#(\1)#'
  printf '\n## License\n\nMIT: see LICENSE beside this guide.\n'
}

rm -rf "$staging"
mkdir -p "$staging" "$root/dist"
cp "$exe" "$staging/kelvane.exe"
write_guide >"$staging/README.md"
cp "$root/LICENSE" "$staging/LICENSE"
cp "$root/samples/kelvane.ini" "$staging/kelvane.ini"
for image in "${images[@]}"; do cp "$root/docs/$image" "$staging/$image"; done

rm -f "$archive"
(cd "$staging/.." && zip -q -X -r "$archive" "$name")

fail() { echo "dist.sh: $archive: $*" >&2; exit 1; }

expected=$(printf '%s\n' "$name/" "$name/kelvane.exe" "$name/README.md" "$name/LICENSE" \
  "$name/kelvane.ini" "${images[@]/#/$name/}" | sort)
actual=$(unzip -Z1 "$archive" | sort)
[ "$actual" = "$expected" ] || fail "holds"$'\n'"$actual"$'\n'"instead of"$'\n'"$expected"

unzip -p "$archive" "$name/kelvane.exe" | cmp -s - "$exe" || fail "kelvane.exe differs from $exe"
unzip -p "$archive" "$name/LICENSE" | cmp -s - "$root/LICENSE" || fail "LICENSE differs"
guide=$(unzip -p "$archive" "$name/README.md")
for section in "${sections[@]}"; do
  grep -qxF "## $section" <<<"$guide" || fail "the guide lacks \"## $section\""
done
for image in "${images[@]}"; do
  grep -qF "]($image)" <<<"$guide" || fail "the guide does not show $image"
done
if grep -nE '`(make|cmake|ctest)[ `]|scripts/|docs/|^## (Commands|Layout)' <<<"$guide"; then
  fail "the guide holds build commands or links into the source tree (lines above)"
fi
grep -qF "MIT License" "$staging/LICENSE" || fail "LICENSE is not the MIT license"

echo "$archive"
unzip -l "$archive" | sed -n '4,$p' | head -n -2
