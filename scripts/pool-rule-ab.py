#!/usr/bin/env python3
"""A/B sweep of brain-pool rules: each arm's runs against same-seed control runs.

Usage: pool-rule-ab.py SIM PARAMS OUT_FOLDER ARMS_FILE [--seeds 1-10] [--minutes 20]
                       [--long-steps 300000] [--jobs 2] [--svg CURVES.svg]

ARMS_FILE: one arm a line, "name Member=Value Member=Value ..." (no settings: the parameter
file as it is); '#' starts a comment. Every arm and the control run the parameter file with
the arm's settings (the control with --control and the first arm's settings other than the
pool rule's, so that all arms share it) for --minutes game minutes with a learning line a
game minute, and for --long-steps world steps with a summary. The gun drives itself and
fires. Prints Markdown tables: per arm the geometric mean over the seeds of evolution /
control of the dying's mean fitness for each game minute and for minutes 1, 2-5 and 16-20,
the red bullets on the gun against the control's, and the long runs' last-third ratios and
alive shares; --svg draws the per-minute ratios, a panel for green and one for red. Runs
already in OUT_FOLDER are reused.
"""
import concurrent.futures
import json
import math
import os
import subprocess
import sys

POOL_RULE = ("Alien_Green_PoolHalfLife", "Alien_Red_PoolHalfLife", "Reserved_52", "Reserved_53")


def parse_seeds(text):
    seeds = []
    for part in text.split(","):
        low, _, high = part.partition("-")
        seeds.extend(range(int(low), int(high or low) + 1))
    return seeds


def read_arms(path):
    arms = []
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            words = line.split("#", 1)[0].split()
            if not words:
                continue
            if any("=" not in w for w in words[1:]):
                sys.exit(f"{path}: line {number}: settings are Member=Value")
            arms.append((words[0], words[1:]))
    if not arms:
        sys.exit(f"{path}: no arms")
    return arms


def run(sim, params, out, name, seed, settings, steps, control, long_run):
    stem = os.path.join(out, f"{name}-{'long' if long_run else 'min'}-{seed}")
    summary = stem + ".json"
    learning = stem + ".tsv"
    if os.path.exists(summary):
        return stem
    cmd = [sim, "--params", params, "--seed", str(seed), "--steps", str(steps), "--summary", summary]
    if not long_run:
        cmd += ["--learning", learning, "--stats-every", "60000"]
    if control:
        cmd.append("--control")
    for s in settings:
        cmd += ["--set", s]
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return stem


def control_settings(settings):
    """The arm's settings without the pool rule's: evolution off, the rule changes nothing."""
    return sorted(s for s in settings if s.split("=")[0] not in POOL_RULE)


def control_name(settings):
    rest = control_settings(settings)
    return "control" + ("-" + "-".join(s.replace("=", "") for s in rest) if rest else "")


def learning_minutes(stem):
    """Per game minute: (red deaths, red fitness sum, green deaths, green fitness sum)."""
    rows = []
    with open(stem + ".tsv", encoding="utf-8") as f:
        for line in f:
            if line.startswith("#"):
                continue
            v = line.split("\t")
            rows.append((float(v[1]), float(v[1]) * float(v[2]) if float(v[1]) > 0 else 0.0,
                         float(v[4]), float(v[4]) * float(v[5]) if float(v[4]) > 0 else 0.0))
    return rows


def window_mean(rows, first, last, population):
    deaths = sum(r[2 * population] for r in rows[first - 1:last])
    fitness = sum(r[2 * population + 1] for r in rows[first - 1:last])
    return fitness / deaths if deaths > 0 else float("nan")


def geomean(values):
    values = [v for v in values if v > 0 and math.isfinite(v)]
    return math.exp(sum(math.log(v) for v in values) / len(values)) if values else float("nan")


