#!/usr/bin/env python3
"""Runs the commands that the user's guide shows and checks its excerpts.

Every fenced block of the guide stands right after a marker comment:

  <!-- run -->                 a shell block, run with bash in the copy of
                               the examples folder that the guide makes
  <!-- run in=source -->       run from the top of the source tree
  <!-- run status=N -->        the block must end with exit status N (else 0)
  <!-- run lang=r -->          an R block, run with Rscript (python: python3)
  <!-- excerpt FILE -->        the lines of the block stand in FILE (a path in
                               the examples copy) one after the other; a line
                               `...` skips lines; dates, times and trailing
                               blanks do not count. `output`: what the last
                               run block wrote, each run of lines between
                               `...` in its standard output or standard error
  <!-- example -->             an illustration, not checked
  <!-- formula -->             formulas, not checked

Blocks are taken in the order of the guide, so an excerpt sees the files as
the commands before it left them. The guide's commands run with HOME set to
a fresh folder and the build folder first on PATH, so `~/marvist-examples`
is a new copy of examples/ on every run. Images the guide shows must exist.

  check_guide.py GUIDE SOURCE_DIR BUILD_DIR
"""

import difflib
import os
import re
import shutil
import subprocess
import sys
import tempfile

MARKER = re.compile(r"^<!--\s*(run|excerpt|example|formula)\b(.*?)-->\s*$")
FENCE = re.compile(r"^```(\S*)\s*$")
IMAGE = re.compile(r"!\[[^\]]*\]\(([^)\s]+)\)")
DATE_TIME = re.compile(r"Date: \d\d-\d\d-\d{4} ; Time: \d\d:\d\d:\d\d")
# Files the programs write in code page 437; everything else is UTF-8.
CP437_SUFFIXES = (".out", ".lab", ".dat", ".set")
WORK = "marvist-examples"  # under HOME: the copy the guide makes
TIMEOUT = 120


class Block:
    def __init__(self, line, kind, options, language, text):
        self.line = line          # line number of the fence in the guide
        self.kind = kind          # run, excerpt, example
        self.options = options    # run: {in, status, lang}; excerpt: {file}
        self.language = language  # the fence's info string
        self.text = text


def parse_guide(path):
    """The marked fenced blocks of the guide, and the problems of marking."""
    with open(path, encoding="utf-8") as f:
        lines = f.read().split("\n")
    blocks, problems = [], []
    marker = None  # (kind, options) of the last marker, until a block takes it
    k = 0
    while k < len(lines):
        line = lines[k]
        m = MARKER.match(line.strip())
        fence = FENCE.match(line)
        if m:
            kind, rest = m.group(1), m.group(2).split()
            options = {}
            if kind == "excerpt":
                if len(rest) != 1:
                    problems.append(f"line {k + 1}: an excerpt marker names one file")
                options["file"] = rest[0] if rest else ""
            else:
                for word in rest:
                    key, _, value = word.partition("=")
                    options[key] = value
            marker = (kind, options, k + 1)
        elif fence:
            language = fence.group(1)
            start = k + 1
            body = []
            k += 1
            while k < len(lines) and not lines[k].startswith("```"):
                body.append(lines[k])
                k += 1
            if k == len(lines):
                problems.append(f"line {start}: a fenced block is not closed")
            if marker is None:
                problems.append(f"line {start}: a fenced block without a marker before it")
            else:
                kind, options, _ = marker
                if language in ("sh", "bash", "console") and kind != "run":
                    problems.append(f"line {start}: shell commands must be a run block")
                blocks.append(Block(start, kind, options, language, "\n".join(body)))
            marker = None
        elif line.strip() and marker is not None:
            problems.append(f"line {marker[2]}: a marker not followed by a fenced block")
            marker = None
        k += 1
    return blocks, problems


