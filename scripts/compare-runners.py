#!/usr/bin/env python3
"""Runs the same random jobs through two builds of the batch runner and
compares what they leave: the listing (byte for byte), standard output,
standard error and the exit status. The date and time of the listing header
and of the progress banner are the only text allowed to differ.

    python3 scripts/compare-runners.py --old OLD_COMMAND --new NEW_COMMAND
                                       [--jobs N] [--seed S] [--keep DIR]

OLD_COMMAND and NEW_COMMAND are commands (split like a shell would) to which
the set-up file is appended, e.g. "/path/to/old/marvist-run". Each job runs
in a folder of its own, a copy for each command. With --limits, every job
also runs under a few storage limits; the commands must then take the limit
in bytes before the set-up file (a small test program around run_batch and
set_storage_limit does this).

Jobs cover: sizes 0 to 45 (a few up to 120), rows or columns dependent,
every switch, supplementary predictors, labels, user layouts and free
format, tables whose tau is 0, empty rows and columns, large counts, and the
failures of the input files (missing or short files, bad characters).
"""
import argparse
import os
import random
import re
import shlex
import shutil
import subprocess
import sys
import tempfile

DATE = re.compile(rb" Date: \d\d-\d\d-\d{4} ; Time: \d\d:\d\d:\d\d")


def masked(data):
    return DATE.sub(b" Date: DD-MM-YYYY ; Time: HH:MM:SS", data)


def label(rng):
    letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789 -_"
    return "".join(rng.choice(letters) for _ in range(6))


def table_counts(rng, rows, cols):
    kind = rng.random()
    if kind < 0.12:  # every column has the same profile: tau is 0
        r = [rng.randint(1, 9) for _ in range(rows)]
        c = [rng.randint(1, 5) for _ in range(cols)]
        return [[r[i] * c[j] for j in range(cols)] for i in range(rows)]
    if kind < 0.18:  # some counts far beyond 2^31 in total
        return [[rng.randint(0, 2_000_000_000) for _ in range(cols)] for _ in range(rows)]
    top = rng.choice([1, 3, 9, 50, 500])
    counts = [[rng.randint(0, top) for _ in range(cols)] for _ in range(rows)]
    if kind < 0.28 and rows > 1:  # two equal rows: points that share a cell
        counts[rows - 1] = list(counts[0])
    if kind > 0.94:  # an empty row or column
        if rng.random() < 0.5:
            counts[rng.randrange(rows)] = [0] * cols
        else:
            j = rng.randrange(cols)
            for row in counts:
                row[j] = 0
    return counts


def data_lines(rng, counts, supp, dependence, layout_width):
    """The records of the data file: one per read operation."""
    reads = []
    if dependence == 0:
        for i, row in enumerate(counts):
            reads.append(row + [s[i] for s in supp])
    else:
        reads.extend(counts)
        reads.extend(supp)
    lines = []
    for values in reads:
        if layout_width:
            lines.append("".join(str(v).rjust(layout_width) for v in values))
        else:
            sep = rng.choice([" ", "  ", ","])
            text = sep.join(str(v) for v in values)
            if rng.random() < 0.1 and len(values) > 2:  # a row over two lines
                cut = len(values) // 2
                text = " ".join(str(v) for v in values[:cut]) + "\n" + " ".join(str(v) for v in values[cut:])
            if rng.random() < 0.1:
                text += " 99 98"  # the rest of a line is skipped
            lines.append(text)
    return lines


