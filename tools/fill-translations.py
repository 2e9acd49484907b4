#!/usr/bin/env python3
"""Fills translations into a Qt .ts file from a tab-separated list.

Usage: tools/fill-translations.py FILE.ts TEXTS.tsv [--same]

Each line of TEXTS.tsv is "source<TAB>translation", or
"Context|source<TAB>translation" for a text that one class translates in its
own way; "\\n" in either column stands for a line break. A text with plural
forms (%n) takes one column per form: "source<TAB>form1<TAB>form2".
Messages whose source is listed get the translation and lose their
"unfinished" mark. With --same, every other message is translated to its own
source text (for the English file, where only the listed texts differ).
"""
import html
import re
import sys


def unescape_tsv(text):
    return text.replace("\\n", "\n").replace("\\t", "\t")


def escape(text):
    return html.escape(text, quote=False).replace("'", "&apos;").replace('"', "&quot;")


def main():
    if len(sys.argv) < 3:
        print(__doc__)
        return 2
    ts_path, tsv_path = sys.argv[1], sys.argv[2]
    same = "--same" in sys.argv[3:]
    table = {}
    with open(tsv_path, encoding="utf-8") as f:
        for line in f:
            line = line.rstrip("\n")
            if not line or line.startswith("#") or "\t" not in line:
                continue
            source, translation = line.split("\t", 1)
            table[unescape_tsv(source)] = unescape_tsv(translation)

    with open(ts_path, encoding="utf-8") as f:
        content = f.read()

    def fill(match, context):
        block = match.group(0)
        source_match = re.search(r"<source>(.*?)</source>", block, re.S)
        if not source_match:
            return block
        source = html.unescape(source_match.group(1))
        if context + "|" + source in table:
            translation = table[context + "|" + source]
        elif source in table:
            translation = table[source]
        elif same:
            translation = source
        else:
            return block
        if 'numerus="yes"' in block:
            forms = translation.split("\t")
            if translation == source:
                # As many forms as the language has, each the source text.
                forms = [source] * max(1, block.count("<numerusform"))
            body = "".join("\n            <numerusform>" + escape(form) + "</numerusform>" for form in forms)
            replacement = "<translation>" + body + "\n        </translation>"
        else:
            replacement = "<translation>" + escape(translation) + "</translation>"
        return re.sub(r"<translation[^>]*>.*?</translation>|<translation[^>]*/>",
                      lambda _: replacement, block, flags=re.S)

    def fill_context(match):
        block = match.group(0)
        name = re.search(r"<name>(.*?)</name>", block, re.S)
        context = html.unescape(name.group(1)) if name else ""
        return re.sub(r"<message[^>]*>.*?</message>", lambda m: fill(m, context), block, flags=re.S)

    content = re.sub(r"<context>.*?</context>", fill_context, content, flags=re.S)
    with open(ts_path, "w", encoding="utf-8") as f:
        f.write(content)
    return 0


if __name__ == "__main__":
    sys.exit(main())
