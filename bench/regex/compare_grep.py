#!/usr/bin/env python3
"""Times the grep engine (regex_grep_count, and tabulo-cli grep -c for the
literals and the kana class) against GNU grep (LC_ALL=C grep -c) and ripgrep
(rg --encoding shift_jis -c, and rg -c in byte mode for the literals) on the
same corpus, for two literal Japanese words, a class with alternation, a
class of kana in an alternation (spelled out for the peers, which read
bytes), a fuzzy-dictionary pattern, two patterns whose deterministic
automaton is huge ((a|b)*a followed by 20 groups, .*a followed by 20 dots)
and one whose matches cross lines (ours alone), and prints a table with
throughput, ratios and peak memory. Each program runs
the given number of times; the best time counts. The machine is shared, so
besides the wall-clock time the processor time (user + system) of each run
is measured, and the ratios are taken from it."""
import os
import subprocess
import sys
import tempfile
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

def run_once(cmd, env=None):
    """Wall-clock and processor seconds, peak resident memory in MB, and the output."""
    with tempfile.TemporaryFile() as err:
        start = time.perf_counter()
        proc = subprocess.Popen(cmd, stdout=subprocess.PIPE, stderr=err, env=env)
        out = proc.stdout.read()
        _, status, usage = os.wait4(proc.pid, 0)
        wall = time.perf_counter() - start
        proc.returncode = os.waitstatus_to_exitcode(status)
        if proc.returncode not in (0, 1):
            err.seek(0)
            sys.exit(f'compare_grep: {cmd[0]} failed: {err.read().decode(errors="replace")}')
    return wall, usage.ru_utime + usage.ru_stime, usage.ru_maxrss / 1024, out

def best_time(cmd, runs, env=None):
    """Best wall-clock and best processor seconds over the runs, the peak
    resident memory in MB, and the output."""
    best_wall = best_cpu = None
    peak = 0.0
    output = b''
    for _ in range(runs):
        wall, cpu, rss, output = run_once(cmd, env)
        peak = max(peak, rss)
        best_wall = wall if best_wall is None else min(best_wall, wall)
        best_cpu = cpu if best_cpu is None else min(best_cpu, cpu)
    return best_wall, best_cpu, peak, output

def count_of(output):
    return sum(int(line.rsplit(b':', 1)[-1]) for line in output.split() if line)

def rg_bytes(pattern):
    """The pattern for ripgrep's byte mode: every byte of a double-byte
    character as a byte escape (ripgrep reads patterns as UTF-8)."""
    out = []
    i = 0
    while i < len(pattern):
        b = pattern[i]
        if lead(b) and i + 1 < len(pattern):
            out.append('(?-u:\\x%02x\\x%02x)' % (b, pattern[i + 1]))
            i += 2
        else:
            out.append(chr(b))
            i += 1
    return ''.join(out)

def main():
    tool, cli, runs = sys.argv[1], sys.argv[2], int(sys.argv[3])
    files = sys.argv[4:]
    size = sum(os.path.getsize(f) for f in files)
    # (name, pattern, fuzzy, crosses lines, the pattern for the peers when
    # they need its double-byte class spelled out)
    cases = [
        ('literal', 'パスワード', False, False, None),
        ('literal 検索', '検索', False, False, None),
        ('class+alternation', '[0-9]+(個|行|バイト|文字)', False, False, None),
        ('kana class', '[あ-お]ん|漢字', False, False, '(ぁ|あ|ぃ|い|ぅ|う|ぇ|え|ぉ|お)ん|漢字'),
        ('fuzzy', 'ぱすわーど', True, False, None),
        ('(a|b)*a+20 groups', '(a|b)*a' + '(a|b)' * 20, False, False, None),
        ('.*a+20 dots', '.*a' + '.' * 20, False, False, None),
        ('across lines', 'ます。\n.*ファイル', False, True, None),
    ]
    c_env = dict(os.environ, LC_ALL='C')
    print(f'corpus: {size / 1e6:.1f} MB in {len(files)} file(s), best of {runs} runs')
    header = (f'{"pattern":<18} {"program":<9} {"lines":>8} {"wall s":>7} {"cpu s":>7} {"MB/cpu s":>9} '
              f'{"grep/this":>9} {"peak MB":>8}')
    print(header)
    print('-' * len(header))
    for name, text, fuzzy, crosses, spelled in cases:
        sjis = text.encode('cp932')
        flags = ['--fuzzy'] if fuzzy else []
        rewritten = subprocess.run([tool, *flags, '--rewrite', sjis], stdout=subprocess.PIPE,
                                   check=True).stdout.rstrip(b'\n')
        if spelled:
            rewritten = spelled.encode('cp932')
        runs_of = [('tabulo', [tool, *flags, sjis, *files], None)]
        if not crosses:
            # GNU grep and ripgrep search line by line: they cannot run a
            # pattern whose matches cross lines.
            runs_of.append(('grep', ['grep', '-E', '-c', byte_safe_ere(rewritten), *files], c_env))
            runs_of.append(('rg', ['rg', '--encoding', 'shift_jis', '-c', rewritten.decode('cp932'), *files], None))
        if name.startswith('literal'):
            runs_of.append(('rg bytes', ['rg', '-c', rg_bytes(rewritten), *files], None))
        if name.startswith('literal') or spelled:
            runs_of.append(('cli -c', [cli, 'grep', '-c', *flags, sjis, *files], None))
        results = []
        for program, cmd, env in runs_of:
            wall, cpu, peak, out = best_time(cmd, runs, env)
            results.append((program, count_of(out), wall, cpu, peak))
        grep_cpu = results[1][3] if len(results) > 1 else None
        for program, lines, wall, cpu, peak in results:
            ratio = f'{grep_cpu / cpu:>9.2f}' if grep_cpu else f'{"-":>9}'
            print(f'{name:<18} {program:<9} {lines:>8} {wall:>7.3f} {cpu:>7.3f} {size / 1e6 / cpu:>9.0f} '
                  f'{ratio} {peak:>8.0f}')
    print('grep/this: GNU grep processor time over this program\'s (above 1: faster than grep).')
    print('Line counts differ where a byte-level match starts on the trail byte of a')
    print('double-byte character; rg bytes is ripgrep reading bytes, fast but blind to')
    print('character boundaries. cli -c is tabulo-cli grep -c, the whole process.')
    print('peak MB: the largest resident size of the program.')

if __name__ == '__main__':
    main()
