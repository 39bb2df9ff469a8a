#!/bin/sh
# isp_table's command lines: usage errors, --help and -h for every verb,
# --version.
# Usage: usage.sh ISP_TABLE
# shellcheck source=tests/isp_table/lib.sh
. "$(dirname "$0")/lib.sh"
# Usage errors: status 2, the problem, then the usage line on standard
# error, nothing on standard output. Where the problem is our own (a value
# the parser cannot judge: an IMSI, a SID, a market, a key) it is given
# whole ("="); where the parser words it, the problem names the options or
# arguments at fault ("~", each word of the list).
# The usage line's own bytes are the cli unit test's; here every usage
# error ends with the same one.
usage=$("$tool" --bogus 2>&1 >/dev/null | tail -n1)
case $usage in "usage: isp_table "*"isp_table extend TABLE"*) ;; *) fail "usage line: $usage" ;; esac
while IFS='|' read -r args problem; do
  # shellcheck disable=SC2086
  "$tool" $args > "$out/stdout" 2> "$out/err"
  [ $? -eq 2 ] || fail "'$args': want status 2"
  first=$(head -n1 "$out/err")
  case $problem in
    =*) [ "$first" = "isp_table: ${problem#=}" ] || fail "'$args': $(cat "$out/err")" ;;
    *) [ "${first#isp_table: }" != "$first" ] || fail "'$args': $first"
      for word in ${problem#\~}; do
        case $first in *"$word"*) ;; *) fail "'$args' does not name $word: $first" ;; esac
      done ;;
  esac
  [ "$(tail -n1 "$out/err")" = "$usage" ] || fail "'$args': $(cat "$out/err")"
  [ ! -s "$out/stdout" ] || fail "'$args' wrote to standard output"
done <<EOF
--bogus|~--bogus
check|~TABLE
check --imsi 262011234567890|~TABLE
check hand_kept.csv --imsi|~--imsi
check hand_kept.csv --imsi 26201x|=--imsi: needs 6 to 15 digits
check hand_kept.csv --imsi 26201|=--imsi: needs 6 to 15 digits
check hand_kept.csv --imsi 262011 --imsi 262012|~--imsi
check hand_kept.csv --sid 14x|=--sid: needs a whole number
check hand_kept.csv --sid 0x10|=--sid: needs a whole number
diff - -|=OLD and NEW are both standard input: give one of them as a file
check hand_kept.csv --sid -|=--sid: needs a whole number
check hand_kept.csv --sid 99999999999|~--sid 99999999999
check hand_kept.csv --sid -99999999999|~--sid -99999999999
check hand_kept.csv --sid 1 --imsi 262011234567890|~--imsi --sid
check hand_kept.csv --against|~--against
check hand_kept.csv --against providers.xml --imsi 262011234567890|~--imsi --against
check hand_kept.csv --color|~--color
check -- hand_kept.csv extra|~extra
check hand_kept.csv -- providers.xml|~providers.xml
check hand_kept.csv ++ providers.xml|~providers.xml
explain|~--imsi --sid --key
explain --imsi 262011234567890|=explain --imsi and --sid read one TABLE
explain providers.xml --key 2620|=--key: needs an MCC and an MNC, as 262-01
explain hand_kept.csv|~--imsi --sid --key
explain hand_kept.csv --imsi 26201|=--imsi: needs 6 to 15 digits
explain hand_kept.csv --sid 1 --imsi 262011234567890|~--imsi --sid
explain hand_kept.csv --against providers.xml|~--imsi --sid --key
diff|~OLD
diff diff_old.csv|~NEW
diff diff_old.csv diff_new.csv extra|~extra
diff diff_old.csv diff_new.csv --imsi 262011|~--imsi
extend|~TABLE
--only 26 providers.xml|=--only: needs country codes and MCCs
extend extend_table.csv --only de, providers.xml|=--only: needs country codes and MCCs
extend extend_table.csv --only 262,de apns.xml|=--only names a country, but no FILE is a provider database
EOF
# A SID with white space before or after it is refused alike.
for sid in ' 5' '5 ' '	5' ' -5'; do
  "$tool" check hand_kept.csv --sid "$sid" > "$out/stdout" 2> "$out/err"
  [ $? -eq 2 ] || fail "--sid '$sid': want status 2"
  [ "$(head -n1 "$out/err")" = "isp_table: --sid: needs a whole number" ] || fail "--sid '$sid': $(cat "$out/err")"
