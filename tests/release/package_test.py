"""Makes the release package with CPack and holds it to what panel authors
get: exactly the files below, and a tool that, run from the unpacked folder,
plays a script on the example through the packaged module and the GLOBAL.DLL
beside it.

  package_test.py --cpack CPACK --config CPackConfig.cmake --out DIR
                  --name Vorlanex_sound-VERSION-win32 [--emulator PROGRAM]
"""
import argparse
import shutil
import subprocess
import sys
import zipfile
from pathlib import Path

FILES = {
    "Vorlanex_sound.gau",
    "guide.md",
    "console.png",
    "vorlanex-panel/vorlanex-panel.exe",
    "vorlanex-panel/GLOBAL.DLL",
    "example/Gauges/cabin_sounds.ini",
    "example/scripts/cabin_tour.txt",
}

# A short run: the example's WAV files are not in the package, so asking for
# the chime writes the INI file's error value (-1) into its variable.
SCRIPT = "at 0.1 set cabin_chime 1\nwait 0.2\n"


def run(command, cwd=None):
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True, errors="replace")
    return result.returncode, (result.stdout + result.stderr).replace("\r", "")


def check_tool(emulator, folder):
    """The unpacked tool, with the GLOBAL.DLL beside it, plays a script on the
    example through the packaged module; the problem found, if any."""
    tool = [*emulator, str(folder / "vorlanex-panel" / "vorlanex-panel.exe")]
    (folder / "short.txt").write_text(SCRIPT)
    status, output = run([*tool, "run", "./Gauges/cabin_sounds.ini", "short.txt", "--root",
                          "example", "--module", "Vorlanex_sound.gau"], cwd=folder)
    if status != 0 or "cabin_chime                     1 -> -1" not in output:
        return [f"run through the packaged module: exit status {status}:\n{output}"]
    return []


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--cpack", required=True)
    parser.add_argument("--config", required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--name", required=True)
    parser.add_argument("--emulator", action="append", default=[])
    args = parser.parse_args()

    out = Path(args.out)
    shutil.rmtree(out, ignore_errors=True)
    status, output = run([args.cpack, "--config", args.config, "-B", str(out)])
    package = out / f"{args.name}.zip"
    if status != 0 or not package.exists():
        print(output)
        print(f"cpack made no {package.name}")
        return 1

    with zipfile.ZipFile(package) as archive:
        names = {n for n in archive.namelist() if not n.endswith("/")}
        archive.extractall(out / "unpacked")
    wanted = {f"{args.name}/{f}" for f in FILES}
    problems = [f"missing from the package: {n}" for n in sorted(wanted - names)]
    problems += [f"in the package but not wanted: {n}" for n in sorted(names - wanted)]
    if not problems:
        problems += check_tool(args.emulator, out / "unpacked" / args.name)
    if problems:
        print("\n".join(problems))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
