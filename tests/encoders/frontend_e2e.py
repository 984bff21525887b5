#!/usr/bin/env python3
"""End-to-end cases of the encoder front-ends: the converter's exact command lines, run through
its own watcher (WatchRunner.exe) under Wine, outputs checked with Debian's ffprobe.

  frontend_e2e.py WORK DIST RUNNER setup   # clips made by the engine
  frontend_e2e.py WORK DIST RUNNER CASE    # one conversion
"""
import json
import os
import shutil
import subprocess
import sys

WINE_RUN = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../scripts/wine-run")
CLIP_SECONDS = 4.0
CLIP_SIZE = (320, 180)

# name: key, resolution, source clip, fallback?, expected container, video codec, frame size,
# audio codec, sample rate
CASES = {
    "flv": ("flv", "keep", "clip.mp4", False, "flv", "flv1", (320, 180), "mp3", 44100),
    "3gp": ("3gp", "keep", "clip.flv", False, "3gp", "h263", (176, 144), "amr_nb", 8000),
    "mp4": ("mp4", "keep", "clip.f4v", False, "mp4", "mpeg4", (320, 180), "aac", 48000),
    "mp4-psp": ("mp4-psp", "keep", "clip.flv", False, "mp4", "mpeg4", (320, 240), "aac", 48000),
    "mp4-iphone": ("mp4-iphone", "keep", "clip.mp4", False, "mp4", "mpeg4", (320, 240), "aac", 48000),
    "mp4-ipad": ("mp4-ipad", "keep", "clip.f4v", False, "mp4", "mpeg4", (320, 240), "aac", 48000),
    # mencoder's scale=-8:-8: sides rounded to the nearest multiple of 16 (180 -> 176).
    "avi": ("avi", "keep", "clip.flv", False, "avi", "mpeg4", (320, 176), "mp3", 32000),
    "mp3": ("mp3", "keep", "clip.mp4", False, "mp3", None, None, "mp3", 44100),
    "flv-480x272": ("flv", "480x272", "clip.flv", False, "flv", "flv1", (480, 272), "mp3", 44100),
    "3gp-320x240": ("3gp", "320x240", "clip.mp4", False, "3gp", "h263", (176, 144), "amr_nb", 8000),
    "3gp-352x288": ("3gp", "352x288", "clip.f4v", False, "3gp", "h263", (352, 288), "amr_nb", 8000),
    "mp4-640x480": ("mp4", "640x480", "clip.flv", False, "mp4", "mpeg4", (640, 480), "aac", 48000),
    "mp4-psp-480x272": ("mp4-psp", "480x272", "clip.mp4", False, "mp4", "mpeg4", (480, 272), "aac", 48000),
    "mp4-iphone-480x320": ("mp4-iphone", "480x320", "clip.flv", False, "mp4", "mpeg4", (480, 320), "aac", 48000),
    "mp4-ipad-512x384": ("mp4-ipad", "512x384", "clip.mp4", False, "mp4", "mpeg4", (512, 384), "aac", 48000),
    "avi-352x240": ("avi", "352x240", "clip.mp4", False, "avi", "mpeg4", (352, 240), "mp3", 32000),
    # The empty size item: no size given, the source's is kept.
    "mp4-empty": ("mp4", "", "clip.flv", False, "mp4", "mpeg4", (320, 180), "aac", 48000),
    "mp4-psp-fallback": ("mp4-psp", "keep", "clip.flv", True, "mp4", "mpeg4", (320, 240), "aac", 48000),
}
FORMAT_NAMES = {"flv": "flv", "3gp": "mov,mp4,m4a,3gp,3g2,mj2", "mp4": "mov,mp4,m4a,3gp,3g2,mj2",
                "avi": "avi", "mp3": "mp3"}


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def wine(*args, **kw):
    return subprocess.run([WINE_RUN, *args], stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, encoding="utf-8", errors="replace", **kw)


