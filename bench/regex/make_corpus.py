#!/usr/bin/env python3
"""Builds the Shift-JIS corpus of the grep benchmark from the Japanese manual
pages installed on the machine: their text lines (markup removed) are drawn
at random, with a fixed seed, until the wanted size is reached, and written
as Shift-JIS with CR LF line ends. Without those pages, lines are made of
random JIS X 0208 kana and kanji with the benchmark's words mixed in."""
import glob
import gzip
import random
import re
import sys

def source_lines():
    lines = []
    for path in sorted(glob.glob('/usr/share/man/ja/man*/*.gz')):
        with gzip.open(path, 'rt', encoding='utf-8', errors='replace') as f:
            for raw in f:
                if raw.startswith(('.', "'")):
                    raw = re.sub(r'^\.[A-Za-z]+\s*', '', raw)
                line = re.sub(r'\\f[BIRP]|\\\(..|\\[-&e]|\\', '', raw).strip().strip('"')
                if not line or not re.search(r'[\u3040-\u30ff\u4e00-\u9fff]', line):
                    continue
                try:
                    lines.append(line.encode('cp932'))
                except UnicodeEncodeError:
                    continue
    return lines

def jis_lines(rng, count=6000):
    kana = [bytes([0x82, t]) for t in range(0x9F, 0xF2)] + [bytes([0x83, t]) for t in range(0x40, 0x97) if t != 0x7F]
    kanji = [bytes([l, t]) for l in range(0x88, 0x98) for t in range(0x40, 0xFD) if t != 0x7F and (l, t) >= (0x88, 0x9F)]
    words = ['パスワード', 'ファイル', '12個', '3行', 'グループ']
    words = [w.encode('cp932') for w in words]
    lines = []
    for _ in range(count):
        parts = []
        for _ in range(rng.randint(5, 40)):
            r = rng.random()
            parts.append(rng.choice(words) if r < 0.02 else rng.choice(kana) if r < 0.6 else rng.choice(kanji))
        lines.append(b''.join(parts))
    return lines

def main():
    out_path = sys.argv[1]
    size = int(sys.argv[2]) if len(sys.argv) > 2 else 200 * 1024 * 1024
    rng = random.Random(20261210)
    lines = source_lines()
    if len(lines) < 100:
        lines = jis_lines(rng)
    written = 0
    chunk = []
    with open(out_path, 'wb') as out:
        while written < size:
            line = rng.choice(lines) + b'\r\n'
            chunk.append(line)
            written += len(line)
            if len(chunk) >= 65536:
                out.write(b''.join(chunk))
                chunk = []
        out.write(b''.join(chunk))
    print(f'{out_path}: {written} bytes from {len(lines)} distinct lines')

if __name__ == '__main__':
    main()
