#!/usr/bin/env python3
"""A/B sweep of evolution's rules, judged by the learning scores and by the player's measures.

Usage: ab.py SIM PARAMS OUT_FOLDER ARMS_FILE [--seeds 1-16] [--minutes 20] [--jobs 2]
             [--gun auto|still] [--svg CURVES.svg] [--json RESULTS.json]

ARMS_FILE: one arm a line, "name Member=Value Member=Value ..." (no settings: the parameter file
as it is); '#' starts a comment. Each arm runs on every seed twice, with evolution and with
--control (every dead alien reborn with random weights), both with the arm's own settings, for
--minutes game minutes with a learning line a game minute. Runs already in OUT_FOLDER are
reused.

Printed, per arm, as Markdown: for the game minutes 1, 2-5 and 16-20, evolution over the
same seed's control as a geometric mean over the seeds with its 95 % interval (Student's t on
the logarithms), of
- the learning scores: the mean fitness of the dying, green and red;
- the player's measures: red bullets on the gun and the gun's kills, each a game minute;
  counts are compared as (count + 1) / (control's + 1), so that a world where the red aliens
  never hit the gun counts as the loss it is instead of leaving the mean;
beside the arm's and the control's own means a game minute, the lowest seed's ratio of red
bullets on the gun, and the seeds below half the control's. A seed whose window saw no deaths
of a population has no learning score there: it is named, never left out without a word.
--svg draws the per-minute ratios; --json writes every figure for other tools.
"""
import concurrent.futures
import json
import math
import os
import subprocess
import sys

WINDOWS = (("1", 1, 1), ("2-5", 2, 5), ("16-20", 16, 20))
# Student's t at 97.5 % for n - 1 degrees of freedom, n = 2 .. 31; beyond, the normal's.
T975 = [12.706, 4.303, 3.182, 2.776, 2.571, 2.447, 2.365, 2.306, 2.262, 2.228, 2.201, 2.179, 2.160, 2.145,
        2.131, 2.120, 2.110, 2.101, 2.093, 2.086, 2.080, 2.074, 2.069, 2.064, 2.060, 2.056, 2.052, 2.048, 2.045,
        2.042]


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


def stem_of(out, name, seed, control):
    return os.path.join(out, f"{name}-{'control' if control else 'evolution'}-{seed}")


