#!/bin/sh
# Checks of the manual pages, one kind per ctest entry:
#   check.sh lint PAGE...         mandoc's lint, warnings included, says nothing
#   check.sh render PAGE...       each page renders: mandoc, and man -l where man is
#   check.sh options TOOL PAGE    every verb and option that TOOL --help (and
#                                 each verb's --help) prints is in PAGE
#   check.sh examples TOOL FIXTURES PAGE...
#                                 every ".Dl isp_table ..." line of the pages'
#                                 EXAMPLES runs in a fresh folder holding our
#                                 fixtures under the names the pages use; a
#                                 ".\" exit N" line before one gives its status
#   check.sh readme TOOL FIXTURES README
#                                 the README's isp_table commands run the same way
#   check.sh changelog TOOL CHANGELOG
#                                 CHANGELOG's newest section is TOOL's version
fail() { echo "FAIL: $*"; exit 1; }
# The page as text, bold and underline taken out.
text() { mandoc -T utf8 "$1" | sed 's/.\x08//g'; }

lint() {
  for page in "$@"; do
    out=$(mandoc -T lint -W warning "$page" 2>&1) || fail "$page: mandoc -T lint: $out"
    [ -z "$out" ] || fail "$page: $out"
  done
  echo "lint: $# pages clean"
}

render() {
  for page in "$@"; do
    name=$(basename "$page" | sed 's/\.[0-9]$//' | tr a-z A-Z)
    for how in mandoc man; do
      if [ "$how" = man ]; then
        command -v man >/dev/null || continue
        out=$(MANPAGER=cat MANWIDTH=80 man -l "$page" 2>&1) || fail "$page: man -l failed"
      else
        out=$(text "$page" 2>&1) || fail "$page: mandoc failed"
      fi
      for want in "$name(" NAME SYNOPSIS DESCRIPTION "EXIT STATUS" "SEE ALSO"; do
        printf '%s\n' "$out" | grep -qF "$want" || fail "$page: $how shows no $want"
      done
      echo "$page: rendered by $how"
    done
  done
}

options() {
  tool=$1 page=$2
  help=$("$tool" --help) || fail "$tool --help: status $?"
  verbs=$(printf '%s\n' "$help" | sed -n 's/^isp_table \([a-z][a-z]*\).*/\1/p' | sort -u)
  opts=$(printf '%s\n' "$help" | grep -o -- '--[a-z][a-z-]*')
  for verb in $verbs; do
    # A verb with a help of its own adds what it lists.
    if more=$("$tool" "$verb" --help 2>/dev/null); then
      opts="$opts $(printf '%s\n' "$more" | grep -o -- '--[a-z][a-z-]*')"
    fi
  done
  opts=$(printf '%s\n' $opts | sort -u)
  [ "$(printf '%s\n' $verbs | wc -l)" -ge 3 ] || fail "fewer than 3 verbs in --help: $verbs"
  [ "$(printf '%s\n' $opts | wc -l)" -ge 4 ] || fail "fewer than 4 options in --help: $opts"
  shown=$(text "$page")
  examples=$(sed -n '/^\.Sh EXAMPLES/,/^\.Sh /p' "$page" | sed -n 's/^\.Dl //p' | sed 's/\\-/-/g')
  for verb in $verbs; do
    printf '%s\n' "$shown" | grep -qE "isp_table $verb( |$)" || fail "verb $verb not in $page"
    printf '%s\n' "$examples" | grep -qE "^isp_table $verb " || fail "no example of $verb in $page"
  done
  for opt in $opts; do
    printf '%s\n' "$shown" | grep -qE -- "(^|[^a-z-])$opt([^a-z-]|$)" || fail "option $opt not in $page"
  done
  echo "options: $(echo $verbs) and $(echo $opts) all in $page"
}

# work_in TOOL FIXTURES: a fresh folder $dir, removed at the end, holding our
# fixtures under the names the documents use, with TOOL first on PATH.
work_in() {
  dir=$(mktemp -d)
  trap 'rm -rf "$dir"' EXIT
  cp "$2/providers.xml" "$dir/serviceproviders.xml"
  cp "$2/apns.xml" "$dir/apns-conf.xml"
  cp "$2/carriers.textpb" "$dir/carrier_list.textpb"
  cp "$2/extend_table.csv" "$dir/my_table.csv"
  cp "$2/allowed.txt" "$dir/allowed.txt"
  PATH=$(cd "$(dirname "$1")" && pwd):$PATH
  export PATH
  ran=0
}

# run_examples DIR LIST WHERE: runs each line "STATUS<TAB>COMMAND" of LIST in
# DIR, in order; each must end with STATUS and fill the file it writes with >.
run_examples() {
  while IFS='	' read -r want cmd; do
    (cd "$1" && sh -c "$cmd" < /dev/null > "$1/.out" 2>&1)
    got=$?
    [ "$got" -eq "$want" ] || { cat "$1/.out"; fail "$3: '$cmd' ended with $got, not $want"; }
    target=$(printf '%s\n' "$cmd" | sed -n 's/.*[^2]> *\([^ ]*\).*/\1/p')
    [ -z "$target" ] || [ -s "$1/$target" ] || fail "$3: '$cmd' left $target empty"
    echo "ok $want: $cmd"
    ran=$((ran + 1))
  done < "$2"
}

examples() {
  tool=$1 fixtures=$2
  shift 2
  work_in "$tool" "$fixtures"
  for page in "$@"; do
    # One line per example: its status, a tab, the command with mdoc's
    # escapes undone.
    sed -n '/^\.Sh EXAMPLES/,/^\.Sh /p' "$page" |
      awk '/^\.\\" exit [0-9]+$/ { status = $3; next }
           /^\.Dl isp_table / { sub(/^\.Dl /, ""); print (status == "" ? 0 : status) "\t" $0; status = "" }' |
      sed 's/\\-/-/g; s/\\&//g; s/\\e/\\/g' > "$dir/.examples"
    run_examples "$dir" "$dir/.examples" "$page"
  done
  [ "$ran" -gt 0 ] || fail "no example found"
  echo "examples: $ran ran as shown"
}

# readme TOOL FIXTURES README: the README's isp_table commands (indented
# lines of its code blocks) run as shown; "# exit N" after one gives its status.
readme() {
  tool=$1 fixtures=$2 file=$3
  work_in "$tool" "$fixtures"
  sed -n 's/^    \(isp_table .*\)$/\1/p' "$file" |
    awk '{ status = 0; if (match($0, /# exit [0-9]+/)) status = substr($0, RSTART + 7, RLENGTH - 7);
           sub(/ *#.*$/, ""); print status "\t" $0 }' > "$dir/.examples"
  run_examples "$dir" "$dir/.examples" "$file"
  [ "$ran" -ge 5 ] || fail "$file: $ran isp_table commands, fewer than 5"
  echo "readme: $ran commands ran as shown"
}

# changelog TOOL CHANGELOG: the newest section is the version TOOL reports.
changelog() {
  version=$("$1" --version | sed -n 's/^isp_table //p')
  newest=$(sed -n 's/^## //p' "$2" | head -n 1)
  [ -n "$version" ] && [ "$newest" = "$version" ] ||
    fail "$2: newest section \"$newest\", but $1 --version says \"$version\""
  echo "changelog: newest section $newest is the version"
}

what=$1
shift
case $what in
  lint | render | options | examples | readme | changelog) "$what" "$@" ;;
  *) fail "unknown check $what" ;;
esac
