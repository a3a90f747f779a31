"""Runs vorlanex-panel (through the cross build's emulator when there is one)
and checks its exit status and what it printed.

  tool_command.py --exit N [--prints TEXT]... [--lacks TEXT]... [--svg FILE --lanes N]
                  [--log FILE [--frames N]] -- COMMAND...
"""
import argparse
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SVG = "{http://www.w3.org/2000/svg}"

# A line of run's log: frame, time, then what happened, the same on both
# builds: a variable's old -> new or an event sent, with its writer when the
# panel's gauges run.
ENTRY = re.compile(r"^\s*(\d+)\s+\d+\.\d+\s+(\S.*?)\s*$")
SUMMARY = re.compile(r"^(\d+ frames at \S+ fps), \d+ writes by the module; (expectations: .*)$")


def entries(text):
    return [m for m in map(ENTRY.match, text.splitlines()) if m]


def summary(text):
    found = [m.groups() for m in map(SUMMARY.match, text.splitlines()) if m]
    return found[0] if found else None


def compare_log(output, path, frames):
    """run's log must hold the entries of the log in `path` (writes with
    their writers, events sent), each within `frames` frames of its own (a
    run in real time may see a sound end a frame later), and no others; and
    end with the same frames and expectations."""
    with open(path, encoding="utf-8") as file:
        wanted = file.read()
    problems = []
    left = entries(output)
    for want in entries(wanted):
        match = next((e for e in left if e.group(2) == want.group(2)
                      and abs(int(e.group(1)) - int(want.group(1))) <= frames), None)
        if match:
            left.remove(match)
        else:
            problems.append(f"nothing within {frames} frames of: {want.group(0).strip()}")
    problems += [f"not in {path}: {e.group(0).strip()}" for e in left]
    if summary(output) != summary(wanted):
        problems.append(f"the run ended with {summary(output)}, wanted {summary(wanted)}")
    return problems


def check_timeline(path, lanes, stop_all):
    """The timeline must be well-formed SVG with the lanes the panel has."""
    root = ElementTree.parse(path).getroot()
    if root.tag != SVG + "svg":
        return f"{path}: the root element is {root.tag}, not svg"
    ids = [g.get("id") for g in root.iter(SVG + "g") if "lane" in (g.get("class") or "").split()]
    wanted = ["simulator-sound"] + [f"sound-{i:02d}" for i in range(lanes)]
    if ids != wanted:
        return f"{path}: lanes {ids}, wanted {wanted}"
    for g in root.iter(SVG + "g"):
        if g.get("id", "").startswith("sound-") and not g.get("data-variable"):
            return f"{path}: lane {g.get('id')} names no variable"
    marks = [line for g in root.iter(SVG + "g") if g.get("class") == "stop-all"
             for line in g.iter(SVG + "line")]
    if len(marks) != stop_all:
        return f"{path}: {len(marks)} stop-all marks, wanted {stop_all}"
    switch = [g for g in root.iter(SVG + "g") if g.get("id") == "simulator-sound"][0]
    if not list(switch.iter(SVG + "rect")):
        return f"{path}: the simulator sound lane is empty"
    return None


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--exit", type=int, required=True)
    parser.add_argument("--prints", action="append", default=[])
    parser.add_argument("--lacks", action="append", default=[], help="a text the output must not hold")
    parser.add_argument("--svg")
    parser.add_argument("--lanes", type=int, default=0)
    parser.add_argument("--stop-all", type=int, default=0)
    parser.add_argument("--log")
    parser.add_argument("--frames", type=int, default=0)
    parser.add_argument("--first-line", help="the output's first line starts so")
    parser.add_argument("--most-lines", type=int, help="the output has no more lines")
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = [c for c in args.command if c != "--" and c != ""]
    result = subprocess.run(command, capture_output=True, text=True, errors="replace")
    output = (result.stdout + result.stderr).replace("\r", "")
    problems = []
    if result.returncode != args.exit:
        problems.append(f"exit status {result.returncode}, wanted {args.exit}")
    problems += [f"missing from the output: {text}" for text in args.prints if text not in output]
    problems += [f"in the output: {text}" for text in args.lacks if text in output]
    lines = output.splitlines()
    if args.first_line and not (lines and lines[0].startswith(args.first_line)):
        problems.append(f"the first line does not start with: {args.first_line}")
    if args.most_lines is not None and len(lines) > args.most_lines:
        problems.append(f"{len(lines)} lines, wanted {args.most_lines} at most")
    if args.log:
        problems += compare_log(result.stdout.replace("\r", ""), args.log, args.frames)
    if args.svg:
        problem = check_timeline(args.svg, args.lanes, args.stop_all)
        if problem:
            problems.append(problem)
    if problems:
        print(output)
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
