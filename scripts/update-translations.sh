#!/bin/sh
# Brings the translations up to date with the sources and forms (lupdate) and lists every
# message that still needs its text:
#   translations/English.ts   every text in English, filled by hand, with Qt Linguist or
#                             scripts/fill-translations.py
#   translations/Chinese.ts   the program's own English texts in Chinese, filled from
#                             translations/Chinese.tsv (one "English<TAB>Chinese" a line); the
#                             forms' Chinese texts stay as they are
#   scripts/update-translations.sh            update both files, list unfinished messages
#   scripts/update-translations.sh --check    leave them alone; fail when lupdate or
#                                             Chinese.tsv would change them or a message has
#                                             no text
# Add the missing texts (English.ts, Chinese.tsv), then run this script again.
set -e
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-lupdate}
SOURCES="app link equipment station production forms"
FILL="/usr/bin/python3 scripts/fill-translations.py"

update() { # update <ts file>
    "$LUPDATE" -silent -no-obsolete -locations none -I . $SOURCES -ts "$1"
}

if [ "$1" = "--check" ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    status=0
    for ts in English Chinese; do
        cp "translations/$ts.ts" "$tmp/$ts.ts"
        update "$tmp/$ts.ts"
        [ $ts = Chinese ] && $FILL --chinese "$tmp/Chinese.ts" translations/Chinese.tsv >/dev/null
        if ! cmp -s "translations/$ts.ts" "$tmp/$ts.ts"; then
            echo "translations/$ts.ts is not up to date with the sources; run scripts/update-translations.sh:"
            diff -u "translations/$ts.ts" "$tmp/$ts.ts" | head -60
            status=1
        fi
    done
    $FILL --list "$tmp/English.ts" || status=1
    $FILL --list-chinese "$tmp/Chinese.ts" || status=1
    exit $status
fi

update translations/English.ts
update translations/Chinese.ts
$FILL --chinese translations/Chinese.ts translations/Chinese.tsv
status=0
$FILL --list translations/English.ts || status=1
$FILL --list-chinese translations/Chinese.ts || status=1
exit $status
