# run_watch.py PANEL_FOLDER -- COMMAND: `run --watch` in a copy of the panel; a gauge saved by
# rename, broken, fixed, then the INI rewritten in place: checks what each save printed.
import os, queue, shutil, signal, subprocess, sys, tempfile, threading, time
LIMIT = 120  # seconds for each save to be told: Wine starts slowly
SUMMARY = " frames at "
CHIME = "    9    0.500  lights_chime                    0 -> {}   by Lights!chime_button"
def save_by_rename(path, text):
    open(path + ".tmp", "w", encoding="utf-8", newline="\n").write(text)
    os.replace(path + ".tmp", path)
def main():
    source, command = sys.argv[1], sys.argv[sys.argv.index("--") + 1:]
    panel = os.path.join(tempfile.mkdtemp(prefix="run_watch_"), "panel")
    shutil.copytree(source, panel)
    gauge = os.path.join(panel, "Aircraft", "Lights", "panel", "Lights", "chime_button.xml")
    ini = os.path.join(panel, "Gauges", "lights.ini")
    original, settings = (open(f, encoding="utf-8").read() for f in (gauge, ini))
    # A session of its own, so that stopping it stops the program under Wine
    # too, not only the script that started it: a Windows program left running
    # keeps Wine's server, and the output of every later Windows test, open.
    tool = subprocess.Popen(command, cwd=panel, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            text=True, errors="replace", start_new_session=True)
    def stop():
        for sig in (signal.SIGTERM, signal.SIGKILL):
            try:
                os.killpg(tool.pid, sig)
                tool.wait(timeout=10)
                return
            except ProcessLookupError:
                return
            except subprocess.TimeoutExpired:
                continue
    lines, seen = queue.Queue(), []
    threading.Thread(target=lambda: [lines.put(l.rstrip("\r\n")) for l in tool.stdout] + [lines.put(None)],
                     daemon=True).start()
    def until(wanted):
        start, deadline = len(seen), time.monotonic() + LIMIT
        while True:
            try:
                line = lines.get(timeout=max(0.1, deadline - time.monotonic()))
            except queue.Empty:
                line = None
            if line is None:
                stop()
                sys.exit(f"no line with {wanted!r} came; the output was:\n" + "\n".join(seen))
            seen.append(line)
            if wanted in line:
                return seen[start:]
    problems = []
    try:
        until(SUMMARY)  # then an edit of equal size, saved the way editors save.
        save_by_rename(gauge, original.replace("1 (&gt;L:lights_chime", "2 (&gt;L:lights_chime"))
        until("== saved: ")
        changed = until(SUMMARY)[:-1]
        if len(changed) != 4 or not changed[0].startswith("- " + CHIME.format(1)) or \
                not any(c.startswith("+ " + CHIME.format(2)) for c in changed):
            problems.append("wanted the chime's two writes, 1 taken out and 2 put in: " + repr(changed))
        # No XML at all: its finding, and the run waits for the next save; the fix is
        # compared with the last good save.
        save_by_rename(gauge, "<Gauge\n")
        if not any("chime_button.xml:2: warning: not well-formed XML" in l
                   for l in until("waiting for the next save")):
            problems.append("the broken save's finding at its line was not shown")
        save_by_rename(gauge, original)
        if not any(l.startswith("+ " + CHIME.format(1)) for l in until(SUMMARY)):
            problems.append("the fixed save did not bring the first write back")
        # The INI in place: the error value changes; its WAV files, missing
        # before as after, hold nothing back.
        open(ini, "w", encoding="utf-8").write(settings.replace("ErrorFlag=0", "ErrorFlag=-1"))
        if not until("== saved: ")[-1].endswith("lights.ini") or \
                not any(l.startswith("+ ") and "1 -> -1   by the module" in l for l in until(SUMMARY)):
            problems.append("the INI's save did not bring its new error value")
    finally:
        stop()
        shutil.rmtree(os.path.dirname(panel), ignore_errors=True)
    if problems:
        sys.exit("\n".join(problems) + "\n\nthe output was:\n" + "\n".join(seen))
main()
