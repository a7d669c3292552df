#!/usr/bin/env python3
"""Writes the tables and polynomial coefficients of vrn::GatePow into runtime/fast_math.h.

GatePow takes logarithms in units of λ = ln 2 rounded to 34 bits: level^ratio = 2^(t/λ) with
t = ratio·λ·log2(level). Then k·λ (k the binary exponent) and n·λ/256 are exact products and no
low part of ln 2 is needed anywhere. Everything is derived here with exact rationals (fractions)
and 70-digit decimals:
  * the log table: for each of 256 slices of the reduced mantissa m, a reciprocal invC on the grid
    1/256 chosen to minimise |m·invC − 1|, and −λ·log2(invC) split into a part on the grid 2^-34
    plus a double remainder;
  * the exp table: 2^(j/256) rounded to double (stored as bits minus j << 44) and the λ-log of
    the rounding ratio;
  * minimax polynomials (Remez exchange, weighted for absolute error) for λ·log2(1 + r) − r and
    2^(f/λ) − 1 − f, with their linear terms' small offsets kept apart.
The script asserts the exactness conditions the C++ code relies on and prints the error bounds.

Usage: make_fast_math_tables.py [--check]   (--check: fail if the header is out of date)
"""

import math
import pathlib
import struct
import sys
from decimal import Decimal as D, getcontext
from fractions import Fraction as F

getcontext().prec = 70

HEADER = pathlib.Path(__file__).resolve().parent.parent / 'runtime' / 'fast_math.h'
BEGIN = '// BEGIN GENERATED (scripts/make_fast_math_tables.py)'
END = '// END GENERATED'

LOG_BITS = 8             # 256 log slices
EXP_BITS = 8             # 256 exp steps per octave
LOG_SLICE_SHIFT = 52 - LOG_BITS
EXP_SLICE_SHIFT = 52 - EXP_BITS
# Bits of the lowest reduced mantissa (≈ 0.708). Its low 44 bits are 2^43, so 1.0 lies in the middle
# of a slice; that slice gets invC = 1 and log 0, so levels just below 1 lose nothing to the tables.
LOG_OFFSET = 0x3FE6A80000000000
INV_GRID = 256           # invC = j / 256
UNIT_BITS = 34           # λ and the table logs' high parts: multiples of 2^-34
MAX_K = 1076             # |k| in level = 2^k·m, subnormal levels (scaled by 2^54) included
MAX_EXP_STEPS = 1 << 19  # |n| in 2^(n/256) where the result is not 0 or inf
LOG_DEGREE = 6           # λ·log2(1 + r) ≈ (λ/ln2)·r + r²·(c2 + … + c6·r⁴)
EXP_DEGREE = 5           # 2^(f/λ) ≈ 1 + (ln2/λ)·f + f²·(c2 + … + c5·f³)

LN2 = D(2).ln()


def bits(x):
    return struct.unpack('<Q', struct.pack('<d', x))[0]


def from_bits(b):
    return struct.unpack('<d', struct.pack('<Q', b))[0]


def dec(x):
    f = F(x)
    return D(f.numerator) / D(f.denominator)


def unit():
    """λ: ln 2 on the grid 2^-34."""
    return on_grid(LN2, UNIT_BITS)


def on_grid(value, g):
    """value rounded to the nearest multiple of 2^-g, as a double (exact)."""
    scaled = int((value * (D(2) ** g)).to_integral_value())
    result = scaled / 2.0 ** g
    assert F(result) == F(scaled, 2 ** g)
    return result


