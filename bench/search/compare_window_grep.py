#!/usr/bin/env python3
"""The window's grep over the file tree against GNU grep (LC_ALL=C grep -n)
and ripgrep (rg -n --encoding shift_jis) on the same files: picks the word
whose hit count is nearest 13,000 lines, runs the window benchmark (hit,
no hit, stop) and the peers (best of RUNS, wall-clock and processor time),
and prints a table with the ratios."""
import os
import re
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'regex'))
from compare_grep import best_time  # noqa: E402  (the peers are timed as in the grep engine's benchmark)

CANDIDATES = ['ファイル', 'オプション', 'ディレクトリ', 'コマンド', 'プログラム', 'パスワード',
              '文字列', '出力', '設定', '指定', '場合', '表示', '入力', '実行', '変数']
NO_HIT = '存在しない語句だ'
# The stop item is chosen this soon after the grep began: well before it
# ends, now that the whole tree takes well under 100 ms.
STOP_AFTER_MS = '30'

def main():
    bench, list_path, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    files = open(list_path).read().split()
    size = sum(os.path.getsize(f) for f in files)
    corpus = b''.join(open(f, 'rb').read() for f in files)
    counts = {w: sum(1 for line in corpus.split(b'\n') if w.encode('cp932') in line) for w in CANDIDATES}
    hit = min(CANDIDATES, key=lambda w: abs(counts[w] - 13000))
    assert NO_HIT.encode('cp932') not in corpus
    print(f'{len(files)} files, {size / 1e6:.1f} MB; hit word {hit} ({counts[hit]} lines), '
          f'no-hit word {NO_HIT}; peers best of {runs}')

    window = {}
    for _ in range(runs):
        out = subprocess.run([bench, list_path, hit, NO_HIT, STOP_AFTER_MS], stdout=subprocess.PIPE, check=True,
                             env=dict(os.environ, QT_QPA_PLATFORM='offscreen')).stdout.decode()
        for line in out.splitlines():
            m = re.match(r'grep (\w+) files=\d+ hits=(\d+) wall_ms=([\d.]+) cpu_ms=([\d.]+)', line)
            if m:
                key = m.group(1)
                wall, cpu = float(m.group(3)) / 1e3, float(m.group(4)) / 1e3
                old = window.get(key)
                window[key] = (min(old[0], wall) if old else wall, min(old[1], cpu) if old else cpu, int(m.group(2)))
            elif line.startswith('stop'):
                window.setdefault('stop', []).append(line)

    c_env = dict(os.environ, LC_ALL='C')
    header = f'{"case":<6} {"program":<8} {"lines":>7} {"wall s":>7} {"cpu s":>7} {"peer/window cpu":>16}'
    print(header)
    print('-' * len(header))
    for key, word in (('hit', hit), ('none', NO_HIT)):
        wwall, wcpu, wlines = window[key]
        print(f'{key:<6} {"window":<8} {wlines:>7} {wwall:>7.3f} {wcpu:>7.3f} {"":>16}')
        peers = [('grep', ['grep', '-n', word.encode('cp932')] + files, c_env),
                 ('rg', ['rg', '-n', '--no-heading', '--encoding', 'shift_jis', word] + files, None)]
        for name, cmd, env in peers:
            wall, cpu, _, output = best_time(cmd, runs, env)
            lines = output.count(b'\n')
            print(f'{key:<6} {name:<8} {lines:>7} {wall:>7.3f} {cpu:>7.3f} {cpu / wcpu if wcpu else 0:>16.2f}')
    for line in window.get('stop', []):
        print(line)

if __name__ == '__main__':
    main()