def run(sim, params, out, name, seed, settings, minutes, control, gun):
    stem = stem_of(out, name, seed, control)
    if os.path.exists(stem + ".json"):
        return stem
    cmd = [sim, "--params", params, "--seed", str(seed), "--steps", str(minutes * 1800), "--summary",
           stem + ".json", "--learning", stem + ".tsv", "--stats-every", "60000", "--gun", gun]
    if control:
        cmd.append("--control")
    for s in settings:
        cmd += ["--set", s]
    subprocess.run(cmd, check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    return stem


def read_minutes(stem):
    """The learning file's rows as dictionaries of numbers, one a game minute."""
    with open(stem + ".tsv", encoding="utf-8") as f:
        lines = f.read().splitlines()
    names = lines[0].lstrip("# ").split("\t")
    return [dict(zip(names, map(float, line.split("\t")))) for line in lines[1:] if line]


def window(rows, first, last):
    """Sums over the game minutes first to last of every column, and the dying's fitness sums."""
    total = {}
    for row in rows[first - 1:last]:
        for key, value in row.items():
            total[key] = total.get(key, 0.0) + value
        for p in ("red", "green"):
            if row[f"{p}_dead"] > 0:
                total[f"{p}_fitness"] = total.get(f"{p}_fitness", 0.0) + row[f"{p}_dead"] * row[f"{p}_dead_mean_fitness"]
    return total


def estimate(logs):
    """Geometric mean with its 95 % interval, from per-seed log ratios."""
    n = len(logs)
    if n == 0:
        return (math.nan, math.nan, math.nan)
    mean = sum(logs) / n
    if n == 1:
        return (math.exp(mean), math.nan, math.nan)
    sd = math.sqrt(sum((x - mean) ** 2 for x in logs) / (n - 1))
    half = (T975[n - 2] if n - 2 < len(T975) else 1.96) * sd / math.sqrt(n)
    return (math.exp(mean), math.exp(mean - half), math.exp(mean + half))


def text(e):
    value, low, high = e
    if math.isnan(value):
        return "—"
    return f"{value:.2f}" if math.isnan(low) else f"{value:.2f} ({low:.2f}–{high:.2f})"


def measures(out, arm, seeds, minutes):
    """Per window: the seeds' ratios, the arm's and control's means a minute, and the notes."""
    result = {}
    notes = []
    per_minute = {"green": [[] for _ in range(minutes)], "red": [[] for _ in range(minutes)],
                  "red_on_gun": [[] for _ in range(minutes)], "gun_kills": [[] for _ in range(minutes)]}
    for label, first, last in WINDOWS + (("all", 1, minutes),):
        if last > minutes:
            continue
        span = last - first + 1
        logs = {"green": [], "red": [], "red_on_gun": [], "gun_kills": []}
        means = {k: [0.0, 0.0] for k in ("red_on_gun", "gun_kills", "gun_shots", "red_on_red", "red_on_green")}
        seed_ratios = []
        for seed in seeds:
            w = [window(read_minutes(stem_of(out, arm, seed, c)), first, last) for c in (False, True)]
            for p in ("green", "red"):
                dead = [w[c][f"{p}_dead"] for c in (0, 1)]
                if min(dead) == 0:
                    who = " and ".join(k for k, d in zip(("evolution", "control"), dead) if d == 0)
                    notes.append(f"{arm}, seed {seed}, minutes {label}: no {p} alien died ({who}): "
                                 f"no learning score")
                    continue
                score = [w[c][f"{p}_fitness"] / dead[c] for c in (0, 1)]
                if min(score) <= 0:
                    notes.append(f"{arm}, seed {seed}, minutes {label}: the {p} dying scored 0: no learning score")
                    continue
                logs[p].append(math.log(score[0] / score[1]))
            for k in means:
                for c in (0, 1):
                    means[k][c] += w[c][k] / span / len(seeds)
            for k in ("red_on_gun", "gun_kills"):
                logs[k].append(math.log((w[0][k] + 1) / (w[1][k] + 1)))
            seed_ratios.append((seed, (w[0]["red_on_gun"] + 1) / (w[1]["red_on_gun"] + 1)))
        result[label] = {"ratios": {k: estimate(v) for k, v in logs.items()}, "means": means,
                         "lowest_red_on_gun": min(seed_ratios, key=lambda s: s[1]),
                         "below_half": [s for s, r in seed_ratios if r < 0.5]}
    for seed in seeds:
        rows = [read_minutes(stem_of(out, arm, seed, c)) for c in (False, True)]
        for m in range(minutes):
            for p in ("green", "red"):
                e, c = rows[0][m], rows[1][m]
                if e[f"{p}_dead"] > 0 and c[f"{p}_dead"] > 0 and c[f"{p}_dead_mean_fitness"] > 0 \
                        and e[f"{p}_dead_mean_fitness"] > 0:
                    per_minute[p][m].append(math.log(e[f"{p}_dead_mean_fitness"] / c[f"{p}_dead_mean_fitness"]))
            for k in ("red_on_gun", "gun_kills"):
                per_minute[k][m].append(math.log((rows[0][m][k] + 1) / (rows[1][m][k] + 1)))
    curves = {k: [estimate(v)[0] for v in series] for k, series in per_minute.items()}
    return result, notes, curves


def report(out, arms, seeds, minutes):
    print(f"Seeds {seeds[0]}-{seeds[-1]} ({len(seeds)}), {minutes} game minutes; evolution / same-seed control, "
          "geometric mean over the seeds (95 % interval).\n")
    everything = {}
    all_notes = []
    for name, settings in arms:
        result, notes, curves = measures(out, name, seeds, minutes)
        everything[name] = {"settings": settings, "windows": result, "curves": curves}
        all_notes += notes
    for label, _, last in WINDOWS:
        if last > minutes:
            continue
        print(f"Game minutes {label}:\n")
        print("| arm | green score | red score | red bullets on the gun | the gun's kills | "
              "red on the gun a minute, arm / control | kills a minute, arm / control | "
              "gun shots a minute | red on red / on green a minute, arm / control | lowest seed, red on the gun | "
              "seeds below half |")
        print("|---|---|---|---|---|---|---|---|---|---|---|")
        for name, _ in arms:
            r = everything[name]["windows"][label]
            m = r["means"]
            low_seed, low = r["lowest_red_on_gun"]
            print(f"| {name} | {text(r['ratios']['green'])} | {text(r['ratios']['red'])} | "
                  f"{text(r['ratios']['red_on_gun'])} | {text(r['ratios']['gun_kills'])} | "
                  f"{m['red_on_gun'][0]:.1f} / {m['red_on_gun'][1]:.1f} | {m['gun_kills'][0]:.1f} / "
                  f"{m['gun_kills'][1]:.1f} | {m['gun_shots'][0]:.1f} | {m['red_on_red'][0]:.1f} / "
                  f"{m['red_on_green'][0]:.1f}, {m['red_on_red'][1]:.1f} / {m['red_on_green'][1]:.1f} | "
                  f"{low:.2f} (seed {low_seed}) | {len(r['below_half'])} |")
        print()
    if all_notes:
        print("Left out of the learning scores, each named:\n")
        for note in all_notes:
            print(f"- {note}")
        print()
    return everything


COLOURS = ["#888888", "#D03030", "#2060D0", "#20A040", "#A040C0", "#E08020", "#008080"]


def svg(everything, minutes):
    """Per-minute ratios, evolution / control: green, red, red bullets on the gun, the gun's kills."""
    panels = (("green", "green: steps the dying lived"), ("red", "red: score of the dying"),
              ("red_on_gun", "red bullets on the gun"), ("gun_kills", "the gun's kills"))
    width, left, top, panel = 900, 60, 40, 170
    height = top + len(panels) * (panel + 50) + 10
    out = [f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
           f'font-family="sans-serif" font-size="12">', '<rect width="100%" height="100%" fill="white"/>',
           f'<text x="{width / 2}" y="22" text-anchor="middle" font-size="15">A game minute, evolution / same-seed '
           f'control (geometric mean over the seeds)</text>']
    for row, (key, name) in enumerate(panels):
        y0 = top + 20 + row * (panel + 50)
        values = [v for arm in everything.values() for v in arm["curves"][key] if math.isfinite(v)]
        high = max(2, math.ceil(max(values + [1.0])))
        out.append(f'<text x="{left}" y="{y0 - 6}" font-size="13">{name}</text>')
        px = lambda m: left + (m - 1) * (width - left - 180) / max(1, minutes - 1)
        py = lambda v: y0 + panel - v / high * panel
        out.append(f'<line x1="{left}" y1="{y0 + panel}" x2="{px(minutes)}" y2="{y0 + panel}" stroke="#888"/>')
        out.append(f'<line x1="{left}" y1="{y0}" x2="{left}" y2="{y0 + panel}" stroke="#888"/>')
        step = max(1, high // 5)
        for tick in range(0, high + 1, step):
            out.append(f'<text x="{left - 8}" y="{py(tick) + 4}" text-anchor="end">\u00d7{tick}</text>')
            out.append(f'<line x1="{left}" y1="{py(tick)}" x2="{px(minutes)}" y2="{py(tick)}" stroke="#eee"/>')
        out.append(f'<line x1="{left}" y1="{py(1)}" x2="{px(minutes)}" y2="{py(1)}" stroke="#bbb" '
                   f'stroke-dasharray="4 3"/>')
        for m in range(1, minutes + 1, max(1, minutes // 10)):
            out.append(f'<text x="{px(m)}" y="{y0 + panel + 16}" text-anchor="middle">{m}</text>')
        out.append(f'<text x="{px(minutes)}" y="{y0 + panel + 32}" text-anchor="end">game minute</text>')
        for k, (arm, result) in enumerate(everything.items()):
            colour = COLOURS[k % len(COLOURS)]
            points = " ".join(f"{px(m + 1):.1f},{py(v):.1f}" for m, v in enumerate(result["curves"][key])
                              if math.isfinite(v))
            out.append(f'<polyline fill="none" stroke="{colour}" stroke-width="2" points="{points}"/>')
            out.append(f'<line x1="{px(minutes) + 8}" y1="{y0 + 10 + 16 * k}" x2="{px(minutes) + 26}" '
                       f'y2="{y0 + 10 + 16 * k}" stroke="{colour}" stroke-width="3"/>')
            out.append(f'<text x="{px(minutes) + 32}" y="{y0 + 14 + 16 * k}">{arm}</text>')
    out.append("</svg>\n")
    return "\n".join(out)


def main():
    args = sys.argv[1:]
    options = {"--seeds": "1-16", "--minutes": "20", "--jobs": "2", "--gun": "auto", "--svg": "", "--json": ""}
    positional = []
    i = 0
    while i < len(args):
        if args[i] in options and i + 1 < len(args):
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
    arms = read_arms(arms_file)
    os.makedirs(out, exist_ok=True)
    with concurrent.futures.ThreadPoolExecutor(int(options["--jobs"])) as pool:
        jobs = [pool.submit(run, sim, params, out, name, seed, settings, minutes, control, options["--gun"])
                for seed in seeds for name, settings in arms for control in (False, True)]
        for job in jobs:
            job.result()
    everything = report(out, arms, seeds, minutes)
    if options["--svg"]:
        with open(options["--svg"], "w", encoding="utf-8") as f:
            f.write(svg(everything, minutes))
    if options["--json"]:
        with open(options["--json"], "w", encoding="utf-8") as f:
            json.dump(everything, f, indent=1)


if __name__ == "__main__":
    main()