done
"$tool" --help 2> "$out/err" > "$out/help" && [ ! -s "$out/err" ] || fail "--help"
[ "$(tail -c1 "$out/help" | od -An -c | tr -d ' ')" = '\n' ] || fail "--help: no line end at the end"
# -h is --help, and every verb has both, wherever they stand among its
# arguments: the tool's whole help, or after a verb that verb's own, which
# begins with its usage and is part of the whole.
while IFS='|' read -r verb first args; do
  # shellcheck disable=SC2086
  "$tool" $args > "$out/stdout" 2> "$out/err" || fail "'$args': status $?"
  [ ! -s "$out/err" ] || fail "'$args': $(cat "$out/err")"
  if [ -z "$verb" ]; then
    same "$out/stdout" "$out/help" "'$args' does not print the help"
    continue
  fi
  [ "$(head -n1 "$out/stdout")" = "$first" ] || fail "'$args': $(head -n1 "$out/stdout")"
  ! cmp -s "$out/stdout" "$out/help" || fail "'$args' prints the whole help, not $verb's"
  "$tool" "$verb" -h | cmp -s - "$out/stdout" || fail "'$args' and '$verb -h' differ"
  grep -v '^$' "$out/stdout" | while IFS= read -r line; do
    grep -qxF -- "$line" "$out/help" || fail "'$args': not in the whole help: $line"
  done
done <<EOF
||-h
||providers.xml --help
check|isp_table check TABLE|check --help
check|isp_table check TABLE|check hand_kept.csv -h
check|isp_table check TABLE|check hand_kept.csv --imsi 262011 --help
explain|isp_table explain TABLE --imsi DIGITS|explain --help
explain|isp_table explain TABLE --imsi DIGITS|explain hand_kept.csv --sid 1 -h
diff|isp_table diff OLD NEW|diff a b --help
diff|isp_table diff OLD NEW|diff -h
extend|isp_table extend TABLE [FILE...]|extend --help
extend|isp_table extend TABLE [FILE...]|extend extend_table.csv providers.xml -h
EOF
# Each verb's help names only the arguments it takes.
while IFS='|' read -r verb absent; do
  "$tool" "$verb" --help > "$out/stdout" || fail "$verb --help: status $?"
  for word in $absent; do
    ! grep -qw "$word" "$out/stdout" || fail "$verb --help names $word: $(grep -w "$word" "$out/stdout")"
  done
done <<EOF
explain|OLD NEW
diff|TABLE FILE
EOF
# Help or version lost on a full disk is an output error too.
for args in --help -h 'diff a b --help' --version; do
  # shellcheck disable=SC2086
  "$tool" $args > /dev/full 2> /dev/null
  [ $? -eq 2 ] || fail "'$args' to a full disk: want status 2"
done
for verb in 'isp_table [FILE...]' 'isp_table check TABLE' 'isp_table explain TABLE --imsi DIGITS' \
    'isp_table diff OLD NEW' 'isp_table extend TABLE [FILE...]' \
  'isp_table check TABLE --against FILE...'; do
  grep -qxF "$verb" "$out/help" || fail "--help lacks $verb"
done
"$tool" --version | grep -qx 'isp_table [0-9][0-9.]*' || fail "--version"
# -- ends the options; a verb is only ever the first argument.
"$tool" -- --help 2>&1 | grep -q '^isp_table: cannot read --help: ' || fail "-- --help"
"$tool" providers.xml check 2>&1 | grep -q '^isp_table: cannot read check: ' || fail "FILE check"
finish "isp_table usage: command lines as expected"