def make_job(rng, folder, name):
    small = rng.random() < 0.85
    rows = rng.randint(2, 12) if small else rng.randint(2, 45)
    cols = rng.randint(2, 12) if small else rng.randint(2, 45)
    if rng.random() < 0.03:
        rows, cols = rng.randint(60, 120), rng.randint(2, 8)
    dependence = 1 if rng.random() < 0.35 else 0
    do_nsca = 1 if rng.random() < 0.7 else 0
    do_homogenise = 1 if rng.random() < 0.5 else 0
    do_symmetry = 1 if rng.random() < 0.5 else 0
    if do_symmetry and rng.random() < 0.5:
        cols = rows
    n_axes = rng.choice([0, 1, 1, 2, 2, 2, 3, 4, 5, 6, 8])
    n_supp = rng.choice([0, 0, 0, 1, 2, 3])
    has_labels = 1 if rng.random() < 0.5 else 0

    counts = table_counts(rng, rows, cols)
    # Supplementary predictors: extra columns (rows dependent) or extra rows
    # (columns dependent) of the file.
    supp_len = rows if dependence == 0 else cols
    supp = []
    for _ in range(n_supp):
        if rng.random() < 0.1:
            supp.append([0] * supp_len)
        elif rng.random() < 0.2 and dependence == 0:
            j = rng.randrange(cols)
            supp.append([counts[i][j] * 2 for i in range(rows)])
        else:
            supp.append([rng.randint(0, 30) for _ in range(supp_len)])

    biggest = max([max(r) for r in counts] + [max(s) for s in supp] + [0])
    use_layout = rng.random() < 0.3 and biggest < 10**9
    width = len(str(biggest)) + rng.randint(1, 2) if use_layout else 0
    values_per_read = (cols + n_supp) if dependence == 0 else cols
    data_format = "*" if not use_layout else "(%dI%d)" % (values_per_read, width)
    if not use_layout and rng.random() < 0.05:
        data_format = " *"  # a leading blank: a layout, and not a legal one
    lines = data_lines(rng, counts, supp, dependence, width)

    # Failures of the input.
    fault = rng.random()
    data_name = name + ".dat"
    if fault < 0.02:
        data_name = "missing.dat"
    elif fault < 0.04:
        lines = lines[: max(0, len(lines) - 1)]  # the data end early
    elif fault < 0.06 and lines:
        lines[-1] = lines[-1] + " x7"  # a character that is no integer
        if use_layout:
            lines[-1] = "x" + lines[-1][1:]
    elif fault < 0.07:
        rows = rng.choice([0, 1])
    elif fault < 0.08:
        cols = 1
    with open(os.path.join(folder, name + ".dat"), "w") as f:
        f.write("\n".join(lines) + ("\n" if rng.random() < 0.9 else ""))

    if has_labels:
        row_labels = [label(rng) for _ in range(max(rows, 0))]
        col_labels = [label(rng) for _ in range(max(cols, 0))]
        text = ""
        for group in (row_labels, col_labels):
            for k in range(0, len(group), 13):
                text += "".join(group[k : k + 13]) + "\n"
        if rng.random() < 0.04:
            text = text[: len(text) // 2]  # the labels end early
        with open(os.path.join(folder, name + ".lab"), "w") as f:
            f.write(text)

    title = rng.choice(["Random job", "Table of counts", "A job with a long title " * 3, ""])
    row_var = rng.choice(["Rows", "Response", "Son", "A very long variable", "x"])
    col_var = rng.choice(["Columns", "Treatment", "Father", "y"])
    setup = [
        " %-70s" % title[:70],
        " %-10s %-12s" % (rows, row_var.replace(" ", "_")[:12]),
        " %-10s %-12s" % (cols, col_var.replace(" ", "_")[:12]),
        " %d" % has_labels,
        " " + name,
        " " + data_name,
    ]
    if has_labels:
        setup.append(" " + name + ".lab")
    setup.append(' "%s"' % data_format)
    setup.append(" %d %d %d %d" % (dependence, do_nsca, do_homogenise, do_symmetry))
    setup.append(" %-10s%-10s" % (n_axes, n_supp))
    with open(os.path.join(folder, name + ".set"), "w") as f:
        f.write("\n".join(setup) + "\n")
    return rows, cols


def run(command, folder, setup, from_parent):
    """Runs the job in folder, started there or (from_parent) from the folder above."""
    if from_parent:
        cwd, setup = os.path.dirname(folder), os.path.join(os.path.basename(folder), setup)
    else:
        cwd = folder
    proc = subprocess.run(command + [setup], cwd=cwd, capture_output=True, timeout=600)
    files = {}
    for entry in sorted(os.listdir(folder)):
        with open(os.path.join(folder, entry), "rb") as f:
            files[entry] = masked(f.read())
    return proc.returncode, masked(proc.stdout), masked(proc.stderr), files


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--old", required=True)
    parser.add_argument("--new", required=True)
    parser.add_argument("--jobs", type=int, default=200)
    parser.add_argument("--seed", type=int, default=1)
    parser.add_argument("--limits", action="store_true")
    parser.add_argument("--keep", help="folder to keep the jobs that differ in")
    args = parser.parse_args()

    rng = random.Random(args.seed)
    old, new = shlex.split(args.old), shlex.split(args.new)
    compared = differ = 0
    statuses = {}
    work = tempfile.mkdtemp(prefix="marvist-compare-")
    for which in ("old", "new"):
        os.mkdir(os.path.join(work, which))
    try:
        for k in range(args.jobs):
            source = os.path.join(work, "job%d" % k)
            os.mkdir(source)
            make_job(rng, source, "job%d" % k)
            limits = [None]
            if args.limits:
                # Spread over the sizes of a small job's arrays; 3354 bytes is
                # the raster of a plot.
                limits = [rng.choice([3353, int(10 ** rng.uniform(2, 6))]) for _ in range(3)]
            from_parent = rng.random() < 0.5
            for limit in limits:
                extra = [] if limit is None else [str(limit)]
                results = []
                for which, command in (("old", old), ("new", new)):
                    # The same folder name for both, so that messages naming it agree.
                    folder = os.path.join(work, which, "job%d" % k)
                    shutil.copytree(source, folder)
                    results.append(run(command + extra, folder, "job%d.set" % k, from_parent))
                compared += 1
                statuses[results[1][0]] = statuses.get(results[1][0], 0) + 1
                if results[0] != results[1]:
                    differ += 1
                    what = [n for n, a, b in zip(("status", "stdout", "stderr", "files"), results[0], results[1])
                            if a != b]
                    print("job%d (limit %s) differs in %s" % (k, limit, ", ".join(what)))
                    if args.keep:
                        keep = os.path.join(args.keep, "job%d-%s" % (k, limit))
                        for which in ("old", "new"):
                            shutil.copytree(os.path.join(work, which, "job%d" % k), keep + "-" + which)
                for which in ("old", "new"):
                    shutil.rmtree(os.path.join(work, which, "job%d" % k))
            shutil.rmtree(source)
    finally:
        shutil.rmtree(work, ignore_errors=True)
    print("compared %d runs, %d differ; exit statuses of the new runs: %s"
          % (compared, differ, ", ".join("%s: %d" % kv for kv in sorted(statuses.items()))))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
