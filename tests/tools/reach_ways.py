"""Runs `reach --out` on a panel twice and checks that both runs print the
same sound lines (the search is deterministic) and that every way written
plays its sound under `run --panel`, its expectations holding.

  reach_ways.py OUT_FOLDER PANEL_CFG -- TOOL...
"""
import os
import shutil
import subprocess
import sys


def main():
    out, panel = sys.argv[1], sys.argv[2]
    tool = [a for a in sys.argv[sys.argv.index("--") + 1:] if a]
    shutil.rmtree(out, True)
    runs = [subprocess.run(tool + ["reach", "--panel", panel, "--out", out], capture_output=True,
                           text=True, errors="replace") for _ in range(2)]
    problems = []
    # The closing summary holds the timings; every line before it must agree.
    lines = [r.stdout.replace("\r", "").rstrip("\n").split("\n")[:-1] for r in runs]
    if lines[0] != lines[1]:
        problems.append("the two searches differ:\n" + "\n".join(lines[0]) + "\n--\n" + "\n".join(lines[1]))
    reached = [line.split()[1] for line in lines[0] if line.startswith("reached ")]
    scripts = sorted(os.listdir(out)) if os.path.isdir(out) else []
    if scripts != sorted(f"reach_{v}.txt" for v in reached):
        problems.append(f"scripts written {scripts}, for the sounds reached {reached}")
    for name in scripts:
        run = subprocess.run(tool + ["run", "--panel", panel, os.path.join(out, name)],
                             capture_output=True, text=True, errors="replace")
        if run.returncode != 0 or "expectations: 2 held, 0 failed" not in run.stdout:
            problems.append(f"{name}: exit {run.returncode}\n{run.stdout}{run.stderr}")
    if problems:
        print(runs[0].stdout + runs[0].stderr)
        print("\n".join(problems))
        return 1
    print(f"{len(scripts)} ways replayed")
    return 0


if __name__ == "__main__":
    sys.exit(main())
