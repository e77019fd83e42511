#!/usr/bin/env python3
"""Independent check of the NSCA section of the golden listings.

Recomputes every figure of the section with numpy (a LAPACK decomposition,
not the program's own), lays out every line anew (matrix printers, fit block,
joint plots with their scales and coincidence lists) and compares the result
with the section of a listing, line by line. The signs of the singular
vectors are arbitrary; each axis takes the sign of the largest standard row
coordinate that the listing shows, and nothing else is read from it.

Not part of the test suite (it needs python3-numpy):
    python3 check_nsca_section.py            # the golden listings here
    python3 check_nsca_section.py DIR        # the listings NAME.out in DIR
"""
import math
import os
import sys

import numpy as np

KEYS = "123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"
HERE = os.path.dirname(os.path.abspath(__file__))

# name: (rows, row variable, columns, column variable, axes asked, supplementary)
JOBS = {
    "holiday": (5, "Holiday", 4, "Agegroup", 2, 0),
    "oneaxis": (4, "Response", 3, "Predictor", 1, 0),
    "fiveaxes": (6, "Rowvar", 6, "Colvar", 5, 0),
    "suppl": (4, "Diet", 5, "Region", 2, 2),
    "manyrows": (38, "Rows", 3, "Columns", 2, 0),
    "coincide": (5, "Rows", 4, "Columns", 2, 0),
}


# ---- fields -------------------------------------------------------------

def fI(w, v):
    s = str(int(v))
    return "*" * w if len(s) > w else s.rjust(w)


def fF(w, d, v):
    s = "%.*f" % (d, v)
    if s.startswith("-") and float(s) == 0.0:
        s = s[1:]
    if len(s) > w and s.startswith("0."):
        s = s[1:]
    elif len(s) > w and s.startswith("-0."):
        s = "-" + s[2:]
    return "*" * w if len(s) > w else s.rjust(w)


def fixed(s, n):
    return s[:n].ljust(n)


# ---- matrix printers ----------------------------------------------------

def blocks(ncol):
    out, first = [], 1
    while True:
        width = min(10, ncol - first + 1)
        out.append(range(first, first + width))
        if ncol - first + 1 <= 10:
            return out
        first += 10


def print_matrix(values, row_labels, col_labels, no_col_labels, summary=None):
    """values: list of rows. summary: per-row values headed 'Sum'."""
    nrow, ncol = len(values), len(values[0]) if values else 0
    lines = []
    for b, cols in enumerate(blocks(ncol)):
        if b:
            lines.append("")
        width = len(cols)
        nums = "".join(fI(6, j) + " " for j in cols)
        labs = "".join(" " + col_labels[j - 1] for j in cols)
        rule = "─" * (7 * width)
        if nrow != 1:
            if summary is None:
                lines.append(" NO. L  LABEL │" + nums)
                if not no_col_labels:
                    lines.append("              │" + labs)
                lines.append(" ─────────────┼" + rule)
            else:
                lines.append(" NO. L  LABEL │   Sum  │" + nums)
                if not no_col_labels:
                    lines.append("              │        │" + labs)
                lines.append(" ─────────────┼────────┼" + rule)
            for i in range(1, nrow + 1):
                head = " " + fI(2, i) + "  " + KEYS[(i - 1) % 35] + " " + row_labels[i - 1]
                vals = "".join(fF(7, 3, values[i - 1][j - 1]) for j in cols)
                if summary is None:
                    lines.append(head + " │" + vals)
                else:
                    lines.append(head + " │" + fF(7, 3, summary[i - 1]) + " │" + vals)
        else:
            lines.append(" " + nums)
            if not no_col_labels:
                lines.append(" " + labs)
            lines.append(" " + rule)
            lines.append(" " + "".join(fF(7, 3, values[0][j - 1]) for j in cols))
    return lines


# ---- printer plot -------------------------------------------------------

def nint(q):
    return int(q + 0.5) if q >= 0 else int(q - 0.5)


def tolerant_floor(v):
    f = float(math.trunc(v))
    return f - 1 if f - v > 1e-9 * abs(v) else f


def step_decimals(s):
    digits = ("%15.7f" % s).split(".")[1]
    return len(digits.rstrip("0"))


def width_to_point(v):
    t = ("%15.7f" % v).strip()
    return t.index(".") + 1


