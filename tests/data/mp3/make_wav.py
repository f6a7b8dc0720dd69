#!/usr/bin/env python3
"""Writes a short 16-bit PCM WAV file as encoder input.

usage: make_wav.py OUT.wav RATE CHANNELS SECONDS

The sound is a rising tone with a burst of noise in its middle third, so a VBR
encoder has quiet and busy frames to choose different bitrates for. The noise
comes from a fixed linear congruential generator: the same arguments always
give the same bytes.
"""

import math
import struct
import sys
import wave


def samples(rate, channels, seconds):
    count = int(rate * seconds)
    state = 12345
    for n in range(count):
        t = n / rate
        tone = 0.35 * math.sin(2 * math.pi * (220 + 440 * t / seconds) * t)
        noisy = count // 3 <= n < 2 * count // 3
        frame = []
        for channel in range(channels):
            state = (state * 1103515245 + 12345) % (1 << 31)
            noise = (state / (1 << 30) - 1.0) * 0.4 if noisy else 0.0
            # The right channel lags a little, so stereo is not mono twice.
            shift = 0.5 * channel
            value = tone * math.cos(shift) + noise
            frame.append(max(-32767, min(32767, int(value * 32767))))
        yield frame


def main():
    out, rate, channels, seconds = sys.argv[1], int(sys.argv[2]), int(sys.argv[3]), float(sys.argv[4])
    with wave.open(out, "wb") as wav:
        wav.setnchannels(channels)
        wav.setsampwidth(2)
        wav.setframerate(rate)
        data = bytearray()
        for frame in samples(rate, channels, seconds):
            data += struct.pack("<" + "h" * channels, *frame)
        wav.writeframes(bytes(data))


if __name__ == "__main__":
    main()
