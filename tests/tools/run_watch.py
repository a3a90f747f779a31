"""Drives `vorlanex-panel run --watch` (through the cross build's emulator when
there is one) on a copy of a panel: saves a gauge by renaming a new file over
it, then saves it broken, then fixed, and checks what each save printed.

  run_watch.py PANEL_FOLDER -- COMMAND...   (COMMAND run inside the copy)
"""
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time

GAUGE = os.path.join("Aircraft", "Lights", "panel", "Lights", "chime_button.xml")
LIMIT = 120  # seconds for each step: Wine starts slowly
SUMMARY = " frames at "


def reader(stream, lines):
    for line in stream:
        lines.put(line.rstrip("\r\n"))
    lines.put(None)


def until(lines, seen, wanted):
    """Collects lines into `seen` until one satisfies `wanted`; fails after LIMIT."""
    deadline = time.monotonic() + LIMIT
    while True:
        try:
            line = lines.get(timeout=max(0.1, deadline - time.monotonic()))
        except queue.Empty:
            sys.exit("no line came in time; the output was:\n" + "\n".join(seen))
        if line is None:
            sys.exit("the tool ended; its output was:\n" + "\n".join(seen))
        seen.append(line)
        if wanted(line):
            return


def save_by_rename(path, text):
    temporary = path + ".tmp"
    with open(temporary, "w", encoding="utf-8", newline="\n") as file:
        file.write(text)
    os.replace(temporary, path)


def main():
    split = sys.argv.index("--")
    source, command = sys.argv[1], sys.argv[split + 1:]
    folder = tempfile.mkdtemp(prefix="run_watch_")
    try:
        panel = os.path.join(folder, "panel")
        shutil.copytree(source, panel)
        gauge = os.path.join(panel, GAUGE)
        with open(gauge, encoding="utf-8") as file:
            original = file.read()
        tool = subprocess.Popen(command, cwd=panel, stdout=subprocess.PIPE,
                                stderr=subprocess.STDOUT, text=True, errors="replace")
        lines = queue.Queue()
        threading.Thread(target=reader, args=(tool.stdout, lines), daemon=True).start()
        try:
            seen = []
            until(lines, seen, lambda line: SUMMARY in line)
            # An edit of equal size, saved the way editors save.
            save_by_rename(gauge, original.replace("1 (&gt;L:lights_chime", "2 (&gt;L:lights_chime"))
            first = len(seen)
            until(lines, seen, lambda line: line.startswith("== saved: ") and line.endswith("chime_button.xml"))
            until(lines, seen, lambda line: SUMMARY in line)
            changed = seen[first + 1:-1]
            wanted = ["-     9    0.500  lights_chime                    0 -> 1   by Lights!chime_button",
                      "+     9    0.500  lights_chime                    0 -> 2   by Lights!chime_button"]
            problems = [f"not a changed line: {line}" for line in changed if line[:2] not in ("- ", "+ ")]
            problems += [f"missing: {w}" for w in wanted if not any(c.startswith(w) for c in changed)]
            if len(changed) != 4:
                problems.append(f"{len(changed)} changed lines, wanted 4 (two writes of the chime)")
            # A save that is no XML: its finding, and the run waits.
            save_by_rename(gauge, "<Gauge\n")
            until(lines, seen, lambda line: "waiting for the next save" in line)
            if not any("chime_button.xml:2: warning: not well-formed XML" in line for line in seen):
                problems.append("the broken save's finding at its line was not shown")
            # The fix is compared with the last good save.
            broken = len(seen)
            save_by_rename(gauge, original)
            until(lines, seen, lambda line: SUMMARY in line)
            fixed = [line for line in seen[broken:] if line[:2] in ("- ", "+ ")]
            if not any(line.startswith(wanted[0].replace("-", "+", 1)) for line in fixed):
                problems.append("the fixed save did not bring the first write back")
        finally:
            tool.kill()
            tool.wait()
        if problems:
            sys.exit("\n".join(problems) + "\n\nthe output was:\n" + "\n".join(seen))
    finally:
        shutil.rmtree(folder, ignore_errors=True)


if __name__ == "__main__":
    main()
