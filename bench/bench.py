#!/usr/bin/env python3
"""Benchmarks kept with the project. Builds nothing: run ./run or ./test first (or pass --bin).

    python3 bench/bench.py [--bin build/release/bin/varnexw32] [--rows 1000000]
                           [--large-rows 10000000] [--compare-bin OTHER/varnexw32] [--skip-small]
                           [--reader-only]

The reader measurement (first with --large-rows) times `wc -l` of the large file beside `--info` of
each build, and runs varnex_read_bench (beside --bin): a whole read on one thread and in parallel
pieces, and the reload of a copy of the file after one appended row (processor time).

The live measurement runs varnex_live_bench (--live-only runs it alone): a logger appending rows to a
watched copy of the --rows file and of the --large-rows file, one appended row, the idle watch.

The reload measurement runs varnex_reload_bench from the same folder as --bin: the main file of
--rows rows opened with two appended files named by its parameter file, then reloaded. The mouse
measurement runs varnex_mouse_bench from that folder on the --rows file.

The picture measurement (--pictures, alone with --pictures-only) exports PNGs of pictures whose one
wide antialiased stroke crosses itself thousands of times (10,000 points in random order, a
100,000-point zig-zag, 36 sets of 200 points in random order) at 530 and 1772 pixels, and of the
--rows and --large-rows files at 1000 pixels, for this build, --compare-bin and the peers (gracebat,
gnuplot's pngcairo) side by side.

The large measurement (skipped with --large-rows 0) takes a file of --large-rows rows and three sets,
numbers only, that the program and gracebat both read: --info, --export to PNG and SVG, the desktop
program's first picture, its memory and its redraw after a range change (varnex_desktop_bench, beside
--bin), gracebat on the same file, and two drawings that once took a minute (huge triangle markers, a
spline far outside its frame). With --compare-bin (another build, say of an earlier commit, with its
own varnex_desktop_bench beside it) every measurement of the program runs on both builds, and the
table shows them side by side.

Generates its data under bench/work/ and prints Markdown tables; copy them into bench/RESULTS.md
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


def run_measured(cmd, timeout=None):
    """Runs cmd; returns (seconds, peak resident MB of the child, stdout). A run that outlasts timeout
    seconds is stopped and reported as taking that long, with no output."""
    before = resource.getrusage(resource.RUSAGE_CHILDREN).ru_maxrss
    start = time.perf_counter()
    try:
        proc = subprocess.run(cmd, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=False, timeout=timeout)
    except subprocess.TimeoutExpired:
        return timeout, 0.0, b""
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
        seconds, peak_mb, info_text, _ = json.loads(out)
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


def measure(cmd, repeats, timeout=None):
    """Best wall time of repeats runs of cmd, the peak memory of that run, and the least processor time
    of the runs, each in a fresh process."""
    best = None
    cpu = None
    limit = [] if timeout is None else ["--timeout", str(timeout)]
    for _ in range(repeats):
        out = subprocess.run([sys.executable, __file__, "--measure-one"] + limit + cmd,
                             stdout=subprocess.PIPE, check=True).stdout
        seconds, peak_mb, _, processor = json.loads(out)
        if best is None or seconds < best[0]:
            best = (seconds, peak_mb)
        cpu = processor if cpu is None else min(cpu, processor)
        if seconds > 10:
            break  # a run this long is not the machine's noise: once is enough
    return best + (cpu,)


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
    return [(name, f"{seconds:.2f} s, peak {peak:.0f} MiB") for name, (seconds, peak, _) in rows]


# Drawing choices stored for the seven sets of the reload benchmark ("interp linetype marker shape"):
# all different from the line scheme, so a reload that reset them would show.
RELOAD_CHOICES = ["2 1 0 0", "0 0 1 1", "1 2 1 2", "1 3 0 0", "2 4 1 3", "0 0 1 2", "1 1 1 1"]


def write_reload_files(work, data, rows):
    """bench/work/reload<rows>/: main.dat (the --rows file, linked), two appended files of rows/10 lines
    with two sets each, and main.P naming them with the choices above. Returns main.dat's path."""
    folder = os.path.join(work, f"reload{rows}")
    os.makedirs(folder, exist_ok=True)
    main = os.path.join(folder, "main.dat")
    if not os.path.exists(main):
        try:
            os.link(data, main)
        except OSError:
            shutil.copyfile(data, main)
    for name in ("extra1.dat", "extra2.dat"):
        generate_rows(os.path.join(folder, name), max(rows // 10, 1), 3)
    section = ["", "file=extra1.dat", "file=extra2.dat", "vtitle=Reload", "xtype=0", "xsize=100%",
               "xtitle=X", "xfont=Times New Roman", "ytype=0", "ysize=100%", "ytitle=Y",
               "yfont=Times New Roman", "xmin=0", "ymin=-1000", "xmax=1000", "ymax=1000", "printw=15",
               "framewidth=0.3", "graphwidth=0.3", "markersize=1.3", f"data={len(RELOAD_CHOICES)}"]
    section += [f"{i} {c}" for i, c in enumerate(RELOAD_CHOICES, start=1)]
    with open(os.path.join(folder, "main.P"), "w", newline="\r\n") as f:
        f.write("\n".join(["view=1"] + section) + "\n")
    return main


def bench_reload(binary, main, repeats):
    proc = subprocess.run([binary, main, str(repeats)], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                          check=False)
    if proc.returncode != 0:
        sys.exit(f"{binary} failed: {proc.stderr.decode(errors='replace')}{proc.stdout.decode()}")
    result = json.loads(proc.stdout)
    if result["sets"] != len(RELOAD_CHOICES) or result["files"] != 3 or not result["choices_kept"]:
        sys.exit(f"reload benchmark: unexpected result {result}")
    size_mb = sum(os.path.getsize(os.path.join(os.path.dirname(main), n))
                  for n in ("main.dat", "extra1.dat", "extra2.dat")) / 1e6
    main_mb = os.path.getsize(main) / 1e6
    return [
        ("reader alone (readDataFile of the main file, best of %d)" % repeats,
         f"{result['read_s']:.3f} s, {main_mb / result['read_s']:.0f} MB/s"),
        ("open with two appended files", f"{result['open_s']:.3f} s ({size_mb:.1f} MB in 3 files)"),
        ("reload (best of %d)" % repeats, f"{result['reload_s']:.3f} s"),
        ("drawing choices after every reload", "all %d sets kept" % result["sets"]),
    ]


def bench_watch(binary, work):
    """The desktop's automatic reload (offscreen): rewrite of a 100,000-row file to new picture, and
    the processor time of the watch while nothing changes."""
    proc = subprocess.run([binary, os.path.join(work, "watch"), "20"], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, check=False)
    if proc.returncode != 0:
        sys.exit(f"{binary} failed")
    result = json.loads(proc.stdout)
    return [
        ("reload latency, rewrite of a 100,000-row file to new picture (median of %d)" % result["rewrites"],
         f"{result['median_ms']:.1f} ms (longest {result['max_ms']:.1f} ms)"),
        ("processor time of the idle watch", f"{result['idle_cpu_percent']:.2f} % of one core"),
    ]


def bench_sheet(binary, work):
    """The desktop's data sheet (offscreen) with a file at its size limit: the default limittext (256)
    and the shipped configuration's (1000). Load into the sheet with its first paint (best of 5), and
    one key press typed into the middle with its repaint (median and longest of 200)."""
    rows = []
    for limittext in (256, 1000):
        proc = subprocess.run([binary, os.path.join(work, f"sheet{limittext}"), str(limittext)],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
        if proc.returncode != 0:
            sys.exit(f"{binary} failed")
        r = json.loads(proc.stdout)
        rows.append((f"data sheet at limittext={limittext} ({r['bytes'] / 1000:.0f} kB, {r['lines']} lines): load",
                     f"{r['load_ms']:.1f} ms"))
        rows.append((f"data sheet at limittext={limittext}: key press (median of 200)",
                     f"{r['key_median_ms']:.2f} ms (longest {r['key_max_ms']:.1f} ms)"))
    return rows


def bench_mouse(binary, data):
    """The mouse on the desktop's graph window (offscreen), on the --rows file with three sets: a mouse
    move to the read-out painted in the status bar, and a position command ("To here" on the x axis) to
    the new picture painted in the graph window."""
    proc = subprocess.run([binary, data, "10"], stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
    if proc.returncode != 0:
        sys.exit(f"{binary} failed")
    result = json.loads(proc.stdout)
    if result["sets"] != 3 or not result["readout"].startswith("x="):
        sys.exit(f"mouse benchmark: unexpected result {result}")
    return [
        ("mouse move to read-out (median of %d moves)" % result["moves"],
         f"{result['move_median_ms']:.3f} ms (99 % within {result['move_p99_ms']:.3f} ms, longest "
         f"{result['move_max_ms']:.1f} ms, the first {result['move_first_ms']:.1f} ms)"),
        ("position command to new picture on screen (median of %d)" % result["commands"],
         f"{result['command_median_ms']:.0f} ms (processor {result['command_cpu_median_ms']:.0f} ms, "
         f"longest {result['command_max_ms']:.0f} ms)"),
    ]


def bench_panels(binary, work):
    """The parameter panels with 255 data sets (offscreen): from the load's end to the panels filled,
    building every row and reusing them, and an apply of the panels without and with a change."""
    proc = subprocess.run([binary, os.path.join(work, "panels"), "9"], stdout=subprocess.PIPE,
                          stderr=subprocess.DEVNULL, check=False)
    if proc.returncode != 0:
        sys.exit(f"{binary} failed")
    result = json.loads(proc.stdout)
    return [
        ("panels: open 255 sets, rows built and filled (median of 9)", f"{result['build_ms']:.1f} ms"),
        ("panels: first showing of the graph page with 255 rows", f"{result['first_show_ms']:.1f} ms"),
        ("panels: reopen 255 sets, rows reused and filled", f"{result['refill_ms']:.2f} ms"),
        ("panels: apply without a change, 255 sets", f"{result['apply_same_ms']:.3f} ms"),
        ("panels: apply with one change, 255 sets", f"{result['apply_change_ms']:.3f} ms"),
    ]


# --- pictures beside the peers -----------------------------------------------------------------

def write_crossing_files(work):
    """Three drawings whose one wide antialiased stroke crosses itself thousands of times, each as the
    program reads it and, numbers only, as the peers read it (None: the peers are not asked).
    Returns [(name, path, peer path)]."""
    folder = os.path.join(work, "crossing")
    os.makedirs(folder, exist_ok=True)
    rnd = random.Random(5)
    files = []

    def write(name, title, blocks, peer):
        path = os.path.join(folder, name + ".dat")
        peer_path = os.path.join(folder, name + "-numbers.dat") if peer else None
        with open(path, "w") as f:
            f.write(title + "\n")
            for block in blocks:
                f.write("\nset\n" + "".join(f"{x} {y}\n" for x, y in block))
        if peer_path:
            with open(peer_path, "w") as f:
                f.write("".join(f"{x} {y}\n" for x, y in blocks[0]))
        return path, peer_path

    points = [(f"{rnd.random():.6f}", f"{rnd.random():.6f}") for _ in range(10000)]
    files.append(("10,000 points in random order",) + write("random", "Random order", [points], True))
    zigzag = [(str(i), str(i % 2)) for i in range(100000)]
    files.append(("100,000-point zig-zag",) + write("zigzag", "Zig-zag", [zigzag], True))
    sets = [[(f"{rnd.random():.6f}", f"{rnd.random():.6f}") for _ in range(200)] for _ in range(36)]
    files.append(("36 sets of 200 points in random order",) + write("sets", "Thirty-six random sets", sets, False))
    return files


def peer_commands(peer_path, size, columns, work):
    """gracebat and gnuplot drawing the columns of peer_path with lines into a size × size PNG."""
    commands = []
    if shutil.which("gracebat"):
        commands.append(("gracebat", ["gracebat", "-fixed", str(size), str(size), "-pexec",
                                      "view 0.15, 0.15, 0.85, 0.85", "-nxy", peer_path, "-hdevice", "PNG",
                                      "-printfile", os.path.join(work, "peer-grace.png")]))
    if shutil.which("gnuplot"):
        plots = ", ".join(f"'{peer_path}' using 1:{c} with lines" for c in range(2, columns + 2))
        script = (f"set terminal pngcairo size {size},{size}; "
                  f"set output '{os.path.join(work, 'peer-gnuplot.png')}'; plot {plots}")
        commands.append(("gnuplot", ["gnuplot", "-e", script]))
    return commands


def timing(measured):
    """A cell of the picture table: wall time (processor time)."""
    seconds, _, cpu = measured
    if seconds >= 120:
        return "over 120 s (stopped)"
    return f"{seconds:.2f} s ({cpu:.2f} s)"


def bench_pictures(binaries, rows, large_rows, work, repeats):
    """PNG exports of the crossing drawings and of the large files, each build and peer in a column:
    the best wall time and the least processor time of the runs."""
    cases = []
    for name, path, peer in write_crossing_files(work):
        for size in (530, 1772):
            cases.append((f"{name}, {size} px", path, peer, size, 1))
    for count in (rows, large_rows):
        if count <= 0:
            continue
        data = os.path.join(work, f"rows{count}-numbers.dat")
        generate_rows(data, count, 4, titles=False)
        cases.append((f"{count:,} rows × 3 sets, 1000 px", data, data, 1000, 3))
    peers = ["gracebat", "gnuplot"]
    table = []
    for name, path, peer, size, columns in cases:
        cells = [name]
        for _, binary in binaries:
            cells.append(timing(measure([binary, "--export", os.path.join(work, "picture.png"), path,
                                         "--size", str(size)], repeats, timeout=120)))
        by_peer = dict(peer_commands(peer, size, columns, work)) if peer else {}
        for label in peers:
            if label not in by_peer:
                cells.append("")
                continue
            # gnuplot takes most of a minute for the largest file: once is enough.
            cells.append(timing(measure(by_peer[label], 1 if label == "gnuplot" else repeats, timeout=120)))
        table.append(cells)
    header = ["PNG export"] + [label for label, _ in binaries] + peers
    return header, table


def bench_window(binary, work, repeats):
    """The desktop's graph window (offscreen) with the crossing drawings: a redraw (record the picture,
    replay it, paint) and a repaint with nothing changed, medians."""
    desktop = os.path.join(os.path.dirname(binary), "varnex_desktop_bench")
    if not os.path.exists(desktop):
        return []
    rows = []
    for name, path, _ in write_crossing_files(work):
        proc = subprocess.run([desktop, os.path.join(work, "desktop"), path, str(max(repeats, 9))],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
        if proc.returncode != 0:
            sys.exit(f"{desktop} failed")
        r = json.loads(proc.stdout)
        rows.append([f"graph window ({r['window_px']} px): {name}, redraw (median)",
                     f"{r['redraw_median_ms']:.0f} ms (processor {r['redraw_cpu_median_ms']:.0f} ms)"])
        rows.append([f"graph window ({r['window_px']} px): {name}, repaint of the kept picture (median)",
                     f"{r['repaint_median_ms']:.1f} ms"])
    return rows


# --- the large file ---------------------------------------------------------------------------

def write_parameter_file(data, lines, limits, sets):
    """A parameter file beside data: one view with the given limits (xmin, xmax, ymin, ymax),
    markersize and the set lines ("interp linetype marker shape")."""
    xmin, xmax, ymin, ymax = limits
    section = ["", "vtitle=Benchmark", "xtype=0", "xsize=100%", "xtitle=X", "xfont=Times New Roman",
               "ytype=0", "ysize=100%", "ytitle=Y", "yfont=Times New Roman", f"xmin={xmin}", f"ymin={ymin}",
               f"xmax={xmax}", f"ymax={ymax}", "printw=15", "framewidth=0.3", "graphwidth=0.3"]
    section += lines + [f"data={len(sets)}"] + [f"{i} {c}" for i, c in enumerate(sets, start=1)]
    with open(os.path.splitext(data)[0] + ".P", "w", newline="\r\n") as f:
        f.write("\n".join(["view=1"] + section) + "\n")


def write_costly_drawings(work):
    """Two small files whose drawing once took close to a minute: eleven triangle markers of size 1e6,
    and a spline through 20,000 points alternating between 0.5 and 1e6 drawn on 0..1 axes."""
    folder = os.path.join(work, "costly")
    os.makedirs(folder, exist_ok=True)
    markers = os.path.join(folder, "markers.dat")
    with open(markers, "w") as f:
        f.write("Huge markers\n\nset\n" + "".join(f"{i} {i % 3}\n" for i in range(11)))
    write_parameter_file(markers, ["markersize=1e6"], (0, 10, 0, 2), ["0 0 1 2"])
    spline = os.path.join(folder, "spline.dat")
    with open(spline, "w") as f:
        f.write("Spline out of its frame\n\nset\n")
        f.write("".join(f"{i / 20000} {0.5 if i % 2 == 0 else 1e6}\n" for i in range(20000)))
    write_parameter_file(spline, ["markersize=1.3"], (0, 1, 0, 1), ["2 0 0 0"])
    return [("PNG of 11 triangle markers of size 1e6", markers),
            ("PNG of a spline through 20,000 points alternating 0.5 and 1e6 on 0..1 axes", spline)]


def desktop_run(binary, data, work, repeats):
    """The desktop benchmark beside binary: the run with the quickest first picture."""
    desktop = os.path.join(os.path.dirname(binary), "varnex_desktop_bench")
    best = None
    for _ in range(repeats):
        proc = subprocess.run([desktop, os.path.join(work, "desktop"), data, "9"], stdout=subprocess.PIPE,
                              stderr=subprocess.DEVNULL, check=False)
        if proc.returncode != 0:
            sys.exit(f"{desktop} failed")
        result = json.loads(proc.stdout)
        if best is None or result["first_picture_s"] < best["first_picture_s"]:
            best = result
    return best


def large_figures(binary, data, costly, work, repeats):
    """Every measurement of one build on the large file, as a dict."""
    f = {}
    f["info"] = measure([binary, "--info", data], repeats)
    f["png"] = measure([binary, "--export", os.path.join(work, "large.png"), data], repeats)
    f["svg"] = measure([binary, "--export", os.path.join(work, "large.svg"), data], repeats)
    f["desktop"] = desktop_run(binary, data, work, repeats)
    # Once each: the earlier builds take most of a minute for them.
    f["costly"] = [measure([binary, "--export", os.path.join(work, "costly.png"), path], 1, timeout=120)
                   for _, path in costly]
    return f


def bench_large(binaries, rows, work, repeats):
    """The large table: one column per build, the targets beside them."""
    data = os.path.join(work, f"rows{rows}-numbers.dat")
    generate_rows(data, rows, 4, titles=False)
    costly = write_costly_drawings(work)
    size_mb = os.path.getsize(data) / 1e6
    figures = [large_figures(binary, data, costly, work, repeats) for _, binary in binaries]
    grace = None
    if shutil.which("gracebat"):
        grace = measure(["gracebat", "-nxy", data, "-hdevice", "PNG", "-printfile",
                         os.path.join(work, "grace-large.png")], repeats)

    def seconds(m):
        return f"{m[0]:.2f} s" if m[0] < 120 else "over 120 s (stopped)"

    def row(name, cell, target=""):
        return [name] + [cell(f) for f in figures] + [target]

    table = [
        row("--info", lambda f: f"{f['info'][0]:.2f} s, peak {f['info'][1]:.0f} MiB"),
        row("--export out.png (1000 × 1000)", lambda f: f"{f['png'][0]:.2f} s, peak {f['png'][1]:.0f} MiB",
            "under 2 s"),
        row("--export out.svg", lambda f: f"{f['svg'][0]:.2f} s, peak {f['svg'][1]:.0f} MiB", "under 2 s"),
        row("desktop: first picture", lambda f: f"{f['desktop']['first_picture_s']:.2f} s "
            f"({f['desktop']['first_picture_s'] / f['info'][0]:.2f} × --info)", "at most 1.3 × --info"),
        row("desktop: window answering after the start (big files are read in the background)",
            lambda f: f"{f['desktop']['window_shown_s']:.2f} s" if 'window_shown_s' in f['desktop'] else "",
            "within 0.3 s"),
        row("desktop: longest wait of the event loop during the read",
            lambda f: f"{f['desktop']['longest_event_wait_ms']:.0f} ms" if 'longest_event_wait_ms' in f['desktop']
            else "the whole read"),
        row("desktop: memory at the first picture", lambda f: f"{f['desktop']['first_picture_peak_mib']:.0f} MiB "
            f"({f['desktop']['first_picture_peak_mib'] / f['info'][1]:.2f} × --info)", "at most 1.2 × --info"),
        row("desktop: redraw after a range change (median, slowest of 9)",
            lambda f: f"{f['desktop']['redraw_median_ms']:.0f} ms, {f['desktop']['redraw_max_ms']:.0f} ms",
            "under 300 ms"),
        row("desktop: processor time of that redraw (median, slowest)",
            lambda f: f"{f['desktop']['redraw_cpu_median_ms']:.0f} ms, {f['desktop']['redraw_cpu_max_ms']:.0f} ms"),
        row("desktop: operations in the picture", lambda f: f"{f['desktop']['picture_ops']}",
            "a few per logical column"),
    ]
    for k, (name, _) in enumerate(costly):
        table.append(row(name, lambda f, k=k: seconds(f["costly"][k])))
    if grace is not None:
        table.append(["gracebat -nxy FILE -hdevice PNG (the same file)", f"{grace[0]:.2f} s, peak {grace[1]:.0f} MiB"]
                     + [""] * (len(figures) - 1) + [""])
    header = ["measure on " + f"{rows:,} rows, three sets ({size_mb:.0f} MB)"] + [label for label, _ in binaries] + ["target"]
    return header, table


def live_run(binary, data, work, rate, seconds):
    """varnex_live_bench on a copy of data: a logger at `rate` rows a second for `seconds`, one appended
    row, the idle watch."""
    proc = subprocess.run([binary, os.path.join(work, "live"), data, str(rate), str(seconds)],
                          stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, check=False)
    if proc.returncode != 0:
        sys.exit(f"{binary} failed on {data}")
    return json.loads(proc.stdout)


def bench_live(binary, small, large, work):
    """The live path: a logger on the --rows file at 10 rows a second; one appended row and the idle
    watch on the --large-rows file (also a logger at 1 row a second on it)."""
    rows = []
    r = live_run(binary, small, work, 10, 20)
    rows.append((f"logger, 10 rows/s for 20 s on a watched file of {r['rows']:,} rows: program processor time "
                 "(target ≤ 10 % of a core)", f"{r['logger_cpu_percent']:.1f} % of one core ({r['reloads']} reloads)"))
    rows.append(("  delay from a row's write to the row in the Document (median, longest; target median ≤ 150 ms)",
                 f"{r['delay_median_ms']:.0f} ms, {r['delay_max_ms']:.0f} ms ({r['missing']} rows not seen)"))
    if large:
        r = live_run(binary, large, work, 1, 10)
        rows.append((f"logger, 1 row/s on a watched file of {r['rows']:,} rows: program processor time",
                     f"{r['logger_cpu_percent']:.1f} % of one core, delay median {r['delay_median_ms']:.0f} ms"))
        rows.append((f"one appended row on a watched file of {r['rows']:,} rows: processor time (median of 5; "
                     "target ≤ 0.1 s)", f"{r['one_row_cpu_s']:.3f} s"))
        rows.append((f"idle with Watch on, {r['rows']:,} rows (target ≤ 1 %)", f"{r['idle_cpu_percent']:.2f} % of one core"))
    return rows


def bench_reader(binaries, rows, work, repeats):
    """The reader on the large file: `wc -l` of it, `--info` of every build beside it, and the core
    figures of varnex_read_bench (beside the last build): a whole read on one thread and in parallel
    pieces, and the processor time of a reload after one appended row."""
    data = os.path.join(work, f"rows{rows}-numbers.dat")
    generate_rows(data, rows, 4, titles=False)
    size_mb = os.path.getsize(data) / 1e6
    wc = measure(["wc", "-l", data], repeats)[0]
    table = [["wc -l (best of %d)" % repeats, f"{wc:.3f} s"] + [""] * (len(binaries) - 1) + [""]]
    info = [measure([binary, "--info", data], repeats) for _, binary in binaries]
    table.append(["--info: time, × wc -l, peak memory"]
                 + [f"{s:.2f} s, {s / wc:.1f} ×, {size_mb / s:.0f} MB/s, peak {m:.0f} MiB" for s, m in info]
                 + ["within 6 × wc -l"])
    reader = os.path.join(os.path.dirname(binaries[-1][1]), "varnex_read_bench")
    if os.path.exists(reader):
        proc = subprocess.run([reader, data, str(repeats)], stdout=subprocess.PIPE, check=False)
        if proc.returncode != 0:
            sys.exit(f"{reader} failed")
        r = json.loads(proc.stdout)
        blank = [""] * (len(binaries) - 1)
        table.append(["core read, one thread: wall, processor"] + blank
                     + [f"{r['one_thread_s']:.3f} s, {r['one_thread_cpu_s']:.3f} s", ""])
        table.append(["core read in pieces: wall, processor"] + blank
                     + [f"{r['pieces_s']:.3f} s, {r['pieces_cpu_s']:.3f} s", ""])
        table.append(["reload after one appended row: processor (slowest of 5)"] + blank
                     + [f"{r['appended_row_cpu_s'] * 1000:.1f} ms", "at most 0.1 s"])
    header = [f"reader on {rows:,} rows, three sets ({size_mb:.0f} MB)"] + [label for label, _ in binaries] + ["target"]
    return header, table


def print_table(header, rows):
    print("| " + " | ".join(header) + " |")
    print("|" + "---|" * len(header))
    for r in rows:
        print("| " + " | ".join(r) + " |")


def main():
    if len(sys.argv) > 2 and sys.argv[1] == "--measure-one":
        args = sys.argv[2:]
        timeout = None
        if args[0] == "--timeout":
            timeout = float(args[1])
            args = args[2:]
        # The processor time of the command (user and system): on a machine shared with other work
        # it shows what the program itself spent. (The interpreter may inherit some from its start.)
        def spent():
            usage = resource.getrusage(resource.RUSAGE_CHILDREN)
            return usage.ru_utime + usage.ru_stime
        before = spent()
        seconds, peak, out = run_measured(args, timeout)
        print(json.dumps([seconds, peak, out.decode(), spent() - before]))
        return
    parser = argparse.ArgumentParser()
    parser.add_argument("--bin", default=os.path.join(HERE, "..", "build", "release", "bin", "varnexw32"))
    parser.add_argument("--rows", type=int, default=1000000)
    parser.add_argument("--large-rows", type=int, default=10000000)
    parser.add_argument("--compare-bin", help="another build's varnexw32, shown in the column 'before'")
    parser.add_argument("--skip-small", action="store_true", help="only the large file")
    parser.add_argument("--repeats", type=int, default=3)
    parser.add_argument("--live-only", action="store_true", help="only the live measurements (growing files)")
    parser.add_argument("--reader-only", action="store_true", help="only the reader on the large file")
    parser.add_argument("--pictures", action="store_true", help="also the PNG exports beside the peers")
    parser.add_argument("--pictures-only", action="store_true", help="only the PNG exports beside the peers")
    args = parser.parse_args()
    work = os.path.join(HERE, "work")
    os.makedirs(work, exist_ok=True)
    # The desktop benchmarks keep their recent files and window geometry apart from the user's own.
    os.environ["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    print(f"load average at the start: {' '.join(f'{v:.2f}' for v in os.getloadavg())}\n")
    live_bin = os.path.join(os.path.dirname(args.bin), "varnex_live_bench")
    if args.live_only:
        small = os.path.join(work, f"rows{args.rows}.dat")
        generate_rows(small, args.rows, 4)
        large = None
        if args.large_rows > 0:
            large = os.path.join(work, f"rows{args.large_rows}-numbers.dat")
            generate_rows(large, args.large_rows, 4, titles=False)
        print_table(["measure", "result"], [[n, v] for n, v in bench_live(live_bin, small, large, work)])
        print(f"\nload average at the end: {' '.join(f'{v:.2f}' for v in os.getloadavg())}")
        return
    if args.pictures or args.pictures_only:
        binaries = ([("before", args.compare_bin)] if args.compare_bin else []) + [("this build", args.bin)]
        header, rows = bench_pictures(binaries, args.rows, args.large_rows, work, args.repeats)
        print_table(header, rows)
        print()
        window = bench_window(args.bin, work, args.repeats)
        if window:
            print_table(["measure", "result"], window)
            print()
        if args.pictures_only:
            print(f"load average at the end: {' '.join(f'{v:.2f}' for v in os.getloadavg())}")
            return
    if args.large_rows > 0:
        binaries = ([("before", args.compare_bin)] if args.compare_bin else []) + [("this build", args.bin)]
        header, rows = bench_reader(binaries, args.large_rows, work, args.repeats)
        print_table(header, rows)
        print()
        if args.reader_only:
            print(f"load average at the end: {' '.join(f'{v:.2f}' for v in os.getloadavg())}")
            return
        header, rows = bench_large(binaries, args.large_rows, work, args.repeats)
        print_table(header, rows)
        print()
    if args.skip_small:
        print(f"load average at the end: {' '.join(f'{v:.2f}' for v in os.getloadavg())}")
        return
    data = os.path.join(work, f"rows{args.rows}.dat")
    generate_rows(data, args.rows, 4)

    peer_data = os.path.join(work, f"rows{args.rows}-numbers.dat")
    generate_rows(peer_data, args.rows, 4, titles=False)

    rows = bench_info(args.bin, data, args.repeats)
    rows += bench_export(args.bin, data, peer_data, work, args.repeats)
    reload_bin = os.path.join(os.path.dirname(args.bin), "varnex_reload_bench")
    rows += bench_reload(reload_bin, write_reload_files(work, data, args.rows), args.repeats)
    watch_bin = os.path.join(os.path.dirname(args.bin), "varnex_watch_bench")
    if os.path.exists(watch_bin):
        rows += bench_watch(watch_bin, work)
    sheet_bin = os.path.join(os.path.dirname(args.bin), "varnex_sheet_bench")
    if os.path.exists(sheet_bin):
        rows += bench_sheet(sheet_bin, work)
    mouse_bin = os.path.join(os.path.dirname(args.bin), "varnex_mouse_bench")
    if os.path.exists(mouse_bin):
        rows += bench_mouse(mouse_bin, data)
    panels_bin = os.path.join(os.path.dirname(args.bin), "varnex_panels_bench")
    if os.path.exists(panels_bin):
        rows += bench_panels(panels_bin, work)
    if os.path.exists(live_bin):
        large = os.path.join(work, f"rows{args.large_rows}-numbers.dat") if args.large_rows > 0 else None
        rows += bench_live(live_bin, data, large, work)
    print_table(["measure", "result"], [[name, value] for name, value in rows])
    print(f"\nload average at the end: {' '.join(f'{v:.2f}' for v in os.getloadavg())}")


if __name__ == "__main__":
    main()