def build_log_table():
    center = (0x3FF0000000000000 - LOG_OFFSET) >> LOG_SLICE_SHIFT
    table = []
    r_lo = r_hi = F(0)
    for i in range(1 << LOG_BITS):
        first = LOG_OFFSET + (i << LOG_SLICE_SHIFT)
        last = first + (1 << LOG_SLICE_SHIFT) - 1
        m_lo, m_hi = F(from_bits(first)), F(from_bits(last))
        if i == center:
            j = INV_GRID
        else:
            j = min(range(INV_GRID // 2, 2 * INV_GRID + 1),
                    key=lambda c: max(abs(m_lo * c / INV_GRID - 1), abs(m_hi * c / INV_GRID - 1)))
        inv = F(j, INV_GRID)
        lo, hi = m_lo * inv - 1, m_hi * inv - 1
        # invC has at most 9 significant bits, so mHi (m with 9 low bits cleared, 44 bits) times
        # invC is exact, and so is mLo·invC.
        assert j < 512
        # r = m·invC − 1 is a multiple of ulp(m)/256; it is a double when below 2^53 such units:
        # |r| < 2^-7 for m ≥ 1 and |r| < 2^-8 for m < 1.
        below_one_bound = F(1, 256)
        if m_lo < 1:
            worst_below = max(abs(lo), abs(min(F(1) - F(1, 2 ** 53), m_hi) * inv - 1))
            assert worst_below < below_one_bound, (i, float(worst_below))
        if m_hi >= 1:
            worst_above = max(abs(hi), abs(max(F(1), m_lo) * inv - 1))
            assert worst_above < F(1, 128), (i, float(worst_above))
        log_c = -(D(j) / D(INV_GRID)).ln() * dec(unit()) / LN2
        log_hi = on_grid(log_c, UNIT_BITS)
        log_lo = float(log_c - dec(log_hi))
        table.append((float(inv), log_hi, log_lo))
        r_lo, r_hi = min(r_lo, lo), max(r_hi, hi)
    assert table[center] == (1.0, 0.0, 0.0)
    return table, float(r_lo), float(r_hi)


def build_exp_table():
    table = []
    n = 1 << EXP_BITS
    for j in range(n):
        exact = (D(j) * LN2 / D(n)).exp()
        hi = float(exact)
        tail = float((D(j) * LN2 / D(n) - dec(hi).ln()) * dec(unit()) / LN2)
        assert 1.0 <= hi < 2.0 and abs(tail) <= 2.0 ** -53
        table.append((bits(hi) - (j << EXP_SLICE_SHIFT), tail))
    return table


def solve(rows, rhs):
    n = len(rows)
    m = [row[:] + [v] for row, v in zip(rows, rhs)]
    for c in range(n):
        p = max(range(c, n), key=lambda r: abs(m[r][c]))
        m[c], m[p] = m[p], m[c]
        for r in range(n):
            if r != c:
                factor = m[r][c] / m[c][c]
                for k in range(c, n + 1):
                    m[r][k] -= factor * m[c][k]
    return [m[r][n] / m[r][r] for r in range(n)]


def power(x, p):
    return x ** p if p else D(1)


def remez(g, lo, hi, degree, samples=4001):
    """Coefficients of P (degree `degree`) minimising max |x²·(P(x) − g(x))| on [lo, hi]."""
    count = degree + 2
    lo, hi = D(lo), D(hi)
    nodes = [lo + (hi - lo) * (1 - D(math.cos(math.pi * (k + 0.5) / count))) / 2
             for k in range(count)]
    # A node at 0 would make the system singular (the weight vanishes there).
    nodes = [x + (hi - lo) / 50 if abs(x) < (hi - lo) / 100 else x for x in nodes]
    # Sample points never hit 0, where the weight vanishes.
    grid = [lo] + [lo + (hi - lo) * (D(k) + D('0.5')) / D(samples - 1)
                   for k in range(samples - 1)] + [hi]
    coeffs = None
    for _ in range(15):
        rows = [[power(x, p) for p in range(degree + 1)] + [D((-1) ** k) / (x * x)]
                for k, x in enumerate(nodes)]
        coeffs = solve(rows, [g(x) for x in nodes])[:degree + 1]
        err = [x * x * (sum(c * power(x, p) for p, c in enumerate(coeffs)) - g(x)) for x in grid]
        # Alternating extrema of the error.
        picks = []
        for k in range(len(grid)):
            left = err[k - 1] if k else None
            right = err[k + 1] if k + 1 < len(grid) else None
            if (left is None or abs(err[k]) >= abs(left)) and (right is None or
                                                              abs(err[k]) >= abs(right)):
                if picks and (err[picks[-1]] > 0) == (err[k] > 0):
                    if abs(err[k]) > abs(err[picks[-1]]):
                        picks[-1] = k
                else:
                    picks.append(k)
        while len(picks) > count:
            picks.pop(0 if abs(err[picks[0]]) < abs(err[picks[-1]]) else -1)
        if len(picks) < count:
            break
        nodes = [grid[k] for k in picks]
    return [float(c) for c in coeffs]


def poly_error(coeffs, g, lo, hi, samples=20001):
    """Largest |x²·(P(x) − g(x))| with the double coefficients, P evaluated exactly."""
    lo, hi = D(lo), D(hi)
    worst = D(0)
    for k in range(samples):
        x = lo + (hi - lo) * (D(k) + D('0.5')) / D(samples)
        p = sum(dec(c) * power(x, i) for i, c in enumerate(coeffs))
        worst = max(worst, abs(x * x * (p - g(x))))
    return float(worst)


def log_rest(r):
    """(λ·log2(1 + r) − (λ/ln2)·r) / r²."""
    total, term = D(0), D(1)
    for n in range(2, 40):
        total += (-1) ** (n + 1) * term / n
        term *= r
    return total * dec(unit()) / LN2


def exp_rest(f):
    """(2^(f/λ) − 1 − f·ln2/λ) / f²."""
    scale = LN2 / dec(unit())
    total, term, fact = D(0), D(1), D(2)
    for n in range(2, 30):
        total += term * scale ** n / fact
        term *= f
        fact *= n + 1
    return total


def generate():
    log_table, r_lo, r_hi = build_log_table()
    exp_table = build_exp_table()
    steps = 1 << EXP_BITS

    lam = unit()
    step = lam / steps
    # k·λ + logHi is exact: both are multiples of 2^-34 and the sum is below 2^11; n·λ/256 is
    # exact for |n| < 2^19.
    assert F(lam) * 2 ** UNIT_BITS * MAX_K < 2 ** 53
    assert F(step) == F(lam) / steps and F(lam) * 2 ** UNIT_BITS * MAX_EXP_STEPS < 2 ** 53
    log_unit_error = float(dec(lam) / LN2 - 1)
    exp_unit_error = float(LN2 / dec(lam) - 1)

    log_poly = remez(log_rest, r_lo, r_hi, LOG_DEGREE - 2)
    # f = t − n·λ/256 (n rounded from the head product) stays within half a step plus the
    # tail: ratio·(r²/2 and smaller log terms) and the parts of t below 26 bits (|t| < 750).
    r_max = max(-r_lo, r_hi)
    f_max = (lam / steps / 2 * (1 + 2.0 ** -30) + 64 * r_max * r_max / 2 * 1.01 +
             3 * 750 * 2.0 ** -26)
    exp_poly = remez(exp_rest, -f_max, f_max, EXP_DEGREE - 2)
    log_err = poly_error(log_poly, log_rest, r_lo, r_hi)
    exp_err = poly_error(exp_poly, exp_rest, -f_max, f_max)
    print(f'r in [{r_lo:.6g}, {r_hi:.6g}]: log polynomial error 2^{math.log2(log_err):.2f}',
          file=sys.stderr)
    print(f'|f| <= {f_max:.6g}: exp polynomial error 2^{math.log2(exp_err):.2f}', file=sys.stderr)

    out = [BEGIN]
    out.append('// clang-format off')
    out.append(f'constexpr std::uint64_t kLogOffset = 0x{LOG_OFFSET:016X};')
    out.append(f'constexpr double kUnit = {lam.hex()}; // λ: ln 2 to 34 bits')
    out.append(f'constexpr double kLogUnitError = {log_unit_error.hex()}; // λ/ln2 − 1')
    out.append(f'constexpr double kExpUnitError = {exp_unit_error.hex()}; // ln2/λ − 1')
    out.append(f'constexpr double kExpScale = {float(D(steps) / dec(lam)).hex()}; // 256/λ')
    out.append(f'constexpr double kExpStep = {step.hex()}; // λ/256, exact')
    out.append('/// λ·log2(1 + r) − (λ/ln2)·r − r²·(c2 + c3·r + c4·r² + c5·r³ + c6·r⁴), '
               f'|error| < 2^{math.ceil(math.log2(log_err))}')
    out.append('constexpr double kLogPoly[] = {')
    out.extend(f'    {c.hex()},' for c in log_poly)
    out.append('};')
    out.append('/// 2^(f/λ) − 1 − (ln2/λ)·f − f²·(c2 + c3·f + c4·f² + c5·f³), '
               f'|error| < 2^{math.ceil(math.log2(exp_err))}')
    out.append('constexpr double kExpPoly[] = {')
    out.extend(f'    {c.hex()},' for c in exp_poly)
    out.append('};')
    out.append('/// {invC, −λ·log2(invC) high part, low part} per mantissa slice')
    out.append(f'constexpr LogEntry kLogTable[{len(log_table)}] = {{')
    for inv, hi, lo in log_table:
        out.append(f'    {{{inv.hex()}, {hi.hex()}, {lo.hex()}}},')
    out.append('};')
    out.append('/// {bits of 2^(j/256) − (j << 44), λ·log2 of the exact value over the stored one}')
    out.append(f'constexpr ExpEntry kExpTable[{len(exp_table)}] = {{')
    for b, tail in exp_table:
        out.append(f'    {{0x{b:016X}, {tail.hex()}}},')
    out.append('};')
    out.append('// clang-format on')
    out.append(END)
    return '\n'.join(out)


def main():
    block = generate()
    text = HEADER.read_text()
    start, stop = text.index(BEGIN), text.index(END) + len(END)
    updated = text[:start] + block + text[stop:]
    if '--check' in sys.argv[1:]:
        if updated != text:
            sys.exit(f'{HEADER} is out of date; run {pathlib.Path(__file__).name}')
        return
    HEADER.write_text(updated)


if __name__ == '__main__':
    main()