def setup(work, dist):
    clips = os.path.join(work, "clips")
    shutil.rmtree(clips, ignore_errors=True)
    os.makedirs(clips)
    engine = os.path.join(dist, "engine", "ffmpeg.exe")
    lavfi = ["-f", "lavfi", "-i", "testsrc=size=%dx%d:rate=25:duration=%g" % (*CLIP_SIZE, CLIP_SECONDS),
             "-f", "lavfi", "-i", "sine=frequency=440:sample_rate=44100:duration=%g" % CLIP_SECONDS]
    for name, codecs in (("clip.flv", ["-c:v", "flv1", "-c:a", "libmp3lame"]),
                         ("clip.mp4", ["-c:v", "mpeg4", "-c:a", "aac"])):
        result = wine(engine, "-nostdin", "-y", *lavfi, *codecs, windows_path(os.path.join(clips, name)))
        if result.returncode != 0:
            sys.exit("the engine could not make %s:\n%s" % (name, result.stderr))
    shutil.copyfile(os.path.join(clips, "clip.mp4"), os.path.join(clips, "clip.f4v"))


def probe(path):
    out = subprocess.run(["ffprobe", "-v", "error", "-print_format", "json", "-show_format",
                          "-show_streams", path], capture_output=True, text=True, check=True).stdout
    return json.loads(out)


def run_case(work, dist, runner, name):
    key, resolution, clip, fallback, container, vcodec, size, acodec, rate = CASES[name]
    # Every case writes into its own folder, named in Chinese, so that cases run in parallel
    # and paths travel through code page 936.
    folder = os.path.join(work, "out", name, "转换")
    shutil.rmtree(os.path.dirname(folder), ignore_errors=True)
    os.makedirs(folder)
    source = os.path.join(work, "clips", clip)
    args = [runner, windows_path(dist), key, resolution, windows_path(source), windows_path(folder) + "\\"]
    if fallback:
        args.append("fallback")
    result = wine(*args, timeout=120)
    report = dict(line.split(" ", 1) if " " in line else (line, "") for line in result.stdout.splitlines())
    failures = []
    if report.get("exit") != "0":
        failures.append("exit code %s; %s" % (report.get("exit"), result.stdout + result.stderr))
    # The converter counts a conversion only with the encoder's end-of-run report.
    if report.get("report") != "1":
        failures.append("no end-of-run report was read")
    maximum = int(report.get("max", "0"))
    positions = [int(p) for p in report.get("positions", "").split()]
    if not positions or positions != sorted(positions) or positions[-1] < 0.95 * maximum:
        failures.append("the bar did not rise to 95%% of %d: %s" % (maximum, positions))
    # The maximum came from our duration line, in each mode's unit (mencoder: percent).
    expected_max = 100 if key == "avi" else (10 if fallback else 100) * CLIP_SECONDS
    if abs(maximum - expected_max) > 0.05 * expected_max:
        failures.append("bar maximum %d, expected about %d" % (maximum, expected_max))
    output = os.path.join(folder, clip[:-4] + "." + {"3gp": "3gp", "avi": "avi", "flv": "flv", "mp3": "mp3"}.get(key, "mp4"))
    if not os.path.exists(output):
        failures.append("no output at %s" % output)
        return failures
    info = probe(output)
    if info["format"]["format_name"] != FORMAT_NAMES[container]:
        failures.append("container %s" % info["format"]["format_name"])
    streams = {s["codec_type"]: s for s in info["streams"]}
    video, audio = streams.get("video"), streams.get("audio")
    if vcodec is None:
        if video is not None:
            failures.append("unexpected video stream")
    elif video is None or video["codec_name"] != vcodec or (video["width"], video["height"]) != size:
        failures.append("video %s" % (video and (video["codec_name"], video["width"], video["height"])))
    if key == "avi" and video and video.get("codec_tag_string") != "XVID":
        failures.append("video tag %s" % video.get("codec_tag_string"))
    if audio is None or audio["codec_name"] != acodec or int(audio["sample_rate"]) != rate:
        failures.append("audio %s" % (audio and (audio["codec_name"], audio["sample_rate"])))
    duration = float(info["format"]["duration"])
    if abs(duration - CLIP_SECONDS) > 0.5:
        failures.append("duration %.3f s" % duration)
    return failures


def main():
    work, dist, runner, what = sys.argv[1:5]
    if what == "setup":
        setup(work, dist)
        return 0
    failures = run_case(work, dist, runner, what)
    for failure in failures:
        print("%s: %s" % (what, failure))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
