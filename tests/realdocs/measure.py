#!/usr/bin/env python3
"""Measurements for compare-html.sh and compare-latex.sh.

  measure.py links  page.html           internal links whose target is missing
  measure.py words  ours.txt theirs.txt words of theirs missing from ours
  measure.py overfull doc.log doc.tex   widest overfull box, overall and from tables

Each prints one summary line first, then details indented by two blanks.
"""
import collections, re, sys


def links(path):
    text = open(path, encoding='utf-8', errors='replace').read()
    ids = set(re.findall(r'\s(?:id|name)="([^"]*)"', text))
    refs = re.findall(r'href="#([^"]*)"', text)
    missing = [r for r in refs if r not in ids]
    print(f'internal links: {len(refs)}, without target: {len(missing)}')
    for r in sorted(set(missing)):
        print(f'  #{r}')


def tokens(path):
    text = open(path, encoding='utf-8', errors='replace').read()
    return collections.Counter(re.findall(r'\w+', text))


def words(ours, theirs):
    a, b = tokens(ours), tokens(theirs)
    total = sum(b.values())
    missing = b - a
    lost = sum(missing.values())
    share = 100.0 * (total - lost) / total if total else 100.0
    print(f'docbook-xsl words: {total}, missing from qlx: {lost} '
          f'({share:.1f}% present)')
    for word, n in missing.most_common(40):
        print(f'  {word} x{n}')


def overfull(log, tex):
    # Lines of the .tex file that lie inside a tabular-like environment.
    inside, depth = set(), 0
    begin = re.compile(r'\\begin\{(tabular\*?|longtable|tabularx)\}')
    end = re.compile(r'\\end\{(tabular\*?|longtable|tabularx)\}')
    for n, line in enumerate(open(tex, encoding='utf-8', errors='replace'), 1):
        depth += len(begin.findall(line))
        if depth > 0:
            inside.add(n)
        depth -= len(end.findall(line))
    widest, widest_table, count = 0.0, 0.0, 0
    pat = re.compile(r'Overfull \\hbox \(([\d.]+)pt too wide\) .*?lines? (\d+)')
    for line in open(log, encoding='latin-1'):
        m = pat.search(line)
        if not m:
            continue
        count += 1
        width, at = float(m.group(1)), int(m.group(2))
        widest = max(widest, width)
        if at in inside:
            widest_table = max(widest_table, width)
    print(f'overfull boxes: {count}, widest: {widest:.1f}pt, '
          f'widest from a table: {widest_table:.1f}pt')


if __name__ == '__main__':
    cmd, args = sys.argv[1], sys.argv[2:]
    {'links': links, 'words': words, 'overfull': overfull}[cmd](*args)
