#!/usr/bin/env python3
"""Start-to-window time and peak memory of pralix.exe under Wine, for one or
more unpacked program folders measured in turn, run by run, in one prefix,
so that the figures stand side by side.  Needs a display (xvfb-run -a).

Usage: xvfb-run -a window_start.py --prefix DIR --runs N APP_DIR [APP_DIR...]
Prints, per folder, every run and the medians.
"""

import argparse
import os
import statistics
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from windows_proof_wine import Wine  # noqa: E402


def peak_memory_kb(pattern):
    peak = 0
    for pid in subprocess.run(["pgrep", "-f", pattern], capture_output=True, text=True).stdout.split():
        try:
            with open(f"/proc/{pid}/status") as status:
                for line in status:
                    if line.startswith("VmHWM:"):
                        peak = max(peak, int(line.split()[1]))
        except OSError:
            pass
    return peak


def one_start(wine, app_dir):
    """Seconds from the start of pralix.exe to its window, and its peak
    resident memory in MB once the window is up."""
    exe = os.path.join(app_dir, "pralix.exe")
    started = time.monotonic()
    window = subprocess.Popen([wine.loader, exe], env=dict(wine.env, DISPLAY=os.environ["DISPLAY"]),
                              cwd=app_dir, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        # xdotool's own --sync looks once every half second or so: asked in
        # a loop of our own, the window is seen within 20 ms of appearing.
        seconds = None
        while time.monotonic() - started < 120 and window.poll() is None:
            found = subprocess.run(["xdotool", "search", "--name", "FP Connectivity test"],
                                   capture_output=True, text=True)
            if found.returncode == 0 and found.stdout.strip():
                seconds = time.monotonic() - started
                break
            time.sleep(0.02)
        time.sleep(1)  # the first paint
        memory = peak_memory_kb(exe) / 1024
        return seconds, memory
    finally:
        window.terminate()
        try:
            window.wait(timeout=10)
        except subprocess.TimeoutExpired:
            window.kill()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--prefix", required=True)
    parser.add_argument("--runs", type=int, default=5)
    parser.add_argument("apps", nargs="+")
    options = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("needs a display: run it under xvfb-run -a", file=sys.stderr)
        return 2
    apps = [os.path.abspath(app) for app in options.apps]
    wine = Wine(os.path.abspath(options.prefix), apps[0])
    wine.boot()
    results = {app: [] for app in apps}
    for _ in range(options.runs + 1):  # the first round warms Wine's caches and is left out
        for app in apps:
            results[app].append(one_start(wine, app))
    wine.shutdown()
    for app in apps:
        runs = [r for r in results[app][1:] if r[0] is not None]
        times = ", ".join(f"{s:.2f}" for s, _ in runs)
        print(f"{app}: start to window {statistics.median(s for s, _ in runs):.2f} s median ({times}); "
              f"peak memory {statistics.median(m for _, m in runs):.0f} MB median")
    return 0


if __name__ == "__main__":
    sys.exit(main())
