"""The five game sounds, synthesised: 22050 Hz, mono, 8-bit PCM.
Everything is computed from fixed numbers (the noise from a fixed seed), so
two runs write the same bytes."""
import os
import wave

import numpy as np

import common as C

RATE = 22050


def midi(n):
    return 440.0 * 2 ** ((n - 69) / 12)


def env(n, a=0.005, r=0.05, hold=None):
    """Attack / release envelope over n samples; ends exactly at zero."""
    t = np.arange(n) / RATE
    e = np.ones(n)
    na = max(1, int(a * RATE))
    e[:na] = np.linspace(0, 1, na, endpoint=False)
    nr = min(n, max(1, int(r * RATE)))
    e[n - nr:] *= np.linspace(1, 0, nr)
    return e


def osc(freq, n, kind="square", duty=0.5, phase0=0.0):
    f = np.broadcast_to(np.asarray(freq, float), (n,))
    ph = phase0 + np.cumsum(f) / RATE
    ph = ph - np.floor(ph)
    if kind == "square":
        return np.where(ph < duty, 1.0, -1.0)
    if kind == "tri":
        return 4 * np.abs(ph - 0.5) - 1
    if kind == "saw":
        return 2 * ph - 1
    return np.sin(2 * np.pi * ph)


def fade_in(n, a):
    """Rises from zero over a seconds, then stays at one: a sound that starts with
    noise or a struck note starts at silence, not with a step."""
    return np.minimum(1.0, np.arange(n) / max(1.0, a * RATE))


def noise(n, seed):
    return np.random.default_rng(seed).uniform(-1, 1, n)


