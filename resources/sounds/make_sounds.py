#!/usr/bin/python3
"""Makes the sound clips the program plays from memory.

  shot.wav    PCM 16-bit stereo 22050 Hz, 1.503 s: a noise burst, loud from
              the first sample and dying away exponentially over the clip.
              Header: 16-byte "fmt " chunk directly followed by "data".
  ready.wav   } PCM 16-bit mono 44100 Hz, 0.772 / 0.788 / 0.954 s: a voice
  next.wav    } saying Ready, Next, Finish. Header: 18-byte "fmt " chunk
  finish.wav  } (cbSize 0) and a 458-byte zero-filled "JUNK" chunk before
              "data".
  start.wav   } PCM 16-bit mono 44100 Hz, the timed drill's beeps: the start
  par.wav     } beep, one 0.35 s tone of 2400 Hz; the par beep, two 0.12 s
              } tones of 1600 Hz 0.08 s apart (0.32 s). 16-byte "fmt " chunk,
              } then "data". Made here from the sine alone: `--beeps` makes
              } only these two and needs nothing beyond python3.

Needs: espeak-ng, sox (Debian packages espeak-ng, sox). Run:
    python3 resources/sounds/make_sounds.py
sox makes the raw samples; this script writes the RIFF headers itself so the
chunk layouts are exactly the ones above.
"""

import math
import os
import struct
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))

# Sample frame counts: the clips' lengths to the sample.
SHOT_FRAMES = 33146  # 1.503 s at 22050 Hz
CUES = [
    ("ready.wav", "Ready", 34066),  # 0.772 s at 44100 Hz
    ("next.wav", "Next", 34770),  # 0.788 s
    ("finish.wav", "Finish", 42066),  # 0.954 s
]
CUE_RATE = 44100
CUE_LEAD_IN = 0.03  # seconds of quiet before the word
JUNK_SIZE = 458


def run(args, **kwargs):
    return subprocess.run(args, check=True, **kwargs).stdout


def chunk(tag, payload):
    assert len(tag) == 4
    padded = payload + (b"\0" if len(payload) % 2 else b"")
    return tag + struct.pack("<I", len(payload)) + padded


def fmt_payload(channels, rate, with_cbsize):
    bits = 16
    block = channels * bits // 8
    payload = struct.pack("<HHIIHH", 1, channels, rate, rate * block, block, bits)
    if with_cbsize:
        payload += struct.pack("<H", 0)
    return payload


def riff(chunks):
    body = b"WAVE" + b"".join(chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def make_shot():
    rate, channels = 22050, 2
    seconds = SHOT_FRAMES / rate
    # Repeatable white noise, a little darker than hiss.
    noise = run(
        ["sox", "-R", "-D", "-n", "-r", str(rate), "-c", str(channels), "-b", "16", "-e", "signed",
         "-t", "raw", "-", "synth", f"{seconds:.6f}", "whitenoise", "lowpass", "4000",
         "bass", "+8", "norm", "-1"],
        stdout=subprocess.PIPE)
    samples = list(struct.unpack(f"<{len(noise) // 2}h", noise))
    frames = SHOT_FRAMES
    samples = (samples + [0] * (frames * channels))[: frames * channels]
    # Sharp attack (2 ms), then an exponential decay reaching about -60 dB at
    # the end of the clip.
    attack = int(0.002 * rate)
    tau = seconds / 6.9
    shaped = []
    for index, value in enumerate(samples):
        frame = index // channels
        t = frame / rate
        gain = min(1.0, (frame + 1) / attack) * math.exp(-t / tau)
        shaped.append(max(-32768, min(32767, int(round(value * gain)))))
    data = struct.pack(f"<{len(shaped)}h", *shaped)
    wave = riff([chunk(b"fmt ", fmt_payload(channels, rate, False)), chunk(b"data", data)])
    write("shot.wav", wave)


def make_cue(name, word, frames):
    with tempfile.TemporaryDirectory() as scratch:
        spoken = os.path.join(scratch, "spoken.wav")
        run(["espeak-ng", "-v", "en", "-s", "120", "-a", "180", "-w", spoken, word])
        # Trim the quiet around the word, bring it to 44100 Hz mono, put a
        # short lead-in before it and fill with quiet to the exact length.
        raw = run(
            ["sox", "-R", "-D", spoken, "-r", str(CUE_RATE), "-c", "1", "-b", "16", "-e", "signed",
             "-t", "raw", "-",
             "silence", "1", "0.01", "0.5%", "reverse", "silence", "1", "0.01", "0.5%", "reverse",
             "norm", "-1", "pad", f"{CUE_LEAD_IN}", "0"],
            stdout=subprocess.PIPE)
    wanted = frames * 2
    if len(raw) > wanted:
        raise SystemExit(f"{word}: spoken word is longer than the clip")
    data = raw + b"\0" * (wanted - len(raw))
    wave = riff([
        chunk(b"fmt ", fmt_payload(1, CUE_RATE, True)),
        chunk(b"JUNK", b"\0" * JUNK_SIZE),
        chunk(b"data", data),
    ])
    write(name, wave)


BEEP_RATE = 44100
BEEP_LEVEL = 0.7 * 32767
BEEP_RAMP = 0.005  # seconds of fade at each end of a tone, so it does not click


def tone(frequency, seconds):
    count = int(round(seconds * BEEP_RATE))
    ramp = int(BEEP_RAMP * BEEP_RATE)
    samples = []
    for n in range(count):
        gain = min(1.0, (n + 1) / ramp, (count - n) / ramp)
        value = BEEP_LEVEL * gain * math.sin(2 * math.pi * frequency * n / BEEP_RATE)
        samples.append(int(round(value)))
    return samples


def make_beep(name, samples):
    data = struct.pack(f"<{len(samples)}h", *samples)
    write(name, riff([chunk(b"fmt ", fmt_payload(1, BEEP_RATE, False)), chunk(b"data", data)]))


def make_beeps():
    make_beep("start.wav", tone(2400, 0.35))
    gap = [0] * int(round(0.08 * BEEP_RATE))
    make_beep("par.wav", tone(1600, 0.12) + gap + tone(1600, 0.12))


def write(name, wave):
    path = os.path.join(HERE, name)
    with open(path, "wb") as out:
        out.write(wave)
    print("wrote", path, len(wave), "bytes")


def main():
    make_beeps()
    if "--beeps" in sys.argv[1:]:
        return
    make_shot()
    for name, word, frames in CUES:
        make_cue(name, word, frames)


if __name__ == "__main__":
    main()
