"""A console session, recorded, replays from another folder with the command
its script's heading prints: the same variable writes at the same frames.

  console_replay.py --out DIR [--emulator PROGRAM] -- TOOL CONSOLE_ARGUMENT...

The console is driven over its HTTP interface as the page drives it: GLOBAL.DLL
loaded (for a session started without it), the first sound played once until
the module hands its variable back, the simulator's sound off, Quit.
"""
import argparse
import json
import re
import shlex
import subprocess
import sys
import threading
import time
import urllib.request
from pathlib import Path

WRITE = re.compile(r"^\s*\d+\s+\S+\s+\S+\s+\S+ -> \S+$")


class Console:
    def __init__(self, command):
        self.output = ""
        self.child = subprocess.Popen(command, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                      text=True, errors="replace")
        threading.Thread(target=self._read, daemon=True).start()
        found = self.until("the console's address", lambda: re.search(r"console: (\S+)", self.output))
        self.address = found.group(1)

    def _read(self):
        for line in self.child.stdout:
            self.output += line.replace("\r", "")

    def until(self, what, condition, limit=60.0):
        end = time.monotonic() + limit
        while time.monotonic() < end:
            found = condition()
            if found:
                return found
            if self.child.poll() is not None:
                break
            time.sleep(0.05)
        raise RuntimeError(f"no {what} within {limit} s:\n{self.output}")

    def act(self, action):
        base, token = self.address.split("/index.html?token=")
        request = urllib.request.Request(f"{base}/api/action?token={token}", method="POST",
                                         data=json.dumps(action).encode())
        with urllib.request.urlopen(request, timeout=30) as answer:
            assert answer.status == 200, answer.read()

    def writes(self):
        return [line for line in self.output.splitlines() if WRITE.match(line)]


def replay_command(script, tool):
    """The heading's replay command, the tool and the script in place of the
    words that stand for them."""
    lines = script.read_text().splitlines()
    command = lines[lines.index("# Recorded by vorlanex-panel console on ./Gauges/cabin_sounds.ini."
                                " Replay it with") + 1]
    words = shlex.split(command.lstrip("#"))
    assert words[:2] == ["vorlanex-panel", "run"], command
    return [*tool, *(str(script) if w == "THIS_FILE" else w for w in words[1:])]


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--out", required=True)
    parser.add_argument("--emulator", action="append", default=[])
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    tool_path, *console_arguments = [c for c in args.command if c != "--"]
    tool = [*args.emulator, tool_path]
    out = Path(args.out)
    elsewhere = out / "elsewhere"
    elsewhere.mkdir(parents=True, exist_ok=True)
    script = out / "session.txt"
    script.unlink(missing_ok=True)

    console = Console([*tool, "console", *console_arguments, "--no-browser",
                       "--record", str(script)])
    try:
        console.act({"do": "load-global"})
        console.act({"do": "command", "sound": 0, "code": 1, "pan": -1500})
        console.until("chime handed back", lambda: re.search(r"cabin_chime\s+-150001 -> 0\n",
                                                               console.output))
        console.act({"do": "sound", "on": False})
        console.until("sound indicator off", lambda: re.search(r"zeb_sound_indicator\s+1 -> 0",
                                                                 console.output))
        console.act({"do": "quit"})
        status = console.child.wait(timeout=60)
    finally:
        if console.child.poll() is None:
            console.child.kill()
    if status != 0:
        print(console.output)
        print(f"the console ended with {status}")
        return 1

    command = replay_command(script, tool)
    replay = subprocess.run(command, cwd=elsewhere, capture_output=True, text=True,
                            errors="replace")
    replayed = [line for line in replay.stdout.replace("\r", "").splitlines() if WRITE.match(line)]
    if replay.returncode != 0 or replayed != console.writes() or not replayed:
        print(script.read_text())
        print(console.output)
        print(f"replayed from {elsewhere} with {' '.join(command)}: exit status "
              f"{replay.returncode}\n{replay.stdout}{replay.stderr}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
