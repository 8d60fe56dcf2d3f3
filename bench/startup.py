#!/usr/bin/env python3
"""Start-up cost of sorvel against a bare QWebEngineView program on the same local page.

Runs the three programs interleaved on one Xvfb (-noreset), each round in a fresh program folder,
HOME and runtime folder, and prints the median time from process start to "page loaded" (the
page's onload handler reports to a loopback HTTP server) and the PSS of the whole process tree,
with ratios sorvel / bare.

usage: bench/startup.py BUILD_DIR [ROUNDS]
"""
import http.server
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time

PAGE = b"""<!DOCTYPE html><html><head><meta charset="utf-8"><title>bench</title></head>
<body><h1>sorvel bench</h1><p>A short local page.</p>
<script>window.addEventListener('load', function () { fetch('/loaded', {method: 'POST'}); });</script>
</body></html>"""

loaded = threading.Event()


class Handler(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        self.send_response(200)
        self.send_header("Content-Type", "text/html; charset=utf-8")
        self.send_header("Content-Length", str(len(PAGE)))
        self.end_headers()
        self.wfile.write(PAGE)

    def do_POST(self):
        loaded.set()
        self.send_response(204)
        self.end_headers()

    def log_message(self, *args):
        pass


def start_xvfb():
    read_fd, write_fd = os.pipe()
    proc = subprocess.Popen(["Xvfb", "-displayfd", str(write_fd), "-screen", "0", "1280x800x24",
                             "-noreset", "-nolisten", "tcp"], pass_fds=(write_fd,),
                            stderr=subprocess.DEVNULL)
    os.close(write_fd)
    display = os.read(read_fd, 32).decode().strip()
    os.close(read_fd)
    return proc, ":" + display


def tree(pid):
    """pid and all its descendants."""
    children = {}
    for entry in os.listdir("/proc"):
        if entry.isdigit():
            try:
                with open(f"/proc/{entry}/stat") as f:
                    ppid = int(f.read().rsplit(")", 1)[1].split()[1])
                children.setdefault(ppid, []).append(int(entry))
            except (OSError, ValueError, IndexError):
                pass
    out, todo = [], [pid]
    while todo:
        p = todo.pop()
        out.append(p)
        todo.extend(children.get(p, []))
    return out


def pss_kib(pids):
    total = 0
    for p in pids:
        try:
            with open(f"/proc/{p}/smaps_rollup") as f:
                for line in f:
                    if line.startswith("Pss:"):
                        total += int(line.split()[1])
        except OSError:
            pass
    return total


def run_once(command, env, settle):
    loaded.clear()
    start = time.monotonic()
    proc = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                            start_new_session=True)
    ok = loaded.wait(60)
    elapsed = time.monotonic() - start
    time.sleep(settle)
    pss = pss_kib(tree(proc.pid))
    os.killpg(proc.pid, signal.SIGKILL)
    proc.wait()
    if not ok:
        raise RuntimeError(f"page never loaded: {command}")
    return elapsed * 1000.0, pss / 1024.0


def main():
    build = os.path.abspath(sys.argv[1])
    rounds = int(sys.argv[2]) if len(sys.argv) > 2 else 7
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{server.server_address[1]}/page"
    xvfb, display = start_xvfb()
    results = {"sorvel": [], "bare (Qt defaults)": [], "bare (software scene graph)": []}
    try:
        for r in range(rounds + 1):  # round 0 warms the disk cache and is dropped
            for name in results:
                work = tempfile.mkdtemp(prefix="sorvel-bench-")
                for sub in ("program", "home", "runtime"):
                    os.makedirs(os.path.join(work, sub))
                os.chmod(os.path.join(work, "runtime"), 0o700)
                env = dict(os.environ, DISPLAY=display, HOME=os.path.join(work, "home"),
                           XDG_RUNTIME_DIR=os.path.join(work, "runtime"))
                if name == "sorvel":
                    program = os.path.join(work, "program")
                    shutil.copy(os.path.join(build, "sorvel"), program)
                    shutil.copy(os.path.join(build, "sorvel.html"), program)
                    with open(os.path.join(program, "favorites.txt"), "wb") as f:
                        f.write(b"Bench\t" + url.encode() + b"\r\n")
                    command = [os.path.join(program, "sorvel")]
                else:
                    command = [os.path.join(build, "bench", "bare_webview"), url]
                    if "software" in name:
                        command.insert(1, "--software")
                ms, mib = run_once(command, env, settle=1.0)
                shutil.rmtree(work, ignore_errors=True)
                if r > 0:
                    results[name].append((ms, mib))
    finally:
        xvfb.terminate()
        xvfb.wait()
        server.shutdown()

    med = {n: (statistics.median(v[0] for v in vals), statistics.median(v[1] for v in vals))
           for n, vals in results.items()}
    print(f"start-up to page loaded, median of {rounds} interleaved rounds")
    for name, (ms, mib) in med.items():
        print(f"  {name:30s} {ms:8.1f} ms   PSS {mib:7.1f} MiB")
    s_ms, s_mib = med["sorvel"]
    for base in ("bare (software scene graph)", "bare (Qt defaults)"):
        b_ms, b_mib = med[base]
        print(f"  sorvel / {base:30s} time {s_ms / b_ms:5.3f}   PSS {s_mib / b_mib:5.3f}")


if __name__ == "__main__":
    main()
