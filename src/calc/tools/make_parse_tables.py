#!/usr/bin/env python3
"""Builds the LALR(1) tables of the line calculator's parser.

Run once after changing the grammar, from the repository root:
    python3 src/calc/tools/make_parse_tables.py > src/calc/parse_tables.h
The tables are committed; the build does not run this script.

Method: the canonical LR(1) item sets are built and the sets with equal cores
are merged (LALR(1)). Shift/reduce conflicts are settled by operator
precedence and associativity, as yacc does: a rule takes the precedence of
its last terminal. Any conflict left over stops the script.
"""
import sys

TERMINALS = ["End", "Num", "Var", "Func1", "Func2", "Pow", "Plus", "Minus",
             "Star", "Slash", "Assign", "LParen", "RParen", "Comma"]
NONTERMINALS = ["Line", "Expr", "Primary"]

# (lhs, rhs, comment); rule 0 is the augmented start rule.
RULES = [
    ("Start", ["Line", "End"], "start"),
    ("Line", ["Expr"], "line -> expr"),
    ("Line", ["Var", "Assign", "Expr"], "line -> VAR = expr"),
    ("Expr", ["Expr", "Plus", "Expr"], "expr -> expr + expr"),
    ("Expr", ["Expr", "Minus", "Expr"], "expr -> expr - expr"),
    ("Expr", ["Expr", "Star", "Expr"], "expr -> expr * expr"),
    ("Expr", ["Expr", "Slash", "Expr"], "expr -> expr / expr"),
    ("Expr", ["Expr", "Pow", "Expr"], "expr -> expr ** expr"),
    ("Expr", ["Plus", "Primary"], "expr -> + primary"),
    ("Expr", ["Minus", "Primary"], "expr -> - primary"),
    ("Expr", ["Primary"], "expr -> primary"),
    ("Primary", ["Num"], "primary -> NUM"),
    ("Primary", ["Var"], "primary -> VAR"),
    ("Primary", ["LParen", "Expr", "RParen"], "primary -> ( expr )"),
    ("Primary", ["Func1", "LParen", "Expr", "RParen"], "primary -> FUNC1 ( expr )"),
    ("Primary", ["Func2", "LParen", "Expr", "Comma", "Expr", "RParen"],
     "primary -> FUNC2 ( expr , expr )"),
]

# Lowest first; every level is left-associative.
PRECEDENCE = [["Plus", "Minus"], ["Star", "Slash"], ["Pow"]]
PREC = {t: level for level, ts in enumerate(PRECEDENCE) for t in ts}


def is_terminal(sym):
    return sym in TERMINALS


def first_sets():
    first = {t: {t} for t in TERMINALS}
    for n in NONTERMINALS + ["Start"]:
        first[n] = set()
    changed = True
    while changed:
        changed = False
        for lhs, rhs, _ in RULES:
            # No rule derives the empty string, so FIRST(rhs) = FIRST(rhs[0]).
            before = len(first[lhs])
            first[lhs] |= first[rhs[0]]
            changed |= len(first[lhs]) != before
    return first


FIRST = first_sets()


def closure(items):
    result = set(items)
    work = list(items)
    while work:
        rule, dot, look = work.pop()
        rhs = RULES[rule][1]
        if dot >= len(rhs) or is_terminal(rhs[dot]):
            continue
        follow = FIRST[rhs[dot + 1]] if dot + 1 < len(rhs) else {look}
        for r, (lhs, _, _) in enumerate(RULES):
            if lhs != rhs[dot]:
                continue
            for la in follow:
                item = (r, 0, la)
                if item not in result:
                    result.add(item)
                    work.append(item)
    return frozenset(result)


def goto(items, sym):
    moved = [(r, d + 1, la) for r, d, la in items
             if d < len(RULES[r][1]) and RULES[r][1][d] == sym]
    return closure(moved) if moved else None


def canonical_lr1():
    start = closure({(0, 0, "End")})
    states = [start]
    index = {start: 0}
    edges = {}
    i = 0
    while i < len(states):
        # End is never shifted: seeing it after a whole line accepts.
        for sym in TERMINALS[1:] + NONTERMINALS:
            target = goto(states[i], sym)
            if target is None:
                continue
            if target not in index:
                index[target] = len(states)
                states.append(target)
            edges[(i, sym)] = index[target]
        i += 1
    return states, edges


