#!/usr/bin/env python3
"""Times the grep engine (regex_grep_count) against GNU grep (LC_ALL=C
grep -c) and ripgrep (rg --encoding shift_jis -c) on the same corpus, for a
literal Japanese word, a class with alternation and a fuzzy-dictionary
pattern, and prints a table with throughput and ratios. Each program runs
the given number of times; the best time counts. The machine is shared, so
besides the wall-clock time the processor time (user + system) of each run
is measured, and the ratios are taken from it."""
import os
import resource
import subprocess
import sys
import time

ERE_META = set(b'[\\]^{|}()*+?.$')

def lead(b):
    return 0x81 <= b <= 0x9F or 0xE0 <= b <= 0xFC

def byte_safe_ere(pattern):
    """GNU grep in the C locale reads bytes: a trail byte that is an ERE
    metacharacter (the second byte of ー is [) is escaped."""
    out = bytearray()
    i = 0
    while i < len(pattern):
        b = pattern[i]
        if lead(b) and i + 1 < len(pattern):
            out.append(b)
            t = pattern[i + 1]
            if t in ERE_META:
                out.append(0x5C)
            out.append(t)
            i += 2
        else:
            out.append(b)
            i += 1
    return bytes(out)

def children_cpu():
    usage = resource.getrusage(resource.RUSAGE_CHILDREN)
    return usage.ru_utime + usage.ru_stime

def best_time(cmd, runs, env=None):
    """Best wall-clock and best processor seconds over the runs, and the output."""
    best_wall = best_cpu = None
    output = b''
    for _ in range(runs):
        cpu_before = children_cpu()
        start = time.perf_counter()
        proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, env=env)
        wall = time.perf_counter() - start
        cpu = children_cpu() - cpu_before
        if proc.returncode not in (0, 1):
            sys.exit(f'compare_grep: {cmd[0]} failed: {proc.stderr.decode(errors="replace")}')
        output = proc.stdout
        best_wall = wall if best_wall is None else min(best_wall, wall)
        best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
    return best_wall, best_cpu, output

def count_of(output):
    return sum(int(line.rsplit(b':', 1)[-1]) for line in output.split() if line)

def main():
    tool, runs = sys.argv[1], int(sys.argv[2])
    files = sys.argv[3:]
    size = sum(os.path.getsize(f) for f in files)
    cases = [
        ('literal', 'パスワード', False),
        ('class+alternation', '[0-9]+(個|行|バイト|文字)', False),
        ('fuzzy', 'ぱすわーど', True),
    ]
    c_env = dict(os.environ, LC_ALL='C')
    print(f'corpus: {size / 1e6:.1f} MB in {len(files)} file(s), best of {runs} runs')
    header = (f'{"pattern":<18} {"program":<8} {"lines":>8} {"wall s":>7} {"cpu s":>7} {"MB/cpu s":>9} '
              f'{"grep/this":>9}')
    print(header)
    print('-' * len(header))
    for name, text, fuzzy in cases:
        sjis = text.encode('cp932')
        flags = ['--fuzzy'] if fuzzy else []
        rewritten = subprocess.run([tool, *flags, '--rewrite', sjis], stdout=subprocess.PIPE,
                                   check=True).stdout.rstrip(b'\n')
        runs_of = [
            ('tabulo', [tool, *flags, sjis, *files], None),
            ('grep', ['grep', '-E', '-c', byte_safe_ere(rewritten), *files], c_env),
            ('rg', ['rg', '--encoding', 'shift_jis', '-c', rewritten.decode('cp932'), *files], None),
        ]
        results = []
        for program, cmd, env in runs_of:
            wall, cpu, out = best_time(cmd, runs, env)
            results.append((program, count_of(out), wall, cpu))
        grep_cpu = results[1][3]
        for program, lines, wall, cpu in results:
            print(f'{name:<18} {program:<8} {lines:>8} {wall:>7.3f} {cpu:>7.3f} {size / 1e6 / cpu:>9.0f} '
                  f'{grep_cpu / cpu:>9.2f}')
    print('grep/this: GNU grep processor time over this program\'s (above 1: faster than grep).')
    print('Line counts differ where a byte-level match starts on the trail byte of a')
    print('double-byte character.')

if __name__ == '__main__':
    main()
