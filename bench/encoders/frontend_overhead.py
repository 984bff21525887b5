#!/usr/bin/env python3
"""Wall time of a front-end conversion (front-end + engine) against the engine alone with the
options the front-end gives it, on the same clip, under Wine. Prints one ratio per target
(goal: 1.05 or less).

  frontend_overhead.py DIST [SECONDS] [ROUNDS]
"""
import os
import statistics
import subprocess
import sys
import tempfile
import time

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../scripts/wine-run")

# The converter's option words per target (kept size), as its command lines split.
TARGETS = {
    "mp4": ("ffmpeg.exe", ["-y", "-i"], ["-f", "mp4", "-vcodec", "mpeg4", "-acodec", "libfaac",
                                         "-ac", "2", "-ab", "64K", "-ar", "48000"], "mp4"),
    "3gp": ("ffmpeg.exe", ["-y", "-i"], ["-f", "3gp", "-vcodec", "h263", "-b", "200k", "-r",
                                         "14.985", "-acodec", "libamr_nb", "-ac", "1", "-ar",
                                         "8000", "-ab", "7.95k"], "3gp"),
    "avi": ("mencoder.exe", [], ["-mc", "0", "-oac", "mp3lame", "-lameopts", "aq=7:vbr=2:q=6",
                                 "-srate", "32000", "-vf", "scale=-8:-8,harddup", "-ovc", "xvid",
                                 "-xvidencopts", "fixed_quant=8", "-o"], "avi"),
}


def win(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def timed(args, env=None):
    start = time.monotonic()
    result = subprocess.run([WINE_RUN, *args], stdin=subprocess.DEVNULL, capture_output=True,
                            env=env)
    elapsed = time.monotonic() - start
    if result.returncode != 0:
        sys.exit("failed: %s\n%s" % (" ".join(args), result.stderr.decode(errors="replace")))
    return elapsed, result


def main():
    dist = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    engine = os.path.join(dist, "engine", "ffmpeg.exe")
    with tempfile.TemporaryDirectory() as work:
        clip = os.path.join(work, "clip.flv")
        timed([engine, "-nostdin", "-y", "-f", "lavfi", "-i",
               "testsrc=size=640x360:rate=25:duration=%g" % seconds, "-f", "lavfi", "-i",
               "sine=sample_rate=44100:duration=%g" % seconds, "-c:v", "flv1", "-c:a",
               "libmp3lame", win(clip)])
        with open(os.path.join(dist, "ffmpeg.exe"), "rb") as exe:
            head_bytes = exe.read(4096)
        pe = int.from_bytes(head_bytes[0x3C:0x40], "little")
        machine = int.from_bytes(head_bytes[pe + 4:pe + 6], "little")
        print("build: %s (%s)" % ({0x14C: "32-bit", 0x8664: "64-bit"}.get(machine, "?"), dist))
        print("clip: 640x360, %g s, FLV; median of %d rounds" % (seconds, rounds))
        for key, (program, head, options, ext) in TARGETS.items():
            out = os.path.join(work, "out." + ext)
            front = [os.path.join(dist, program), *head, win(clip), *options, win(out)]
            env = dict(os.environ, VELMO_SHOW_ENGINE_LINE="1")
            _, shown = timed(front, env)
            # The engine's own line as the front-end ran it; its words hold no blanks here.
            words = shown.stderr.decode().strip().splitlines()[0].split(" ")
            alone = [engine, *words[1:]]
            front_times, alone_times = [], []
            for _ in range(rounds):
                front_times.append(timed(front)[0])
                alone_times.append(timed(alone)[0])
            f, a = statistics.median(front_times), statistics.median(alone_times)
            print("%-4s front-end %.2f s  engine alone %.2f s  ratio %.3f" % (key, f, a, f / a))


if __name__ == "__main__":
    main()
