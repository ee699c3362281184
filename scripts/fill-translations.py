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
  fill-translations.py --chinese Chinese.ts Chinese.tsv
      gives every message its Chinese: a source that holds Chinese characters (the forms' texts)
      and a style sheet stay as they are; every other text takes its line of Chinese.tsv, whose
      translation "=" keeps an English text as it stands (a text given in English). A line
      replaces what the file held; a message without a line stays unfinished.
  fill-translations.py --list-chinese Chinese.ts
      prints "context<TAB>source" of every message without its Chinese; exit status 1 if any.
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


def is_style(source):
    return '{' in source or re.fullmatch(r'(color|background-color|font)[\w-]*:[^<>]*', source) is not None


def read_tsv(tsv):
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
    return plain, by_context


def each_message(data, change):
    """Calls change(context, source, match) for every message; a string it returns replaces
    the message's translation element."""
    def fill_context(cm):
        name = cm.group(1)

        def fill(m):
            text = change(name, unescape(m.group(2)), m)
            if text is None:
                return m.group(0)
            return m.group(1) + m.group(2) + m.group(3) + text

        return cm.group(0)[:cm.start(2) - cm.start(0)] + MESSAGE.sub(fill, cm.group(2)) + cm.group(0)[cm.end(2) - cm.start(0):]

    return CONTEXT.sub(fill_context, data)


def chinese_text(source, name, plain, by_context):
    if CHINESE.search(source) or is_style(source):
        return source
    text = by_context.get((name, source), plain.get(source))
    return source if text == '=' else text


def fill_chinese(ts, tsv):
    plain, by_context = read_tsv(tsv)
    data = open(ts, encoding='utf-8').read()
    filled = 0

    def change(name, source, m):
        nonlocal filled
        text = chinese_text(source, name, plain, by_context)
        if text is None:
            return None
        element = '<translation>' + ts_escape(text) + '</translation>'
        if element == m.group(4):
            return None
        filled += 1
        return element

    data = each_message(data, change)
    open(ts, 'w', encoding='utf-8').write(data)
    print('%d message(s) filled' % filled)
    return 0


def list_chinese(ts):
    missing = []

    def change(name, source, m):
        if unfinished(m.group(4)):
            missing.append('%s\t%s' % (name, source.replace('\n', '\\n')))
        return None

    each_message(open(ts, encoding='utf-8').read(), change)
    for line in missing:
        print(line)
    if missing:
        print('%d message(s) without Chinese: add "English<TAB>Chinese" lines to translations/Chinese.tsv '
              '("=" keeps a text given in English)' % len(missing), file=sys.stderr)
    return 1 if missing else 0


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
                chinese = CHINESE.search(text) and not is_style(source) and source not in DATA_TEXTS
                if unfinished(m.group(4)) or chinese:
                    missing.append('%s\t%s' % (ctx.group(1), source.replace('\n', '\\n')))
        for line in missing:
            print(line)
        if missing:
            print('%d message(s) without an English text' % len(missing), file=sys.stderr)
        return 1 if missing else 0
    if len(sys.argv) == 4 and sys.argv[1] == '--chinese':
        return fill_chinese(sys.argv[2], sys.argv[3])
    if len(sys.argv) == 3 and sys.argv[1] == '--list-chinese':
        return list_chinese(sys.argv[2])
    if len(sys.argv) != 3:
        print(__doc__, file=sys.stderr)
        return 2
    ts, tsv = sys.argv[1], sys.argv[2]
    plain, by_context = read_tsv(tsv)
    data = open(ts, encoding='utf-8').read()
    filled = 0

    def change(name, source, m):
        nonlocal filled
        text = by_context.get((name, source), plain.get(source))
        if text is None or not unfinished(m.group(4)):
            return None
        filled += 1
        return '<translation>' + ts_escape(text) + '</translation>'

    data = each_message(data, change)
    open(ts, 'w', encoding='utf-8').write(data)
    print('%d message(s) filled' % filled)
    return 0


if __name__ == '__main__':
    sys.exit(main())
