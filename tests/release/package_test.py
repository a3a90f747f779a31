"""Makes the release package with CPack and holds it to what panel authors
get: exactly the files below, and a tool that, run in the unpacked example
as the guide prints its commands, finds the whole panel clean and plays the
tours (of the module alone, and of the cabin through its gauges) through the
packaged module and the GLOBAL.DLL beside the tool with every expectation
held.

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
    "console-panel.png",
    "vorlanex-panel/vorlanex-panel.exe",
    "vorlanex-panel/GLOBAL.DLL",
    "example/Aircraft/Cabin/panel/panel.cfg",
    "example/Aircraft/Cabin/panel/Cabin/battery_switch.xml",
    "example/Aircraft/Cabin/panel/Cabin/chime_button.xml",
    "example/Aircraft/Cabin/panel/Cabin/door_sounds.xml",
    "example/Aircraft/Cabin/panel/Cabin/engine_sound.xml",
    "example/Aircraft/Cabin/panel/Cabin/sound_light.xml",
    "example/Aircraft/Cabin/panel/Cabin/tachometer.xml",
    "example/Aircraft/Cabin/panel/Cabin/volume_readout.xml",
    "example/Aircraft/Cabin/panel/main_panel.bmp",
    "example/Aircraft/Cabin/panel/door_panel.bmp",
    *(f"example/Aircraft/Cabin/panel/Cabin/{image}.bmp" for image in (
        "chime_button", "chime_button_lit", "chime_button_down", "battery_switch",
        "battery_switch_off", "battery_switch_on", "sound_off", "sound_off_lit", "tachometer",
        "tachometer_needle", "volume_readout")),
    "example/Gauges/cabin_sounds.ini",
    "example/Gauges/cabin_switches.cab",
    "example/Gauges/Vorlanex_sound.gau",
    "example/Sound/Cabin/chime.wav",
    "example/Sound/Cabin/fan.wav",
    "example/Sound/Cabin/door.wav",
    "example/Sound/Cabin/seatbelt.wav",
    "example/Sound/Cabin/door_open.wav",
    "example/Sound/Cabin/door_close.wav",
    "example/Sound/Cabin/relay.wav",
    "example/Sound/Cabin/engine.wav",
    "example/scripts/cabin_tour.txt",
    "example/scripts/module_tour.txt",
}

# The guide's commands, run in the unpacked example folder, and what each
# must print.
COMMANDS = [
    (["check", "./Gauges/cabin_sounds.ini", "--panel", "Aircraft/Cabin/panel/panel.cfg"],
     "0 errors, 0 warnings"),
    (["run", "./Gauges/cabin_sounds.ini", "scripts/module_tour.txt", "--module",
      "Gauges/Vorlanex_sound.gau"], "expectations: 4 held, 0 failed"),
    (["run", "--panel", "Aircraft/Cabin/panel/panel.cfg", "scripts/cabin_tour.txt", "--module",
      "Gauges/Vorlanex_sound.gau"], "expectations: 36 held, 0 failed"),
]


def run(command, cwd=None):
    result = subprocess.run(command, cwd=cwd, capture_output=True, text=True, errors="replace")
    return result.returncode, (result.stdout + result.stderr).replace("\r", "")


def check_tool(emulator, folder):
    """The unpacked tool, with the GLOBAL.DLL beside it, runs the guide's
    commands in the example folder; the problems found."""
    tool = [*emulator, str(folder / "vorlanex-panel" / "vorlanex-panel.exe")]
    problems = []
    for arguments, wanted in COMMANDS:
        status, output = run([*tool, *arguments], cwd=folder / "example")
        if status != 0 or wanted not in output:
            problems.append(f"{' '.join(arguments)}: exit status {status}, wanted 0 and "
                            f"'{wanted}':\n{output}")
    return problems


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
