#!/bin/sh
# Brings translations/English.ts up to date with the sources and forms (lupdate) and lists
# every message that has no English text yet.
#   scripts/update-translations.sh            update English.ts, list unfinished messages
#   scripts/update-translations.sh --check    leave English.ts alone; fail when lupdate would
#                                             change it or a message has no English text
# Fill new messages with scripts/fill-translations.py (a tab-separated list of texts) or Qt
# Linguist, then run this script again.
set -e
cd "$(dirname "$0")/.."
LUPDATE=${LUPDATE:-lupdate}
SOURCES="app link equipment station production forms"

if [ "$1" = "--check" ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    cp translations/English.ts "$tmp/English.ts"
    "$LUPDATE" -silent -no-obsolete -locations none -I . $SOURCES -ts "$tmp/English.ts"
    status=0
    if ! cmp -s translations/English.ts "$tmp/English.ts"; then
        echo "translations/English.ts is not up to date with the sources; run scripts/update-translations.sh:"
        diff -u translations/English.ts "$tmp/English.ts" | head -60
        status=1
    fi
    /usr/bin/python3 scripts/fill-translations.py --list "$tmp/English.ts" || status=1
    exit $status
fi

"$LUPDATE" -no-obsolete -locations none -I . $SOURCES -ts translations/English.ts
/usr/bin/python3 scripts/fill-translations.py --list translations/English.ts
