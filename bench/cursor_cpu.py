#!/usr/bin/env python3
"""CPU used by the whole sorvel process tree over 10 s: idle, and while a stroke is dragged
across a plain page and across a drawing page, each with smoothing off (baseline) and on at
level 10.

usage: bench/cursor_cpu.py BUILD_DIR [SECONDS]
"""
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from startup import start_xvfb, tree  # noqa: E402

# A canvas that draws the stroke it receives, like the pages sorvel is made for.
PAGE = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Canvas</title>
<style>html,body{margin:0;overflow:hidden}</style></head><body>
<canvas id="c" width="690" height="443"></canvas>
<script>
var c = document.getElementById('c'), g = c.getContext('2d'), last = null;
c.addEventListener('pointerdown', function (e) { last = [e.offsetX, e.offsetY]; });
c.addEventListener('pointermove', function (e) {
  if (!(e.buttons & 1) || !last) return;
  g.beginPath(); g.moveTo(last[0], last[1]); g.lineTo(e.offsetX, e.offsetY); g.stroke();
  last = [e.offsetX, e.offsetY];
});
c.addEventListener('pointerup', function () { last = null; });
</script></body></html>"""

CLK_TCK = os.sysconf("SC_CLK_TCK")
LEVEL_BOX = (549 + 60, 36 + 3 + 10)  # client centre of the level box at 698 x 508
PAGE_ORIGIN = (4, 64)


def cpu_seconds(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
            total += int(fields[11]) + int(fields[12])
        except (OSError, ValueError, IndexError):
            pass
    return total / CLK_TCK


def xdo(env, *args):
    subprocess.run(["xdotool", *map(str, args)], env=env, check=True)


def select_level(env, origin, index):
    xdo(env, "mousemove", origin[0] + LEVEL_BOX[0], origin[1] + LEVEL_BOX[1])
    xdo(env, "click", "1")
    time.sleep(0.3)
    xdo(env, "key", "--delay", "30", "Home", *(["Down"] * index), "Return")
    time.sleep(0.3)


def drag_script(origin, seconds):
    """xdotool arguments that drag across the page for `seconds`, 100 moves a second."""
    args = []
    steps = int(seconds * 100)
    for i in range(steps):
        phase = (i % 200) / 200.0
        x = 40 + int(600 * (phase if (i // 200) % 2 == 0 else 1 - phase))
        y = 60 + int(300 * ((i % 50) / 50.0))
        args += ["mousemove", origin[0] + PAGE_ORIGIN[0] + x, origin[1] + PAGE_ORIGIN[1] + y,
                 "sleep", "0.01"]
    return args


def measure(pid, seconds, action=None):
    pids = tree(pid)
    before = cpu_seconds(pids)
    start = time.monotonic()
    if action:
        action()
    remaining = seconds - (time.monotonic() - start)
    if remaining > 0:
        time.sleep(remaining)
    elapsed = time.monotonic() - start
    return (cpu_seconds(tree(pid)) - before) / elapsed * 100.0


PLAIN = """<!DOCTYPE html><html><head><meta charset="utf-8"><title>Canvas</title></head>
<body><h1>A page that does not draw</h1></body></html>"""


def run_program(build, page_html, seconds, with_idle):
    """Starts sorvel on a page; returns {(what, level): cpu %}."""
    xvfb, display = start_xvfb()
    work = tempfile.mkdtemp(prefix="sorvel-cpu-")
    program = os.path.join(work, "program")
    for sub in ("program", "home", "runtime"):
        os.makedirs(os.path.join(work, sub))
    os.chmod(os.path.join(work, "runtime"), 0o700)
    shutil.copy(os.path.join(build, "sorvel"), program)
    shutil.copy(os.path.join(build, "sorvel.html"), program)
    with open(os.path.join(program, "canvas.html"), "w") as f:
        f.write(page_html)
    with open(os.path.join(program, "favorites.txt"), "wb") as f:
        f.write(b"Canvas\t" + ("file://" + os.path.join(program, "canvas.html")).encode() + b"\r\n")
    env = dict(os.environ, DISPLAY=display, HOME=os.path.join(work, "home"),
               XDG_RUNTIME_DIR=os.path.join(work, "runtime"))
    proc = subprocess.Popen([os.path.join(program, "sorvel")], env=env,
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    results = {}
    try:
        win = subprocess.run(["xdotool", "search", "--sync", "--pid", str(proc.pid), "--name",
                              "^Sorvel v0.13 - Canvas$"], env=env, capture_output=True, text=True,
                             timeout=60).stdout.split()[0]
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", win], env=env,
                                  capture_output=True, text=True).stdout
        values = dict(line.split("=") for line in geometry.split())
        origin = (int(values["X"]), int(values["Y"]))
        time.sleep(2)

        def stroke():
            xdo(env, "mousemove", origin[0] + 44, origin[1] + 124)
            xdo(env, "mousedown", "1")
            xdo(env, *drag_script(origin, seconds))
            xdo(env, "mouseup", "1")

        for level in (0, 10):
            select_level(env, origin, level)
            xdo(env, "mousemove", origin[0] + 300, origin[1] + 250)
            time.sleep(1)
            if with_idle:
                results[("idle", level)] = measure(proc.pid, seconds)
            results[("stroke", level)] = measure(proc.pid, seconds, stroke)
        select_level(env, origin, 0)
    finally:
        proc.kill()
        proc.wait()
        xvfb.terminate()
        xvfb.wait()
        shutil.rmtree(work, ignore_errors=True)
    return results


def main():
    build = os.path.abspath(sys.argv[1])
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 10.0
    plain = run_program(build, PLAIN, seconds, with_idle=True)
    canvas = run_program(build, PAGE, seconds, with_idle=False)
    rows = [("no input", plain[("idle", 0)], plain[("idle", 10)]),
            ("drag on a plain page", plain[("stroke", 0)], plain[("stroke", 10)]),
            ("drag on a canvas that draws", canvas[("stroke", 0)], canvas[("stroke", 10)])]
    print(f"CPU of the sorvel process tree, % of one core, over {seconds:.0f} s "
          f"(drag: 100 moves/s by xdotool)")
    for label, off, on in rows:
        print(f"  {label:28s} smoothing off {off:6.2f} %   level 10 {on:6.2f} %   "
              f"added {on - off:+6.2f} %")


if __name__ == "__main__":
    main()