def write(name, x, gain=0.9):
    x = np.asarray(x, float)
    peak = np.max(np.abs(x)) or 1.0
    x = x / peak * gain
    b = np.clip(np.round(x * 127 + 128), 1, 255).astype(np.uint8)
    with wave.open(os.path.join(C.PACK, name), "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(1)
        w.setframerate(RATE)
        w.writeframes(b.tobytes())


def seq(notes, step, kind="square", duty=0.5, rel=0.03, total=None):
    """notes: list of (midi or None, length in steps). Each note lasts a whole
    number of samples, so a sequence of fixed length loops exactly."""
    out = []
    at = 0
    for n, l in notes:
        ns = step * l
        if total is not None:
            # a note that would run past the end is shortened, and keeps its
            # release, so the sound still ends at silence
            ns = max(0, min(ns, total - at))
        if n is None or ns == 0:
            out.append(np.zeros(ns))
        else:
            out.append(osc(midi(n), ns, kind, duty) * env(ns, 0.004, rel))
        at += ns
    y = np.concatenate(out)
    if total is not None:
        y = np.concatenate([y, np.zeros(max(0, total - len(y)))])[:total]
    return y


def ready():
    """Drum roll rising into two 'ta-da' notes: get set."""
    n = int(0.95 * RATE)
    roll = noise(n, 11) * np.linspace(0.15, 0.6, n)
    hits = np.zeros(n)
    for i in range(0, int(0.55 * RATE), 1100):
        m = min(900, n - i)
        hits[i:i + m] += noise(m, 100 + i) * np.exp(-np.arange(m) / 180)
    roll = roll * 0.35 + hits * 0.5
    roll *= fade_in(n, 0.01)
    roll[int(0.55 * RATE):] *= np.linspace(1, 0, n - int(0.55 * RATE))
    step = 2205
    mel = seq([(None, 6), (67, 2), (72, 4)], step, "square", 0.25, 0.08, n)
    mel += 0.5 * seq([(None, 6), (55, 2), (60, 4)], step, "tri", 0.5, 0.08, n)
    return roll + mel


def go():
    """Whip crack and a bright rising fanfare."""
    n = int(0.85 * RATE)
    crack = np.zeros(n)
    m = 1400
    crack[:m] = noise(m, 5) * np.exp(-np.arange(m) / 250) * 1.2 * fade_in(m, 0.002)
    step = 1470
    y = crack
    y = y + seq([(None, 1), (72, 1), (76, 1), (79, 1), (84, 8)], step, "square", 0.5, 0.12, n) * 0.7
    y = y + seq([(None, 1), (60, 1), (64, 1), (67, 1), (72, 8)], step, "square", 0.25, 0.12, n) * 0.45
    y = y + seq([(None, 4), (48, 8)], step, "tri", 0.5, 0.12, n) * 0.6
    return y


def pu():
    """A short comic 'pu': a buzzy low note bending down, with a wobble."""
    n = int(0.42 * RATE)
    t = np.arange(n) / RATE
    f = 190 * np.exp(-t * 2.2) + 12 * np.sin(2 * np.pi * 28 * t)
    y = osc(f, n, "square", 0.3) * 0.7 + osc(f * 0.5, n, "tri") * 0.5
    e = np.minimum(1, t / 0.01) * np.clip(1 - (t - 0.3) / 0.12, 0, 1)
    y = y * e
    # soft low-pass to take the edge off
    k = np.ones(6) / 6
    return np.convolve(y, k, "same")


def moo():
    """The cow's call: a sawtooth voice through two vowel resonances."""
    n = int(1.1 * RATE)
    t = np.arange(n) / RATE
    f0 = 118 + 30 * np.sin(np.pi * np.clip(t / 0.9, 0, 1)) - 20 * t + 2.5 * np.sin(2 * np.pi * 5.5 * t)
    src = osc(f0, n, "saw")
    y = np.zeros(n)
    for fc, bw, g in ((420, 90, 1.0), (820, 140, 0.5), (2400, 300, 0.08)):
        r = np.exp(-np.pi * bw / RATE)
        a1, a2 = -2 * r * np.cos(2 * np.pi * fc / RATE), r * r
        out = np.zeros(n)
        y1 = y2 = 0.0
        for i in range(n):
            v = src[i] - a1 * y1 - a2 * y2
            out[i] = v
            y2, y1 = y1, v
        y += g * out / np.max(np.abs(out))
    e = np.minimum(1, t / 0.08) * np.clip((1.1 - t) / 0.25, 0, 1)
    # a little 'm' at the start: closed mouth, quieter and darker
    e *= np.where(t < 0.12, 0.4 + 5 * t, 1.0)
    return y * e


def bgm():
    """Hoedown loop: 8 bars at 150 BPM, 16th note = 2205 samples. Every note
    ends at zero inside its own length and the loop is a whole number of
    steps, so the end joins the start without a click."""
    step = 2205
    total = step * 16 * 8
    # melody (fiddle-ish square), G major
    G, A, B, c, d, e, fs, g = 67, 69, 71, 72, 74, 76, 78, 79
    mel_bars = [
        [(d, 2), (B, 1), (d, 1), (g, 2), (d, 2), (B, 2), (A, 2), (G, 4)],
        [(A, 2), (B, 2), (c, 2), (A, 2), (B, 2), (G, 2), (A, 2), (d, 2)],
        [(d, 2), (B, 1), (d, 1), (g, 2), (d, 2), (e, 2), (d, 2), (B, 4)],
        [(c, 2), (B, 2), (A, 2), (fs - 12 + 12, 2), (G, 4), (None, 4)],
        [(B, 1), (c, 1), (d, 2), (d, 2), (e, 2), (d, 2), (B, 2), (G, 4)],
        [(c, 2), (c, 2), (e, 2), (c, 2), (B, 2), (d, 2), (G, 4)],
        [(A, 1), (B, 1), (c, 2), (e, 2), (d, 2), (B, 2), (A, 2), (G, 2), (A, 2)],
        [(d, 2), (fs, 2), (g, 4), (d, 2), (B, 2), (G, 4)],
    ]
    mel = seq([nl for bar in mel_bars for nl in bar], step, "square", 0.25, 0.04, total)
    # bass: root / fifth oom-pah
    chords = [43, 50, 43, 50, 48, 43, 48, 50]   # G D G D C G C D
    bass_notes = []
    for r in chords:
        for beat in range(4):
            bass_notes += [(r if beat % 2 == 0 else r + 7, 2), (None, 2)]
    bass = seq(bass_notes, step, "tri", 0.5, 0.03, total)
    # off-beat chord stabs
    stab_notes = []
    for r in chords:
        for beat in range(4):
            stab_notes += [(None, 2), (r + 24 + 4 if r in (43, 48) else r + 24 + 4, 1), (None, 1)]
    stab = seq(stab_notes, step, "square", 0.5, 0.02, total)
    # shaker on every 8th, louder on the off-beat
    hat = np.zeros(total)
    for i in range(0, total, step * 2):
        m = 700
        amp = 0.5 if (i // (step * 2)) % 2 else 0.25
        hat[i:i + m] += noise(m, 900 + (i // step) % 64) * np.exp(-np.arange(m) / 120) * amp * fade_in(m, 0.001)
    y = mel * 0.42 + bass * 0.55 + stab * 0.12 + hat * 0.35
    return y


def main():
    C.ensure_dirs()
    write("READY.WAV", ready())
    write("GO.WAV", go())
    write("PU.WAV", pu())
    write("cow1.wav", moo())
    b = bgm()
    write("Bgm.wav", b, gain=0.6)
    print("sounds: wrote READY.WAV GO.WAV PU.WAV cow1.wav Bgm.wav")


if __name__ == "__main__":
    main()