def lalr():
    states, edges = canonical_lr1()
    core_of = lambda s: frozenset((r, d) for r, d, _ in s)
    cores = []
    merged_index = {}
    canon_to_merged = []
    for s in states:
        c = core_of(s)
        if c not in merged_index:
            merged_index[c] = len(cores)
            cores.append(set())
        m = merged_index[c]
        cores[m] |= s
        canon_to_merged.append(m)
    merged_edges = {}
    for (i, sym), j in edges.items():
        key = (canon_to_merged[i], sym)
        target = canon_to_merged[j]
        assert merged_edges.get(key, target) == target
        merged_edges[key] = target
    return cores, merged_edges


def rule_prec(rule):
    for sym in reversed(RULES[rule][1]):
        if sym in PREC:
            return PREC[sym]
    return None


def build_tables():
    states, edges = lalr()
    action = [[0] * len(TERMINALS) for _ in states]
    goto_table = [[-1] * len(NONTERMINALS) for _ in states]
    for i, items in enumerate(states):
        shifts = {}
        for t in TERMINALS:
            if (i, t) in edges:
                shifts[t] = edges[(i, t)]
        reduces = {}
        accept = False
        for r, d, la in items:
            rhs = RULES[r][1]
            if r == 0 and d == 1:
                accept = True  # Line seen with End as look-ahead
            elif d == len(rhs):
                if la in reduces and reduces[la] != r:
                    sys.exit(f"reduce/reduce conflict in state {i} on {la}")
                reduces[la] = r
        for ti, t in enumerate(TERMINALS):
            if t == "End" and accept:
                action[i][ti] = ACCEPT
                continue
            s = shifts.get(t)
            r = reduces.get(t)
            if s is not None and r is not None:
                rp, tp = rule_prec(r), PREC.get(t)
                if rp is None or tp is None:
                    sys.exit(f"unresolved shift/reduce conflict in state {i} on {t}")
                # Equal levels are left-associative: reduce.
                action[i][ti] = -r if rp >= tp else s + 1
            elif s is not None:
                action[i][ti] = s + 1
            elif r is not None:
                action[i][ti] = -r
        for ni, n in enumerate(NONTERMINALS):
            if (i, n) in edges:
                goto_table[i][ni] = edges[(i, n)]
    return states, action, goto_table


ACCEPT = 127


def main():
    states, action, goto_table = build_tables()
    out = []
    w = out.append
    w("// The LALR(1) tables of the line calculator's parser: one action per state")
    w("// and terminal, one goto per state and nonterminal, and the length and left")
    w("// side of every rule. Generated by src/calc/tools/make_parse_tables.py from")
    w("// the grammar written there; rebuild with")
    w("//     python3 src/calc/tools/make_parse_tables.py > src/calc/parse_tables.h")
    w("// and do not edit by hand.")
    w("#pragma once")
    w("")
    w("#include <cstdint>")
    w("")
    w("namespace tabulo::calc::detail {")
    w("")
    w("enum class Term : std::uint8_t {")
    for t in TERMINALS:
        w(f"    {t},")
    w("};")
    w(f"inline constexpr int kTermCount = {len(TERMINALS)};")
    w("")
    w("enum class NonTerm : std::uint8_t {")
    for n in NONTERMINALS:
        w(f"    {n},")
    w("};")
    w(f"inline constexpr int kNonTermCount = {len(NONTERMINALS)};")
    w(f"inline constexpr int kStateCount = {len(states)};")
    w("")
    w("// Action encoding: 0 error, kAccept accept, n > 0 shift to state n - 1,")
    w("// n < 0 reduce by rule -n.")
    w(f"inline constexpr std::int8_t kAccept = {ACCEPT};")
    w("")
    w("// Rules, numbered as the actions use them (0 is the start rule).")
    w("struct RuleShape {")
    w("    std::uint8_t length;")
    w("    NonTerm lhs;")
    w("};")
    w(f"inline constexpr RuleShape kRules[{len(RULES)}] = {{")
    for lhs, rhs, comment in RULES:
        lhs_name = "Line" if lhs == "Start" else lhs
        w(f"    {{{len(rhs)}, NonTerm::{lhs_name}}},  // {comment}")
    w("};")
    w("")
    w(f"inline constexpr std::int8_t kAction[{len(states)}][{len(TERMINALS)}] = {{")
    w("    // " + " ".join(f"{t[:5]:>5}" for t in TERMINALS))
    for i, row in enumerate(action):
        w("    {" + ",".join(f"{a:5d}" for a in row) + f"}},  // {i}")
    w("};")
    w("")
    w(f"inline constexpr std::int8_t kGoto[{len(states)}][{len(NONTERMINALS)}] = {{")
    for i, row in enumerate(goto_table):
        w("    {" + ",".join(f"{g:3d}" for g in row) + f"}},  // {i}")
    w("};")
    w("")
    w("}  // namespace tabulo::calc::detail")
    print("\n".join(out))


if __name__ == "__main__":
    main()
