"""Runs vorlanex-panel (through the cross build's emulator when there is one)
and checks its exit status and what it printed.

  tool_command.py --exit N [--prints TEXT]... [--svg FILE --lanes N] -- COMMAND...
"""
import argparse
import subprocess
import sys
import xml.etree.ElementTree as ElementTree

SVG = "{http://www.w3.org/2000/svg}"


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
    parser.add_argument("--svg")
    parser.add_argument("--lanes", type=int, default=0)
    parser.add_argument("--stop-all", type=int, default=0)
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = [c for c in args.command if c != "--" and c != ""]
    result = subprocess.run(command, capture_output=True, text=True, errors="replace")
    output = result.stdout + result.stderr
    problems = []
    if result.returncode != args.exit:
        problems.append(f"exit status {result.returncode}, wanted {args.exit}")
    problems += [f"missing from the output: {text}" for text in args.prints if text not in output]
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
