"""The example panel heard on both builds: the native tool's rendering (our
engine, exact) against what the Windows tool played under Wine (DirectSound,
recorded in real time). The same sounds must come at the same times: where
the rendering is steady, each side's level within 0.5 dB; every start and end
of sound within two frames. Then what the tour's variables say must be heard
in the recording: the chime for its length, the fan panned left until the
stop-all, silence after it, silence while the simulator's sound is off, sound
again once it is back on.

  heard_side_by_side.py NATIVE.wav WINE.raw
"""
import math
import struct
import sys

RATE = 48000
FRAME = RATE / 18.0          # one panel frame, in samples
WINDOW = int(FRAME / 2)      # levels are taken over half frames
SILENT = -70.0               # dB: below this a window counts as silence


def read_wav_float(path):
    data = open(path, "rb").read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise SystemExit(f"{path}: not a WAV file")
    pos = 12
    while pos + 8 <= len(data):
        ident, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        if ident == b"data":
            body = data[pos + 8:pos + 8 + size]
            return list(struct.unpack(f"<{len(body) // 4}f", body))
        pos += 8 + size + (size & 1)
    raise SystemExit(f"{path}: no data chunk")


def read_raw_float(path):
    body = open(path, "rb").read()
    body = body[:len(body) // 8 * 8]
    return list(struct.unpack(f"<{len(body) // 4}f", body))


def first_sound(samples):
    for i in range(0, len(samples), 2):
        if abs(samples[i]) > 1e-3 or abs(samples[i + 1]) > 1e-3:
            return i // 2
    raise SystemExit("no sound at all")


def levels(samples, start, count):
    """Per window: (left dB, right dB)."""
    out = []
    for w in range(count):
        a = 2 * (start + w * WINDOW)
        chunk = samples[a:a + 2 * WINDOW]
        if len(chunk) < 2 * WINDOW:
            break
        left = sum(x * x for x in chunk[0::2]) / WINDOW
        right = sum(x * x for x in chunk[1::2]) / WINDOW
        out.append((10 * math.log10(left + 1e-20), 10 * math.log10(right + 1e-20)))
    return out


def audible(level):
    return max(level) > SILENT


def edges(windows):
    return [i for i in range(1, len(windows)) if audible(windows[i]) != audible(windows[i - 1])]


def main(native_path, wine_path):
    native = read_wav_float(native_path)
    wine = read_raw_float(wine_path)
    # Both runs start with the chime: line them up on its first sample.
    offset = first_sound(wine) - first_sound(native)
    if offset < 0:
        raise SystemExit("the recording starts after the panel's first sound")
    count = len(native) // 2 // WINDOW
    ours = levels(native, 0, count)
    theirs = levels(wine, offset, count)
    if len(theirs) < len(ours):
        raise SystemExit(f"the recording holds {len(theirs)} windows, the rendering {len(ours)}")
    problems = []

    ours_edges, theirs_edges = edges(ours), edges(theirs)
    for e in ours_edges:
        near = [t for t in theirs_edges if abs(t - e) * WINDOW <= 2 * FRAME]
        if not near:
            problems.append(f"sound {'starts' if audible(ours[e]) else 'ends'} at "
                            f"{e * WINDOW / RATE:.3f} s natively, not under Wine")
    for t in theirs_edges:
        if not any(abs(t - e) * WINDOW <= 2 * FRAME for e in ours_edges):
            problems.append(f"sound {'starts' if audible(theirs[t]) else 'ends'} at "
                            f"{t * WINDOW / RATE:.3f} s under Wine, not natively")

    # Steady windows: the rendering's level moves by under 0.3 dB across
    # the window and its neighbours, and it is well above silence.
    for i in range(2, len(ours) - 2):
        around = ours[i - 2:i + 3]
        for side in (0, 1):
            values = [w[side] for w in around]
            if min(values) < SILENT + 10 or max(values) - min(values) > 0.3:
                continue
            if abs(theirs[i][side] - ours[i][side]) > 0.5:
                problems.append(f"{'left' if side == 0 else 'right'} at {i * WINDOW / RATE:.3f} s: "
                                f"{ours[i][side]:.2f} dB natively, {theirs[i][side]:.2f} dB "
                                f"under Wine")

    # What the tour's variables say, heard in the recording.
    def span(a, b):
        return theirs[int(a * RATE / WINDOW):int(b * RATE / WINDOW)]

    def expect(what, a, b, condition):
        if not all(condition(w) for w in span(a, b)):
            problems.append(f"{a:.2f} to {b:.2f} s: {what}")

    expect("the chime is heard", 0.55, 1.40, audible)
    expect("the fan alone is heard panned left (right 20 dB down)", 1.84, 1.98,
           lambda w: abs((w[0] - w[1]) - 20.0) < 1.0)
    expect("silence after the stop-all", 4.10, 4.45, lambda w: not audible(w))
    expect("silence while the simulator's sound is off", 5.10, 5.95, lambda w: not audible(w))
    expect("the fan is heard again once the sound is back on", 6.10, 6.95, audible)
    expect("silence once the fan is stopped", 7.10, 7.90, lambda w: not audible(w))

    for p in problems[:20]:
        print(p)
    print(f"{len(ours)} windows of {WINDOW} samples compared, {len(ours_edges)} starts and ends; "
          f"{len(problems)} problems")
    return 1 if problems else 0


if __name__ == "__main__":
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    sys.exit(main(sys.argv[1], sys.argv[2]))
