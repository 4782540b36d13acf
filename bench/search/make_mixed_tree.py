#!/usr/bin/env python3
"""Usage: make_mixed_tree.py CORPUS FOLDER FILES LIST [TOTAL]

Cuts the Shift-JIS corpus into a folder of files in four kanji codes for
the grep over files of any encoding: FILES files of whole lines each, in 20
sub-folders, file i written as Shift-JIS, EUC-JP, ISO-2022-JP (JIS) or UTF-8
by i modulo 4 (characters a code lacks become "?"). With TOTAL (bytes) only
as much of the corpus is taken as makes about that many bytes in the four
codes together. Writes the list of paths to LIST and prints the size of
each quarter."""
import os
import sys

ENCODINGS = ['cp932', 'euc_jp', 'iso2022_jp', 'utf-8']

def encoded_size(data):
    quarter = len(data) // 4
    return sum(len(data[i * quarter:(i + 1) * quarter].decode('cp932', errors='replace')
                   .encode(e, errors='replace')) for i, e in enumerate(ENCODINGS))

def main():
    corpus, folder, count, list_path = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    with open(corpus, 'rb') as f:
        data = f.read()
    if len(sys.argv) > 5:
        cut = int(len(data) * int(sys.argv[5]) / encoded_size(data))
        data = data[:data.rfind(b'\n', 0, cut) + 1]
    paths = []
    sizes = dict.fromkeys(ENCODINGS, 0)
    start = 0
    for i in range(count):
        goal = (i + 1) * len(data) // count
        end = len(data) if i == count - 1 else min(len(data), data.find(b'\n', max(start, goal - 1)) + 1 or len(data))
        encoding = ENCODINGS[i % 4]
        text = data[start:end].decode('cp932', errors='replace').encode(encoding, errors='replace')
        sub = os.path.join(folder, f'{i % 20:02d}')
        os.makedirs(sub, exist_ok=True)
        path = os.path.join(sub, f'doc{i:04d}.txt')
        with open(path, 'wb') as out:
            out.write(text)
        paths.append(path)
        sizes[encoding] += len(text)
        start = end
    with open(list_path, 'w') as out:
        out.write('\n'.join(paths) + '\n')
    print(' '.join(f'{e}={s / 1e6:.1f}MB' for e, s in sizes.items()))

if __name__ == '__main__':
    main()
