#!/usr/bin/env python3
"""A second implementation of the random draws of the permutation test
(stats/random_stream.h, stats/log_factorial.h, stats/hypergeometric.h,
stats/random_table.h), written from their descriptions in Python, whose
floats are IEEE doubles. It prints the draws that tests/stats/random_test.cpp
pins: the same seed must give the same draws in both, to the bit."""
import math
from decimal import Decimal, getcontext

MASK = (1 << 64) - 1


def splitmix64(state):
    state = (state + 0x9E3779B97F4A7C15) & MASK
    x = state
    x = ((x ^ (x >> 30)) * 0xBF58476D1CE4E5B9) & MASK
    x = ((x ^ (x >> 27)) * 0x94D049BB133111EB) & MASK
    return state, x ^ (x >> 31)


def rotl(x, k):
    return ((x << k) | (x >> (64 - k))) & MASK


class Stream:
    def __init__(self, seed):
        self.s = []
        for _ in range(4):
            seed, word = splitmix64(seed)
            self.s.append(word)

    def next(self):
        s0, s1, s2, s3 = self.s
        result = (rotl((s1 * 5) & MASK, 7) * 9) & MASK
        t = (s1 << 17) & MASK
        s2 ^= s0
        s3 ^= s1
        s1 ^= s2
        s0 ^= s3
        s2 ^= t
        s3 = rotl(s3, 45)
        self.s = [s0, s1, s2, s3]
        return result

    def uniform(self):
        return float((self.next() >> 11) + 1) * 2.0 ** -53


getcontext().prec = 60
TABLE = [0.0, 0.0]
_acc = Decimal(0)
for _k in range(2, 126):
    _acc += Decimal(_k).ln()
    TABLE.append(float(_acc))

import struct

LN2_HI = float.fromhex('0x1.62e42fee00000p-1')
LN2_LO = float.fromhex('0x1.a39ef35793c76p-33')
CENTRES = []
for _i in range(128):
    _log = (Decimal(1) + Decimal(2 * _i + 1) / Decimal(256)).ln()
    CENTRES.append((float(_log), float(_log - Decimal(float(_log)))))


def portable_log(x):
    e = 0
    if x < 2.0 ** -1022:
        x = x * 2.0 ** 54
        e = -54
    bits = struct.unpack('<Q', struct.pack('<d', x))[0]
    e += (bits >> 52) - 1023
    m = struct.unpack('<d', struct.pack('<Q', (bits & 0x000FFFFFFFFFFFFF) | 0x3FF0000000000000))[0]
    part = (bits >> 45) & 127
    c = 1.0 + float(2 * part + 1) / 256.0
    s = (m - c) / (m + c)
    s2 = s * s
    series = 2.0 * s * (1.0 + s2 * (1.0 / 3.0 + s2 * (1.0 / 5.0 + s2 * (1.0 / 7.0))))
    ed = float(e)
    high, low = CENTRES[part]
    return (ed * LN2_HI + high) + (series + (ed * LN2_LO + low))


def log_factorial(k):
    if k < 126:
        return TABLE[k]
    x = float(k)
    inv = 1.0 / x
    inv2 = inv * inv
    corr = inv * (1.0 / 12.0 - inv2 * (1.0 / 360.0 - inv2 * (1.0 / 1260.0)))
    return (x + 0.5) * portable_log(x) - x + 0.9189385332046728 + corr


def inversion(st, small, large, total):
    p = 1.0
    for i in range(small):
        p = p * float(total - large - i) / float(total - i)
    u = st.uniform()
    k = 0
    while u > p and k < small:
        u = u - p
        p = p * float((small - k) * (large - k)) / float((k + 1) * (total - small - large + k + 1))
        k += 1
    return k


def weight(k, marked, sample, rest):
    return log_factorial(k) + log_factorial(marked - k) + log_factorial(sample - k) + log_factorial(rest + k)


def hrua(st, marked, sample, total):
    rest = total - marked - sample
    n = float(total)
    p = float(marked) / n
    q = float(total - marked) / n
    mean = float(sample) * p
    var = float(total - sample) * float(sample) * p * q / (n - 1.0)
    centre = mean + 0.5
    spread = math.sqrt(var + 0.5)
    width = 1.7155277699214135 * spread + 0.8989161620588988
    mode = (sample + 1) * (marked + 1) // (total + 2)
    g = weight(mode, marked, sample, rest)
    bound = min(float(min(sample, marked) + 1), math.floor(centre + 16.0 * spread))
    while True:
        u = st.uniform()
        v = st.uniform()
        x = centre + width * (v - 0.5) / u
        if x < 0.0 or x >= bound:
            continue
        k = math.floor(x)
        t = g - weight(k, marked, sample, rest)
        if u * (4.0 - u) - 3.0 <= t:
            return k
        if u * (u - t) >= 1.0:
            continue
        if 2.0 * portable_log(u) <= t:
            return k


def hypergeometric(st, marked, unmarked, sample):
    total = marked + unmarked
    if sample == 0 or marked == 0:
        return 0
    if unmarked == 0:
        return sample
    if sample == total:
        return marked
    taken = min(sample, total - sample)
    kind = min(marked, unmarked)
    if min(taken, kind) <= 32:
        k = inversion(st, min(taken, kind), max(taken, kind), total)
    else:
        k = hrua(st, kind, taken, total)
    if marked > unmarked:
        k = taken - k
    if taken < sample:
        k = marked - k
    return k


def random_table(st, rows, cols):
    left = list(cols)
    left_total = sum(cols)
    table = [[0] * len(cols) for _ in rows]
    for i in range(len(rows) - 1):
        row_left = rows[i]
        population = left_total
        left_total -= row_left
        for j in range(len(cols) - 1):
            x = hypergeometric(st, left[j], population - left[j], row_left)
            table[i][j] = x
            population -= left[j]
            left[j] -= x
            row_left -= x
        table[i][-1] = row_left
        left[-1] -= row_left
    table[-1] = left
    return table


if __name__ == '__main__':
    cases = [(5, 7, 4), (40, 60, 50), (700, 300, 450), (10**9 // 3, 10**9 - 10**9 // 3, 10**9 // 7),
             (3 * 10**11, 2 * 10**12, 5 * 10**11), (1, 10**9, 5 * 10**8)]
    for marked, unmarked, sample in cases:
        st = Stream(20240611)
        print(marked, unmarked, sample, [hypergeometric(st, marked, unmarked, sample) for _ in range(6)])
    st = Stream(7)
    print(random_table(st, [10**9 // 2, 10**9 // 4, 10**9 // 4], [10**8, 2 * 10**8, 3 * 10**8, 4 * 10**8]))
    st = Stream(7)
    print(random_table(st, [3, 0, 5, 2], [4, 6]))