def choose_axis_scale(low, high, n, along):
    R = (high - low) * (n + 1) / n
    s = 10.0 ** tolerant_floor(math.log10(R))
    if nint(R / s) < 2:
        s = s / 10
    while nint(R / s) < n // 2:
        s = s / 2
    # Doubling the step: the program takes the decimals of the doubled step
    # itself (0.1 -> 0.2 keeps its decimal) instead of dropping one decimal
    # per doubling, which would leave tick values such as 0.2 without digits.
    while True:
        s = 2 * s
        decimals = step_decimals(s)
        width = max(width_to_point(low), width_to_point(high))
        if decimals > 0:
            width += decimals + 1
        steps = nint(R / s)
        if ((n // width) if along else (n // 2)) > steps or steps == 0:
            break
    step = s
    m = int(s * n / R)
    cell = s / m
    E = n * cell - R
    high = high + E / 2
    low = low - E / 2
    start = low - math.fmod(low, s)
    t = math.fmod(start + s - low, cell) if start < low else math.fmod(start - low, cell)
    t = float(np.float32(t))
    low = low + t - cell / 2
    return dict(low=low, high=high, start=start, step=step, cell=cell, width=width, decimals=decimals)


def tick_text(v, w, d):
    assert 1 <= w <= 15 and 0 <= d <= 9 and d <= w - 2
    return fF(w, d, v)


def draw_plot(xs, ys, labels, rng, nL=43, nC=78):
    """rng: [xLow, xHigh, yLow, yHigh], widened in place. Returns lines."""
    cells = [" "] * (nL * nC)

    def put(L, C, ch):
        cells[(L - 1) * nC + C - 1] = ch

    def get(L, C):
        return cells[(L - 1) * nC + C - 1]

    for C in range(9, nC):
        put(2, C, "─")
        put(nL, C, "─")
    for L in range(3, nL):
        put(L, 8, "│")
        put(L, nC, "│")
    put(nL, 8, "┌")
    put(nL, nC, "┐")
    put(2, 8, "└")
    put(2, nC, "┘")
    h = choose_axis_scale(rng[0], rng[1], nC - 9, True)
    v = choose_axis_scale(rng[2], rng[3], nL - 3, False)
    rng[0], rng[1], rng[2], rng[3] = h["low"], h["high"], v["low"], v["high"]

    def cell_of(val, sc):
        return nint((val - sc["low"]) / sc["cell"])

    t = h["start"]
    while h["step"] < t - h["low"]:
        t -= h["step"]
    while t < h["high"]:
        C = cell_of(t, h) + 9
        if 9 <= C <= nC - 1:
            put(2, C, "+")
            put(nL, C, "+")
        text = tick_text(t, h["width"], h["decimals"])
        m = h["width"] if h["decimals"] > 0 else h["width"] - 1
        for k in range(1, m + 1):
            pos = C + h["decimals"] - m + k
            if 1 <= pos <= nL * nC:
                cells[pos - 1] = text[k - 1]
        t += h["step"]
    t = v["start"]
    while v["step"] < t - v["low"]:
        t -= v["step"]
    while t < v["high"]:
        L = cell_of(t, v) + 3
        if 3 <= L <= nL - 1:
            text = tick_text(t, 7, v["decimals"])
            if v["decimals"] > 0:
                for k in range(7):
                    put(L, 1 + k, text[k])
            else:
                for k in range(6):
                    put(L, 2 + k, text[k])
            put(L, 8, "┼")
            put(L, nC, "┼")
        t += v["step"]
    if rng[0] < 0 < rng[1]:
        C = cell_of(0.0, h) + 9
        for L in range(3, nL):
            put(L, C, "∙")
    if rng[2] < 0 < rng[3]:
        L = cell_of(0.0, v) + 3
        for C in range(10, nC, 2):
            put(L, C, "∙")
    shared = False
    where = []
    for i in range(len(xs)):
        C = cell_of(xs[i], h) + 9
        L = cell_of(ys[i], v) + 3
        where.append((C, L))
        if not (9 <= C <= nC - 1 and 3 <= L <= nL - 1):
            continue
        if get(L, C) in (" ", "∙"):
            put(L, C, labels[i])
        else:
            put(L, C, "■")
            shared = True
    lines = [" " + "".join(cells[(L - 1) * nC:L * nC]) for L in range(nL, 0, -1)]
    if shared:
        lines += ["", "         MULTIPLE POINTS IN THE PLOT", "", "         NO.    X       Y     LABEL"]
        done = [False] * len(xs)
        for i in range(len(xs) - 1):
            if done[i]:
                continue
            for j in range(i + 1, len(xs)):
                if done[j] or where[i] != where[j]:
                    continue
                if not done[i]:
                    done[i] = True
                    lines += ["", point_line(i, xs, ys, labels)]
                done[j] = True
                lines.append(point_line(j, xs, ys, labels))
    return lines


def point_line(k, xs, ys, labels):
    return " " * 7 + fI(4, k + 1) + "  " + fF(7, 3, xs[k]) + " " + fF(7, 3, ys[k]) + "  " + labels[k]


def joint_plots(rows, cols, K):
    P = np.vstack([rows[:, :K], cols[:, :K]])
    labels = [KEYS[p % 35] for p in range(rows.shape[0])] + [KEYS[q % 35] for q in range(cols.shape[0])]
    seq = [KEYS[p % 35] for p in range(P.shape[0])]
    if K == 1:
        return ["", " NO PLOT. THE NUMBER OF DIMENSIONS IS ONE.", ""]
    K4 = min(K, 4)
    M = float(np.max(np.abs(P[:, :K4])))
    lines, rng = [], None

    def heading(i, j):
        return ["", " COMPONENT LOADINGS OF MODE 1 AND MODE 2 (JOINT PLOT)",
                " COMPONENT" + fI(3, i) + "  (HOR.) VERSUS COMPONENT" + fI(3, j) + "  (VERT.)"]

    for i in range(1, K4):
        for j in range(i + 1, K4 + 1):
            rng = [-M, M, -M, M]
            lines += heading(i, j) + draw_plot(P[:, i - 1], P[:, j - 1], labels, rng)
    for k in range(5, K + 1):
        lines += heading(1, k) + draw_plot(P[:, 0], P[:, k - 1], seq, rng)
    return lines


# ---- the section --------------------------------------------------------

def read_table(name, I, J, S):
    values = [int(x) for x in open(os.path.join(HERE, name + ".dat")).read().split()]
    table = np.array(values, dtype=float).reshape(I, J + S)
    return table[:, :J], table[:, J:]


def read_labels(name, I, J):
    path = os.path.join(HERE, name + ".lab")
    if not os.path.exists(path):
        return [" " * 6] * I, [" " * 6] * J
    lines = open(path).read().split("\n")

    def take(first, n):
        out, line = [], first
        while len(out) < n:
            text = lines[line].ljust(78)
            out += [text[6 * k:6 * k + 6] for k in range(13)][:n - len(out)]
            line += 1
        return out, line

    rows, nxt = take(0, I)
    cols, _ = take(nxt, J)
    return rows, cols


def signs_from_listing(listing, row_var, K):
    at = listing.index(" Standard row coordinates (Left singular vectors) - " + fixed(row_var, 12))
    values = []
    for line in listing[at + 3:]:
        if not line.strip():
            break
        values.append([float(line[15 + 7 * k:22 + 7 * k]) for k in range(K)])
    values = np.array(values)
    return [1.0 if values[np.argmax(np.abs(values[:, k])), k] > 0 else -1.0 for k in range(K)]


def section(name, listing):
    I, row_var, J, col_var, asked, S = JOBS[name]
    n, supp = read_table(name, I, J, S)
    rl, cl = read_labels(name, I, J)
    rv, cv = fixed(row_var, 12), fixed(col_var, 12)
    N = n.sum()
    p_row, p_col = n.sum(axis=1) / N, n.sum(axis=0) / N
    pi = n / n.sum(axis=0) - p_row[:, None]
    A = pi * np.sqrt(p_col)
    U, W, Vt = np.linalg.svd(A)
    V = Vt.T
    W = np.concatenate([W, np.zeros(J - len(W))])
    mn = min(I, J)
    d = int(np.sum(W[:mn] > 1e-06))
    total = float(np.sum(W[:mn] ** 2))
    K = min(asked, d)
    for k, sign in enumerate(signs_from_listing(listing, row_var, K)):
        if U[np.argmax(np.abs(U[:, k])), k] * sign < 0:
            U[:, k], V[:, k] = -U[:, k], -V[:, k]
    u, v, lam = U[:, :K], V[:, :K], W[:K]

    rule78, thin78 = " " + "═" * 78, " " + "─" * 78
    out = ["", rule78, "     Non-symmetric correspondence analysis à la Lauro & D_Ambra", rule78, ""]
    out += ["", " Singular values and Principal Inertias (= Eigenvalues)", "",
            "   No.    Singular   Principal  Proportion  Cumulative",
            "            Value     Inertia               Proportion", " " + "─" * 54]
    cum = 0.0
    for i in range(d):
        cum += W[i] ** 2 / total
        out.append(" " + fI(4, i + 1) + fF(12, 5, W[i]) + fF(12, 5, W[i] ** 2) + fF(9, 3, W[i] ** 2 / total) + fF(15, 3, cum))
    out += ["", " Total Inertia   " + fF(12, 5, total) + " (= 2 * MS(Between) = Sum Eigenvalues)"]
    blank = [" " * 6] * K
    out += ["", " Standard row coordinates (Left singular vectors) - " + rv] + print_matrix(u.tolist(), rl, blank, 1)
    out += ["", " Standard column coordinates (Right singular vectors) - " + cv] + print_matrix(v.tolist(), cl, blank, 1)

    g = v * lam / np.sqrt(p_col)[:, None]
    length = np.sqrt(np.sum(g ** 2, axis=1))
    if S == 0:
        out += ["", " Principal coordinates for columns", " (scaled right singular vectors)  - " + cv]
        out += print_matrix(g.tolist(), cl, blank, 1)
        points = g
    else:
        prof = supp / supp.sum(axis=0) - p_row[:, None]
        gs = prof.T @ u
        points = np.vstack([g, gs])
        out += ["", " Principal coordinates including supplementary columns - " + cv]
        out += print_matrix(points.tolist(), cl + ["Suppl "] * S, blank, 1)
    out += joint_plots(u, points, K)

    fitted = u @ g.T
    out += ["", thin78, "           Supplementary information on the NSCA solution", thin78, ""]
    out += ["", " Implied centred column profiles", " Row variable: " + rv + "; Column variable: " + cv, ""]
    out += print_matrix(fitted.tolist(), rl, cl, 0)
    resid = pi - fitted
    o = n
    e = (fitted + p_row[:, None]) * p_col * N
    ok = (np.abs(e) > 1e-06) & (np.abs(o / e) > 1e-06)
    G2 = float(np.sum(np.where(ok, 2 * o * np.log(np.abs(o / np.where(ok, e, 1.0))), 0.0)))
    rms = math.sqrt(float(np.sum(resid ** 2)) / (I * J))
    df = (J - K - 1) * (I - K - 1)
    out += ["", " Residuals: Not fitted part of centred column profiles", " Row variable: " + rv + "; Column variable: " + cv, ""]
    out += print_matrix(resid.tolist(), rl, cl, 0)
    out += ["", "", "                   FIT INFORMATION", "                   ***************", "",
            " LogLikelihood Ratio (G2) " + fF(10, 4, G2) + " df = " + fI(3, df), " " + "═" * 46,
            " This statistic (informally) tests whether the model with,", fI(2, K) + " dimensions fits well or not.",
            " Unfortunately, the often large number of observations may", " make the statistic less useful.",
            " In principle the statistic can be used to compare models",
            " with different numbers of dimensions by computing both", " the differences between the G2s and the dfs."]
    out += ["", " Root Mean Square of Residuals" + fF(10, 4, rms), " " + "═" * 40, "", ""]

    absolute = p_col[:, None] * g ** 2
    col_tau = p_col * np.sum(pi ** 2, axis=0)
    row_tau = np.sum(p_col * pi ** 2, axis=1)
    out += ["", " Proportional contribution of columns (" + cv + ") to axes", "  (absolute contributions sum to eigenvalues)"]
    out += print_matrix((absolute / lam ** 2).tolist(), cl, blank, 1)
    out += ["", " Proportional contribution of the " + fI(2, K) + " axes", " to column ( " + cv + ") contribution to tau"]
    out += print_matrix([list(np.sum(absolute, axis=1) / col_tau)], blank, cl, 0)
    out += ["", " Column lengths in two-dimensional biplot - " + cv]
    out += print_matrix([list(length)], blank, cl, 0)
    rows = (u * lam) ** 2 / row_tau[:, None]
    out += ["", " Proportional contribution of axes to the increase in predictability of rows",
            " plus total contribution of all axes - " + rv]
    out += print_matrix(rows.tolist(), rl, blank, 1, summary=list(np.sum(rows, axis=1)))
    return out


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else HERE
    failures = 0
    for name in JOBS:
        listing = open(os.path.join(folder, name + ".out"), encoding="cp437").read().split("\n")
        first = listing.index("     Non-symmetric correspondence analysis à la Lauro & D_Ambra") - 2
        if name == "holiday":
            last = listing.index("               Homogenise margins of input contingency table") - 2
        else:
            last = listing.index(" No Homogenisation of Margins performed") - 1
        got, want = listing[first:last], section(name, listing)
        bad = [k for k in range(max(len(got), len(want)))
               if (got[k] if k < len(got) else None) != (want[k] if k < len(want) else None)]
        print("%-9s %4d lines of the NSCA section: %s" % (name, len(want), "agree" if not bad else "DIFFER"))
        for k in bad[:6]:
            print("  line %d\n    listing:  %r\n    expected: %r" % (first + k + 1, got[k] if k < len(got) else None,
                                                                    want[k] if k < len(want) else None))
        failures += bool(bad)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