def main():
    args = sys.argv[1:]
    options = {"--seeds": "1-10", "--minutes": "20", "--long-steps": "300000", "--jobs": "2", "--svg": ""}
    positional = []
    i = 0
    while i < len(args):
        if args[i] in options:
            options[args[i]] = args[i + 1]
            i += 2
        else:
            positional.append(args[i])
            i += 1
    if len(positional) != 4:
        sys.exit(__doc__)
    sim, params, out, arms_file = positional
    seeds = parse_seeds(options["--seeds"])
    minutes = int(options["--minutes"])
    long_steps = int(options["--long-steps"])
    steps = minutes * 60 * 30
    arms = read_arms(arms_file)
    os.makedirs(out, exist_ok=True)
    jobs = []
    with concurrent.futures.ThreadPoolExecutor(int(options["--jobs"])) as pool:
        for seed in seeds:
            for long_run in (False, True):
                n = long_steps if long_run else steps
                if long_steps > 0 or not long_run:
                    for name, settings in arms:
                        jobs.append(pool.submit(run, sim, params, out, name, seed, settings, n, False, long_run))
                        jobs.append(pool.submit(run, sim, params, out, control_name(settings), seed,
                                                control_settings(settings), n, True, long_run))
        for job in jobs:
            job.result()
    curves = report(out, arms, seeds, minutes, long_steps)
    if options["--svg"]:
        with open(options["--svg"], "w", encoding="utf-8") as f:
            f.write(svg(curves, minutes))


COLOURS = ["#888888", "#D03030", "#2060D0", "#20A040", "#A040C0", "#E08020", "#008080"]


