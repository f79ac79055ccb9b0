#!/usr/bin/env python3
"""Benchmarks kept with the project. Builds nothing: run ./run or ./test first (or pass --bin).

    python3 bench/bench.py [--bin build/release/bin/varnexw32] [--rows 1000000]

Generates its data under bench/work/ and prints one Markdown table; copy it into bench/RESULTS.md
together with the machine it ran on.
"""
import argparse
import json
import math
import os
import random
import resource
import shutil
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))


def generate_rows(path, rows, columns, titles=True):
    """A data file of `rows` lines: x and columns-1 data sets, as a measurement writes them: smooth
    signals (waves of different periods) with a little noise. With titles, a title block first."""
    if os.path.exists(path) and os.path.getsize(path) > 0:
        return
    rnd = random.Random(12)
    with open(path, "w", newline="\n") as f:
        if titles:
            f.write("Benchmark data\n\n")
            f.write(" ".join(f"set{c}" for c in range(1, columns)) + "\n")
        chunk = []
        for i in range(rows):
            x = i * 0.001
            values = [f"{x:.3f}"] + [
                f"{100 * c * math.sin(x / (37.0 * c)) + rnd.uniform(-0.5, 0.5):.6f}" for c in range(1, columns)
            ]
            chunk.append(" ".join(values))
            if len(chunk) == 10000:
                f.write("\n".join(chunk) + "\n")
                chunk = []
        if chunk:
            f.write("\n".join(chunk) + "\n")


def run_measured(cmd):
    """Runs cmd; returns (seconds, peak resident MB of the child, stdout)."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    start = time.perf_counter()
    proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False)
    seconds = time.perf_counter() - start
    if proc.returncode != 0:
        sys.exit(f"{' '.join(cmd)} failed: {proc.stderr.decode(errors='replace')}")
    peak = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    # ru_maxrss of children is the largest of any child so far: measure each command in a fresh
    # interpreter when exact figures matter (see main).
    return seconds, max(peak, before) / 1024.0, proc.stdout


def pool_bytes(info):
    """The data pool's byte figure for the Document of an --info answer."""
    sets = info["sets"]
    total = sum((2 * s["count"] + 2) * 8 + 512 + 8 for s in sets)
    most = max((s["count"] for s in sets), default=0)
    return total + (most + 1) * 72 + 8


def bench_info(binary, data, repeats):
    size_mb = os.path.getsize(data) / 1e6
    best = None
    for _ in range(repeats):
        # A fresh interpreter per run so that the peak memory is this run's alone.
        out = subprocess.run([sys.executable, __file__, "--measure-one", binary, "--info", data],
                             stdout=subprocess.PIPE, check=True).stdout
        seconds, peak_mb, info_text = json.loads(out)
        if best is None or seconds < best[0]:
            best = (seconds, peak_mb, info_text)
    seconds, peak_mb, info_text = best
    info = json.loads(info_text)
    pool_mb = pool_bytes(info) / 1e6 * (1e6 / 2**20)
    return [
        ("--info wall time (best of %d)" % repeats, f"{seconds:.3f} s"),
        ("throughput", f"{size_mb / seconds:.0f} MB/s ({size_mb:.1f} MB file)"),
        ("peak resident memory", f"{peak_mb:.1f} MiB"),
        ("data pool", f"{pool_mb:.1f} MiB"),
        ("memory target 1.1 × pool + 30 MiB", f"{1.1 * pool_mb + 30:.1f} MiB"),
    ]


def measure(cmd, repeats):
    """Best wall time of repeats runs of cmd, and the peak memory of that run, each in a fresh process."""
    best = None
    for _ in range(repeats):
        out = subprocess.run([sys.executable, __file__, "--measure-one"] + cmd,
                             stdout=subprocess.PIPE, check=True).stdout
        seconds, peak_mb, _ = json.loads(out)
        if best is None or seconds < best[0]:
            best = (seconds, peak_mb)
    return best


def bench_export(binary, data, peer_data, work, repeats):
    """--export of the 1,000,000-row file with three sets drawn with lines, beside two peers drawing
    the same three columns with lines (installed for the benchmark only: Debian's grace, gnuplot-nox)."""
    rows = []
    ours = measure([binary, "--export", os.path.join(work, "export.png"), data], repeats)
    rows.append(("varnexw32 --export out.png (1000 × 1000)", ours))
    if shutil.which("gracebat"):
        rows.append(("gracebat -nxy FILE -hdevice PNG", measure(
            ["gracebat", "-nxy", peer_data, "-hdevice", "PNG", "-printfile", os.path.join(work, "grace.png")],
            repeats)))
    if shutil.which("gnuplot"):
        script = (f"set terminal pngcairo size 1000,1000; set output '{os.path.join(work, 'gnuplot.png')}'; "
                  f"plot '{peer_data}' using 1:2 with lines, '' using 1:3 with lines, '' using 1:4 with lines")
        rows.append(("gnuplot pngcairo, 3 columns with lines", measure(["gnuplot", "-e", script], repeats)))
    return [(name, f"{seconds:.2f} s, peak {peak:.0f} MiB") for name, (seconds, peak) in rows]


def main():
    if len(sys.argv) > 2 and sys.argv[1] == "--measure-one":
        seconds, peak, out = run_measured(sys.argv[2:])
        print(json.dumps([seconds, peak, out.decode()]))
        return
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", default=os.path.join(HERE, "..", "build", "release", "bin", "varnexw32"))
    parser.add_argument("--rows", type=int, default=1000000)
    parser.add_argument("--repeats", type=int, default=3)
    args = parser.parse_args()
    work = os.path.join(HERE, "work")
    os.makedirs(work, exist_ok=True)
    data = os.path.join(work, f"rows{args.rows}.dat")
    generate_rows(data, args.rows, 4)

    peer_data = os.path.join(work, f"rows{args.rows}-numbers.dat")
    generate_rows(peer_data, args.rows, 4, titles=False)

    rows = bench_info(args.bin, data, args.repeats)
    rows += bench_export(args.bin, data, peer_data, work, args.repeats)
    print("| measure | result |")
    print("|---|---|")
    for name, value in rows:
        print(f"| {name} | {value} |")


if __name__ == "__main__":
    main()
