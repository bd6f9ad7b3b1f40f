#!/usr/bin/env bash
# Lists the names that the platform layer's public headers declare and that no
# program, tool or benchmark names, and fails when one of them is not on the
# short list below.
#   scripts/check-platform-names.sh           the check (run by the suite; 77,
#                                             skipped, without universal-ctags)
#   scripts/check-platform-names.sh --count   how many names, how many uncalled
#
# Names are what universal-ctags finds in platform/*/include and
# platform/*/*/include: classes, structs, unions, enums and their enumerators,
# typedefs, macros, functions, methods and the data members of classes, where
# they are public or protected. Left out: the test libraries' headers (tests
# are their only callers), the internal/ folders (the layer's own libraries
# and tests share them; no program's include path has them), private members
# and the enumerators of private enums, the fields of records (structs),
# constructors, destructors and operators. A name counts as called when it
# appears as a word, outside comments and text literals, in a source file of
# meterapp/, seriallink/, launcher/, tools/ or bench/, or in the declaration
# of a platform name that counts as called: the expansion of a macro (a
# message-map macro names the framework's machinery in the program's code),
# the body of a function defined in a header, the result and parameter types
# of a function, the bases of a class, what a typedef stands for, the types of
# a member or of a struct's fields. The check goes by the word alone: a method
# is counted as called when any class's member of that name is named, so an
# override a program writes keeps the base's name. What only tests/ or
# platform/ itself name is reported.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"

# Names no program spells, kept on purpose.
allowed=(
  classCObject     # CObject's run-time class: RUNTIME_CLASS and DECLARE_DYNAMIC paste it together
  IsWow64Process   # Setwell looks it up by its name, a text, through GetProcAddress
  StartProcess     # the one process starter, behind ShellExecuteW (win32) and Shell (forms)
  None             # FileRefusal values a program gets from Refusal() and tells apart only
  System           #   from Folder and NotAFile: they are part of what it receives
)

mode="${1:-check}"

# Without universal-ctags there is nothing to count with: the suite reports
# the check as skipped (77), not as passed.
if ! ctags --version 2>/dev/null | grep -q 'Universal Ctags'; then
  echo "universal-ctags is missing (scripts/deps.sh --tests installs it): the platform-name check is skipped"
  exit 77
fi
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

mapfile -t headers < <(find platform -path '*/include/*' -name '*.h' ! -path '*/testing/*' | sort)
mapfile -t sources < <(find meterapp seriallink launcher tools bench -type f \( -name '*.cpp' -o -name '*.h' \) | sort)

ctags_common=(--languages=C++ --langmap=C++:+.h -x)

# kind|access|name|scope|file:line of every declaration.
ctags "${ctags_common[@]}" --kinds-C++=cdefgmpstuvx --fields=+aK \
  --_xformat='%{kind}|%{access}|%N|%{scope}|%F:%n|%{scopeKind}' "${headers[@]}" > "$work/tags"
# The enumerators of a private enum are private too.
awk -F'|' '
    NR == FNR { if ($1 == "enum" && $2 == "private") hidden[($4 == "" ? "" : $4 "::") $3] = 1; next }
    $1 == "enumerator" && ($4 in hidden) { next }
    $2 == "private" { next }
    $1 == "member" && $6 != "class" { next }
    $3 ~ /^(~|operator|__anon)/ { next }
    { n = split($4, s, "::"); if (n > 0 && s[n] == $3) next }   # a constructor
    { print }' "$work/tags" "$work/tags" | sort -t'|' -k3,3 -u > "$work/declared"
cut -d'|' -f3 "$work/declared" > "$work/names"

# Words of the programs' code, without comments, text and character literals.
g++ -x c++ -fpreprocessed -dD -E -P -w "${sources[@]}" |
  sed -E 's/"([^"\\]|\\.)*"//g; s/'"'"'([^'"'"'\\]|\\.)*'"'"'//g' |
  grep -oE '[A-Za-z_][A-Za-z0-9_]*' | sort -u > "$work/used"

# A name that counts as called brings in the names its declaration needs: a
# macro its expansion, a function the types of its result and parameters, a
# class or struct its bases, a typedef what it stands for, a data member its
# type.
ctags "${ctags_common[@]}" --kinds-C++=d --fields-C++=+'{macrodef}' \
  --_xformat='%N|%{C++.macrodef}' "${headers[@]}" > "$work/needs"
ctags "${ctags_common[@]}" --kinds-C++=fp --fields=+St \
  --_xformat='%N|%{signature} %{typeref}' "${headers[@]}" >> "$work/needs"
ctags "${ctags_common[@]}" --kinds-C++=cstu \
  --_xformat='%N|%{pattern}' "${headers[@]}" >> "$work/needs"
ctags "${ctags_common[@]}" --kinds-C++=mvx --fields=+t \
  --_xformat='%N|%{typeref}' "${headers[@]}" >> "$work/needs"
# A struct's fields: what their types name is needed wherever the struct is.
ctags "${ctags_common[@]}" --kinds-C++=m --fields=+tZK \
  --_xformat='%{scope}|%{typeref}|%{scopeKind}' "${headers[@]}" |
  awk -F'|' '$3 == "struct" { sub(/.*::/, "", $1); print $1 "|" $2 }' >> "$work/needs"
# A function defined in a header (inline, constexpr, a template) needs what
# its body names, as a macro needs its expansion.
ctags "${ctags_common[@]}" --kinds-C++=f --fields=+ne \
  --_xformat='%N|%F|%n|%{end}' "${headers[@]}" |
  while IFS='|' read -r name file first last; do
    [ -n "$last" ] || continue
    printf '%s|%s\n' "$name" "$(sed -n "${first},${last}p" "$file" | tr '\n' ' ')"
  done >> "$work/needs"
sed -i 's/typename:/ /g' "$work/needs"
while :; do
  awk -F'|' 'NR == FNR { used[$1] = 1; next }
             ($1 in used) { sub(/^[^|]*\|/, ""); print }' "$work/used" "$work/needs" |
    grep -oE '[A-Za-z_][A-Za-z0-9_]*' | sort -u | comm -13 "$work/used" - > "$work/more" || true
  [ -s "$work/more" ] || break
  sort -u "$work/used" "$work/more" -o "$work/used"
done

comm -23 "$work/names" "$work/used" > "$work/uncalled"
printf '%s\n' "${allowed[@]}" | sort -u > "$work/allowed"

if [ "$mode" = "--count" ]; then
  echo "public names: $(wc -l < "$work/names")"
  echo "named by no program, tool or benchmark: $(wc -l < "$work/uncalled")"
  echo "of them on the allowed list: $(comm -12 "$work/uncalled" "$work/allowed" | wc -l)"
  exit 0
fi

status=0
comm -23 "$work/uncalled" "$work/allowed" > "$work/unexpected"
if [ -s "$work/unexpected" ]; then
  echo "Public platform names that no program, tool or benchmark names:"
  awk -F'|' 'NR == FNR { want[$1] = 1; next } ($3 in want) { printf "  %-32s %-10s %s\n", $3, $1, $5 }' \
    "$work/unexpected" "$work/declared"
  echo "Remove them (with their tests), make them internal, or add them to the list in $0 with the reason."
  status=1
fi
comm -13 "$work/uncalled" "$work/allowed" > "$work/stale"
if [ -s "$work/stale" ]; then
  echo "Allowed in $0 but named by a program now, or no longer declared:"
  sed 's/^/  /' "$work/stale"
  status=1
fi
[ $status -eq 0 ] && echo "Every public platform name has a caller outside platform/ and tests/ ($(wc -l < "$work/names") names)."
exit $status