def svg(curves, minutes):
    """Per-minute ratio curves, evolution / control, a panel for green and one for red."""
    width, height, left, top, panel = 900, 680, 60, 40, 250
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'font-family="sans-serif" font-size="12">', '<rect width="100%" height="100%" fill="white"/>',
           f'<text x="{width / 2}" y="22" text-anchor="middle" font-size="15">The dying\'s mean fitness a game '
           f'minute, evolution / same-seed control (geometric mean over the seeds)</text>']
    for row, (population, name) in enumerate(((1, "green: steps the dying lived"), (0, "red: score of the dying"))):
        y0 = top + 20 + row * (panel + 50)
        values = [v for c in curves.values() for v in c[population] if math.isfinite(v)]
        high = math.ceil(max(values + [1.0]))
        out.append(f'<text x="{left}" y="{y0 - 6}" font-size="13">{name}</text>')
        px = lambda m: left + (m - 1) * (width - left - 180) / max(1, minutes - 1)
        py = lambda v: y0 + panel - v / high * panel
        out.append(f'<line x1="{left}" y1="{y0 + panel}" x2="{px(minutes)}" y2="{y0 + panel}" stroke="#888"/>')
        out.append(f'<line x1="{left}" y1="{y0}" x2="{left}" y2="{y0 + panel}" stroke="#888"/>')
        for tick in range(0, high + 1):
            out.append(f'<text x="{left - 8}" y="{py(tick) + 4}" text-anchor="end">\u00d7{tick}</text>')
            out.append(f'<line x1="{left}" y1="{py(tick)}" x2="{px(minutes)}" y2="{py(tick)}" stroke="#eee"/>')
        for m in range(1, minutes + 1, max(1, minutes // 10)):
            out.append(f'<text x="{px(m)}" y="{y0 + panel + 16}" text-anchor="middle">{m}</text>')
        out.append(f'<text x="{px(minutes)}" y="{y0 + panel + 32}" text-anchor="end">game minute</text>')
        for k, (arm, curve) in enumerate(curves.items()):
            colour = COLOURS[k % len(COLOURS)]
            points = " ".join(f"{px(m + 1):.1f},{py(v):.1f}" for m, v in enumerate(curve[population])
                              if math.isfinite(v))
            out.append(f'<polyline fill="none" stroke="{colour}" stroke-width="2" points="{points}"/>')
            out.append(f'<line x1="{px(minutes) + 8}" y1="{y0 + 10 + 16 * k}" x2="{px(minutes) + 26}" '
                       f'y2="{y0 + 10 + 16 * k}" stroke="{colour}" stroke-width="3"/>')
            out.append(f'<text x="{px(minutes) + 32}" y="{y0 + 14 + 16 * k}">{arm}</text>')
    out.append("</svg>\n")
    return "\n".join(out)


def load(out, name, seed, long_run):
    stem = os.path.join(out, f"{name}-{'long' if long_run else 'min'}-{seed}")
    with open(stem + ".json", encoding="utf-8") as f:
        return stem, json.load(f)


def report(out, arms, seeds, minutes, long_steps):
    windows = [("1", 1, 1), ("2-5", 2, 5), ("6-10", 6, 10), ("11-15", 11, 15), (f"16-{minutes}", 16, minutes)]
    print(f"Seeds {seeds[0]}-{seeds[-1]} ({len(seeds)}); {minutes} game minutes; geometric means of evolution / control.\n")
    head = "| arm | " + " | ".join(f"green {w[0]}" for w in windows) + " | " + \
        " | ".join(f"red {w[0]}" for w in windows) + " | late/early green | late/early red | red hits on gun, arm / control |"
    print(head)
    print("|" + "---|" * (head.count("|") - 1))
    curves = {}
    for name, settings in arms:
        ratios = {(p, w[0]): [] for p in (0, 1) for w in windows}
        per_minute = {p: [[] for _ in range(minutes)] for p in (0, 1)}
        hits, control_hits = 0, 0
        for seed in seeds:
            stem, summary = load(out, name, seed, False)
            cstem, csummary = load(out, control_name(settings), seed, False)
            rows, crows = learning_minutes(stem), learning_minutes(cstem)
            hits += summary["red_bullets_on_gun"]
            control_hits += csummary["red_bullets_on_gun"]
            for p in (0, 1):
                for label, first, last in windows:
                    ratios[(p, label)].append(window_mean(rows, first, last, p) / window_mean(crows, first, last, p))
                for m in range(minutes):
                    per_minute[p][m].append(window_mean(rows, m + 1, m + 1, p) / window_mean(crows, m + 1, m + 1, p))
        g = {key: geomean(v) for key, v in ratios.items()}
        late = f"16-{minutes}"
        cells = [f"{g[(1, w[0])]:.2f}" for w in windows] + [f"{g[(0, w[0])]:.2f}" for w in windows]
        print(f"| {name} | " + " | ".join(cells) + f" | {g[(1, late)] / g[(1, '2-5')]:.2f} | "
              f"{g[(0, late)] / g[(0, '2-5')]:.2f} | {hits / len(seeds):.0f} / {control_hits / len(seeds):.0f} |")
        curves[name] = {p: [geomean(v) for v in per_minute[p]] for p in (0, 1)}
    print("\nPer game minute, green / red:\n")
    head = "| arm | " + " | ".join(str(m + 1) for m in range(minutes)) + " |"
    print(head)
    print("|" + "---|" * (minutes + 1))
    for name, _ in arms:
        print(f"| {name} | " + " | ".join(f"{curves[name][1][m]:.1f} / {curves[name][0][m]:.1f}"
                                         for m in range(minutes)) + " |")
    if long_steps <= 0:
        return curves
    print(f"\n{long_steps} steps: last third, evolution / control (geometric mean), alive shares (mean).\n")
    print("| arm | green | red | green alive | red alive | red hits on gun a minute, arm / control |")
    print("|---|---|---|---|---|---|")
    for name, settings in arms:
        green, red, galive, ralive, hits, chits = [], [], [], [], [], []
        for seed in seeds:
            _, s = load(out, name, seed, True)
            _, c = load(out, control_name(settings), seed, True)
            sp, cp = s["populations"], c["populations"]
            green.append(sp["green"]["mean_fitness_of_deaths"][2] / cp["green"]["mean_fitness_of_deaths"][2])
            red.append(sp["red"]["mean_fitness_of_deaths"][2] / cp["red"]["mean_fitness_of_deaths"][2])
            galive.append(sp["green"]["alive_share"])
            ralive.append(sp["red"]["alive_share"])
            game_minutes = long_steps / 1800
            hits.append(s["red_bullets_on_gun"] / game_minutes)
            chits.append(c["red_bullets_on_gun"] / game_minutes)
        n = len(seeds)
        print(f"| {name} | {geomean(green):.2f} | {geomean(red):.2f} | {100 * sum(galive) / n:.0f} % | "
              f"{100 * sum(ralive) / n:.0f} % | {sum(hits) / n:.1f} / {sum(chits) / n:.1f} |")
    return curves


if __name__ == "__main__":
    main()
