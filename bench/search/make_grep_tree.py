#!/usr/bin/env python3
"""Cuts the Shift-JIS corpus into a tree of files for the window grep
benchmark: FILES files of about equal size, whole lines each, in a folder
of 20 sub-folders. Prints nothing; writes the list of paths to LIST."""
import os
import sys

def main():
    corpus, folder, count, list_path = sys.argv[1], sys.argv[2], int(sys.argv[3]), sys.argv[4]
    with open(corpus, 'rb') as f:
        data = f.read()
    paths = []
    start = 0
    for i in range(count):
        # Each file ends at the first line end after its share of the corpus.
        goal = (i + 1) * len(data) // count
        end = len(data) if i == count - 1 else min(len(data), data.find(b'\n', max(start, goal - 1)) + 1 or len(data))
        sub = os.path.join(folder, f'{i % 20:02d}')
        os.makedirs(sub, exist_ok=True)
        path = os.path.join(sub, f'doc{i:04d}.txt')
        with open(path, 'wb') as out:
            out.write(data[start:end])
        paths.append(path)
        start = end
    with open(list_path, 'w') as out:
        out.write('\n'.join(paths) + '\n')

if __name__ == '__main__':
    main()