def check_images(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    folder = os.path.dirname(path)
    return [f"image {name} does not exist" for name in IMAGE.findall(text)
            if not name.startswith(("http:", "https:")) and not os.path.isfile(os.path.join(folder, name))]


def mask(line):
    return DATE_TIME.sub("Date: dd-mm-yyyy ; Time: hh:mm:ss", line).rstrip()


def file_lines(path):
    encoding = "cp437" if path.endswith(CP437_SUFFIXES) else "utf-8-sig"
    with open(path, "rb") as f:
        data = f.read().decode(encoding)
    return [mask(line) for line in data.replace("\r\n", "\n").split("\n")]


def chunks(excerpt):
    """The excerpt's runs of lines between `...` lines."""
    runs, current = [], []
    for line in excerpt.split("\n"):
        if line.strip() == "...":
            if current:
                runs.append(current)
            current = []
        else:
            current.append(mask(line))
    if current:
        runs.append(current)
    return runs


def find_run(haystack, run, start):
    """Index after the first place at or after start where run stands, or None."""
    for k in range(start, len(haystack) - len(run) + 1):
        if haystack[k:k + len(run)] == run:
            return k + len(run)
    return None


def excerpt_problems(block, sources):
    """Each source is a list of lines (a file; or what a command wrote to its
    standard output and to its standard error). Each run of the excerpt
    stands in one of them, after the run before it in the same source."""
    positions = [0] * len(sources)
    for run in chunks(block.text):
        for k, lines in enumerate(sources):
            found = find_run(lines, run, positions[k])
            if found is not None:
                positions[k] = found
                break
        else:
            return [f"line {block.line}: excerpt of {block.options['file']} not found\n" + missing(run, sources)]
    return []


def missing(run, sources):
    """Says which line of a run that was not found stands nowhere, and what
    the sources hold that is most like it."""
    every = [line for lines in sources for line in lines]
    for line in run:
        if line not in every:
            close = difflib.get_close_matches(line, every, n=1, cutoff=0.6)
            found = repr(close[0]) if close else "nothing like it"
            return f"    guide: {line!r}\n    found: {found}"
    return "    its lines stand apart, not in one run, or not in this order"


def run_block(block, env, source_dir, home):
    folder = source_dir if block.options.get("in") == "source" else os.path.join(home, WORK)
    language = block.options.get("lang", "sh")
    if language == "sh":
        command = ["bash", "-c", block.text]
    elif language == "r":
        command = ["Rscript", "-e", block.text]
    elif language == "python":
        command = ["python3", "-c", block.text]
    else:
        return None, [f"line {block.line}: unknown language {language}"]
    if not os.path.isdir(folder):
        return None, [f"line {block.line}: the folder {folder} does not exist yet"]
    try:
        done = subprocess.run(command, cwd=folder, env=env, capture_output=True, timeout=TIMEOUT)
    except FileNotFoundError as e:
        return None, [f"line {block.line}: cannot run {command[0]}: {e}"]
    except subprocess.TimeoutExpired:
        return None, [f"line {block.line}: still running after {TIMEOUT} s"]
    expected = int(block.options.get("status", "0"))
    problems = []
    if done.returncode != expected:
        problems.append(f"line {block.line}: exit status {done.returncode}, the guide expects {expected}\n"
                        f"--- standard output\n{done.stdout.decode(errors='replace')}"
                        f"--- standard error\n{done.stderr.decode(errors='replace')}")
    output = [[mask(l) for l in done.stdout.decode("utf-8", "replace").split("\n")],
              [mask(l) for l in done.stderr.decode("utf-8", "replace").split("\n")]]
    return output, problems


def main(argv):
    if len(argv) != 4:
        print(__doc__, file=sys.stderr)
        return 2
    guide, source_dir, build_dir = (os.path.abspath(a) for a in argv[1:])
    blocks, problems = parse_guide(guide)
    problems += check_images(guide)
    if problems:
        print("\n".join(problems))
        return 1

    home = tempfile.mkdtemp(prefix="marvist-guide-")
    env = dict(os.environ, HOME=home, PATH=build_dir + os.pathsep + os.environ.get("PATH", ""),
               LC_ALL="C.UTF-8", R_LIBS_USER=os.path.join(home, "R"))
    counts = {"run": 0, "excerpt": 0, "example": 0, "formula": 0}
    output = None
    try:
        for block in blocks:
            counts[block.kind] += 1
            if block.kind == "run":
                output, found = run_block(block, env, source_dir, home)
                problems += found
            elif block.kind == "excerpt":
                name = block.options["file"]
                if name == "output":
                    if output is None:
                        problems.append(f"line {block.line}: an excerpt of output before any run block")
                        continue
                    sources = output
                else:
                    path = os.path.join(home, WORK, name)
                    if not os.path.isfile(path):
                        problems.append(f"line {block.line}: {name} does not exist")
                        continue
                    sources = [file_lines(path)]
                problems += excerpt_problems(block, sources)
    finally:
        shutil.rmtree(home, ignore_errors=True)

    print(f"check_guide: {counts['run']} command blocks run, {counts['excerpt']} excerpts checked, "
          f"{counts['example'] + counts['formula']} illustrations and formulas")
    if problems:
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
