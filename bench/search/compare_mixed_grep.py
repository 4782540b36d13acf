#!/usr/bin/env python3
"""tabulo-cli grep --any-encoding over the mixed-encoding folder (one pass,
each file in its own code) against ripgrep, which takes one encoding per
run and so needs four passes over the folder (rg -n --encoding X, for
shift_jis, euc-jp, iso-2022-jp and utf-8). Best of RUNS, processor and
wall-clock seconds; prints a table with the ratio of the four passes
together to our one."""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'regex'))
from compare_grep import best_time  # noqa: E402

RG_ENCODINGS = ['shift_jis', 'euc-jp', 'iso-2022-jp', 'utf-8']

def main():
    cli, folder, list_path, word, runs = sys.argv[1], sys.argv[2], sys.argv[3], sys.argv[4], int(sys.argv[5])
    files = open(list_path).read().split()
    size = sum(os.path.getsize(f) for f in files)
    print(f'{len(files)} files, {size / 1e6:.1f} MB in four codes; word {word}; best of {runs}')
    header = f'{"program":<28} {"lines":>7} {"wall s":>7} {"cpu s":>7}'
    print(header)
    print('-' * len(header))
    ours = [cli, 'grep', '--args-encoding', 'utf-8', '--any-encoding', word] + files
    wall, cpu, _, output = best_time(ours, runs)
    ours_cpu = cpu
    print(f'{"tabulo-cli --any-encoding":<28} {output.count(b"Line="):>7} {wall:>7.3f} {cpu:>7.3f}')
    total_wall = total_cpu = 0.0
    total_lines = 0
    for encoding in RG_ENCODINGS:
        cmd = ['rg', '-n', '--no-heading', '--encoding', encoding, word, folder]
        wall, cpu, _, output = best_time(cmd, runs)
        lines = output.count(b'\n')
        total_wall += wall
        total_cpu += cpu
        total_lines += lines
        print(f'{"rg --encoding " + encoding:<28} {lines:>7} {wall:>7.3f} {cpu:>7.3f}')
    print(f'{"rg, four passes":<28} {total_lines:>7} {total_wall:>7.3f} {total_cpu:>7.3f}')
    print(f'four rg passes / ours, cpu: {total_cpu / ours_cpu if ours_cpu else 0:.2f}')

if __name__ == '__main__':
    main()
