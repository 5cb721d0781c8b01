#!/usr/bin/env python3
"""Writes the four alert sounds as WAV files (standard library only, deterministic).

    python3 resources/sounds/make_sounds.py [output-directory]

Without an argument the files land beside this script. Each file is a plain RIFF/WAVE image with
a 16-byte "fmt " chunk (PCM) and one "data" chunk, so the program can hand it to the platform's
player straight from memory. Formats and lengths are fixed; only the tones are ours to choose.
"""

import math
import os
import struct
import sys

# name, sample rate, bits per sample, number of samples
WHOOP = ("whoop.wav", 11025, 8, 10119)  # 0.918 s rising sweep
DEEDOODEEDOO = ("deedoodeedoo.wav", 11025, 8, 8125)  # 0.737 s, two alternating tones
WEEOOWEEOO = ("weeooweeoo.wav", 22050, 16, 63344)  # 2.873 s siren
NONE = ("none.wav", 22050, 8, 0)  # silent: header only


def wav_image(rate, bits, pcm):
    """A mono PCM WAV image; an odd data chunk is followed by the pad byte RIFF asks for."""
    block_align = bits // 8
    pad = b"\x00" if len(pcm) % 2 else b""
    fmt = struct.pack("<HHIIHH", 1, 1, rate, rate * block_align, block_align, bits)
    body = b"WAVE" + b"fmt " + struct.pack("<I", len(fmt)) + fmt
    body += b"data" + struct.pack("<I", len(pcm)) + pcm + pad
    return b"RIFF" + struct.pack("<I", len(body)) + body


def envelope(i, count, rate, fade_seconds):
    """Short linear fades at both ends, so a sound neither starts nor stops with a click."""
    fade = max(1, int(rate * fade_seconds))
    return min(1.0, (i + 1) / fade, (count - i) / fade)


def quantise(values, bits):
    """Samples in -1..1 as unsigned 8-bit or signed 16-bit little-endian PCM."""
    if bits == 8:
        return bytes(max(0, min(255, 128 + round(127 * v))) for v in values)
    return b"".join(struct.pack("<h", max(-32767, min(32767, round(32767 * v)))) for v in values)


def tone(frequencies, rate, amplitude):
    """A sine whose frequency follows the given per-sample list (phase kept continuous), with a
    touch of the third harmonic so small speakers carry it."""
    phase = 0.0
    out = []
    for f in frequencies:
        phase += 2.0 * math.pi * f / rate
        out.append(amplitude * (0.85 * math.sin(phase) + 0.15 * math.sin(3.0 * phase)))
    return out


def make_whoop():
    name, rate, bits, count = WHOOP
    low, high = 320.0, 1700.0
    freqs = [low * (high / low) ** (i / (count - 1)) for i in range(count)]
    samples = tone(freqs, rate, 0.8)
    samples = [s * envelope(i, count, rate, 0.006) for i, s in enumerate(samples)]
    return name, wav_image(rate, bits, quantise(samples, bits))


def make_deedoodeedoo():
    name, rate, bits, count = DEEDOODEEDOO
    notes = [1175.0, 880.0, 1175.0, 880.0]  # dee, doo, dee, doo
    bounds = [round(k * count / len(notes)) for k in range(len(notes) + 1)]
    samples = []
    for k, f in enumerate(notes):
        n = bounds[k + 1] - bounds[k]
        part = tone([f] * n, rate, 0.8)
        samples += [s * envelope(i, n, rate, 0.004) for i, s in enumerate(part)]
    return name, wav_image(rate, bits, quantise(samples, bits))


def make_weeooweeoo():
    name, rate, bits, count = WEEOOWEEOO
    cycles = 2  # "weeoo" twice: up to the high note, then down again
    low, high = 620.0, 1380.0
    freqs = []
    for i in range(count):
        u = (i * cycles / count) % 1.0
        freqs.append(low + (high - low) * math.sin(math.pi * u) ** 2)
    samples = tone(freqs, rate, 0.7)
    samples = [s * envelope(i, count, rate, 0.008) for i, s in enumerate(samples)]
    return name, wav_image(rate, bits, quantise(samples, bits))


def make_none():
    name, rate, bits, _ = NONE
    return name, wav_image(rate, bits, b"")


def main(argv):
    out_dir = argv[1] if len(argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    os.makedirs(out_dir, exist_ok=True)
    for name, image in (make_whoop(), make_deedoodeedoo(), make_weeooweeoo(), make_none()):
        with open(os.path.join(out_dir, name), "wb") as f:
            f.write(image)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
