#!/usr/bin/python3
"""Lists or fills the messages of a Qt translation file (.ts) that have no translation.

  fill-translations.py --list English.ts
      prints "context<TAB>source" of every unfinished or empty message and of every English
      text that still holds Chinese characters (style sheets and the data texts below
      excepted); exit status 1 if any.
  fill-translations.py English.ts texts.tsv
      fills messages from texts.tsv, one "source<TAB>translation" or
      "context<TAB>source<TAB>translation" a line ("\\n" stands for a line break); a line with
      a context wins over one without. Filled messages lose their "unfinished" mark.
The file is edited in place, keeping lupdate's layout, so a later lupdate run changes nothing.
"""
import re
import sys
from html import unescape
from xml.sax.saxutils import escape

MESSAGE = re.compile(r'(<message[^>]*>\s*<source>)(.*?)(</source>.*?)(<translation[^>]*?(?:/>|>.*?</translation>))',
                     re.S)
CHINESE = re.compile('[\u3000-\u303f\u4e00-\u9fff\uff00-\uffef]')
# Texts that are data, kept as they stand: the work-order dialog's default equipment, posted
# with the results as typed.
DATA_TEXTS = {'温箱'}
CONTEXT = re.compile(r'<context>\s*<name>(.*?)</name>(.*?)</context>', re.S)


def unfinished(tr):
    return 'type="unfinished"' in tr or tr.endswith('/>') or re.fullmatch(r'<translation[^>]*></translation>', tr)


def ts_escape(text):
    return escape(text, {'"': '&quot;', "'": '&apos;'})


def main():
    if len(sys.argv) == 3 and sys.argv[1] == '--list':
        data = open(sys.argv[2], encoding='utf-8').read()
        missing = []
        for ctx in CONTEXT.finditer(data):
            for m in MESSAGE.finditer(ctx.group(2)):
                source = unescape(m.group(2))
                text = unescape(re.sub(r'<[^>]*>', '', m.group(4).replace('&lt;', '<').replace('&gt;', '>')))
                style = '{' in source or re.fullmatch(r'(color|background-color|font)[\w-]*:[^<>]*', source) is not None
                chinese = CHINESE.search(text) and not style and source not in DATA_TEXTS
                if unfinished(m.group(4)) or chinese:
                    missing.append('%s\t%s' % (ctx.group(1), source.replace('\n', '\\n')))
        for line in missing:
            print(line)
        if missing:
            print('%d message(s) without an English text' % len(missing), file=sys.stderr)
        return 1 if missing else 0
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    ts, tsv = sys.argv[1], sys.argv[2]
    plain, by_context = {}, {}
    for line in open(tsv, encoding='utf-8'):
        line = line.rstrip('\n')
        if not line.strip() or line.startswith('#'):
            continue
        parts = [p.replace('\\n', '\n') for p in line.split('\t')]
        if len(parts) == 2:
            plain[parts[0]] = parts[1]
        elif len(parts) == 3:
            by_context[(parts[0], parts[1])] = parts[2]
        else:
            raise SystemExit('bad line in %s: %r' % (tsv, line))
    data = open(ts, encoding='utf-8').read()
    filled = 0

    def fill_context(cm):
        nonlocal filled
        name = cm.group(1)

        def fill(m):
            nonlocal filled
            source = unescape(m.group(2))
            text = by_context.get((name, source), plain.get(source))
            if text is None or not unfinished(m.group(4)):
                return m.group(0)
            filled += 1
            return m.group(1) + m.group(2) + m.group(3) + '<translation>' + ts_escape(text) + '</translation>'

        return cm.group(0)[:cm.start(2) - cm.start(0)] + MESSAGE.sub(fill, cm.group(2)) + cm.group(0)[cm.end(2) - cm.start(0):]

    data = CONTEXT.sub(fill_context, data)
    open(ts, 'w', encoding='utf-8').write(data)
    print('%d message(s) filled' % filled)
    return 0


if __name__ == '__main__':
    sys.exit(main())
