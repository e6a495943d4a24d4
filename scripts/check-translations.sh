#!/usr/bin/env bash
# Checks that every text of the program has its English translation: runs lupdate
# over src/ against a copy of translations/velotapper_en.ts and lists each text
# that is new (no English yet), gone from the program (obsolete), or translated
# with Japanese left in it. Exits 1 when it lists any.
#   --update  writes lupdate's result into translations/velotapper_en.ts instead, so
#             new texts appear there (type="unfinished") ready to be translated.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-$(command -v lupdate6 || command -v lupdate ||
  echo "$(qtpaths6 --query QT_HOST_LIBEXECS 2>/dev/null || echo /usr/lib/qt6/libexec)/../bin/lupdate")}
ts=translations/velotapper_en.ts
if [ "${1:-}" = "--update" ]; then
  "$lupdate" -silent -locations none -no-obsolete -source-language ja -target-language en \
    src -ts "$ts"
  echo "updated $ts; translate the entries marked type=\"unfinished\", then run $0"
  exit 0
fi
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
cp "$ts" "$tmp/check.ts"
"$lupdate" -silent -locations none -no-obsolete -source-language ja -target-language en \
  src -ts "$tmp/check.ts"
# A text lupdate no longer finds in the program is obsolete; one that is unfinished or
# empty, or whose English still holds kana or kanji, is missing its English.
perl -CSD -e '
  sub messages {
    open(my $f, "<:encoding(UTF-8)", $_[0]) or die "$_[0]: $!";
    local $/; my $text = <$f>; my @out;
    while ($text =~ /<context>\s*<name>(.*?)<\/name>(.*?)<\/context>/sg) {
      my ($context, $body) = ($1, $2);
      push @out, map { [$context, $_] } $body =~ /<message[^>]*>(.*?)<\/message>/sg;
    }
    return @out;
  }
  sub source { my ($s) = $_[0] =~ /<source>(.*?)<\/source>/s; $s }
  my %now = map { ("$_->[0]\t" . source($_->[1])) => 1 } messages($ARGV[1]);
  my $bad = 0;
  for (messages($ARGV[0])) {
    my $key = "$_->[0]\t" . source($_->[1]);
    if (!$now{$key}) { print "obsolete: $key\n"; $bad++ }
  }
  for (messages($ARGV[1])) {
    my ($context, $m) = @$_;
    my ($type, $tr) = $m =~ /<translation(?: type="(\w+)")?>(.*?)<\/translation>/s;
    my $why = !defined $tr ? "no translation"
      : $type && $type eq "unfinished" && $tr ne "" ? "not marked finished"
      : $type && $type eq "unfinished" ? "untranslated"
      : $type ? $type
      : $tr eq "" ? "empty"
      : $tr =~ /[\p{Hiragana}\p{Katakana}\p{Han}\x{3000}-\x{303F}\x{FF01}-\x{FF9F}]/
        ? "Japanese left in the English" : "";
    if ($why) { print "$why: $context\t" . source($m) . "\n"; $bad++ }
  }
  exit($bad ? 1 : 0);' "$ts" "$tmp/check.ts" || {
  echo "$ts is not up to date: run $0 --update and translate what it lists" >&2
  exit 1
}
echo "every text has its English"
