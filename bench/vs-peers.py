#!/usr/bin/env python3
"""Times quilla-cli against the usual command-line tools on your own picture.

Run from the project root:  bench/vs-peers.py --photo PICTURE [--runs N] [--only REGEX]
                            [--cli PATH] [--readme]
Every row is one whole-process run of a peer tool and of quilla-cli doing the same work,
alternately (A B, then B A), each after a sync so neither pays for the other's write-back.
The ratio quilla/peer is taken pair by pair and its median reported, wall and CPU
(user+sys), so drift of the machine cancels out. The inputs are made from PICTURE by
quilla-cli itself into a scratch folder, removed at the end. --readme also puts the table
between the markers in README.md.
"""
import argparse, os, platform, re, resource, shlex, shutil, statistics, subprocess, sys, tempfile, time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BEGIN, END = "<!-- vs-peers table -->", "<!-- end of vs-peers table -->"

p = argparse.ArgumentParser(description=__doc__.splitlines()[0])
p.add_argument("--photo", required=True, help="any picture quilla-cli reads")
p.add_argument("--runs", type=int, default=5)
p.add_argument("--only", default="", help="rows whose operation matches REGEX")
p.add_argument("--cli", default="build/native/quilla-cli")
p.add_argument("--readme", action="store_true", help="rewrite the table in README.md")
a = p.parse_args()
Q = os.path.abspath(a.cli)
if not os.access(Q, os.X_OK):
    sys.exit(f"{Q}: not found; build it first (cmake --preset native && cmake --build build/native)")
os.environ.update(MAGICK_THREAD_LIMIT="1", OMP_NUM_THREADS="1")  # peers run on one thread, as quilla-cli does


def run(cmd):
    """Wall and CPU seconds of one whole process, and its exit status. A peer command with a
    pipe or a redirection goes through sh."""
    shell = isinstance(cmd, str) and bool(re.search(r"[|<>]", cmd))
    args = cmd if shell or not isinstance(cmd, str) else shlex.split(cmd)
    r0, t0 = resource.getrusage(resource.RUSAGE_CHILDREN), time.perf_counter()
    rc = subprocess.call(args, shell=shell, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    t1, r1 = time.perf_counter(), resource.getrusage(resource.RUSAGE_CHILDREN)
    return t1 - t0, (r1.ru_utime - r0.ru_utime) + (r1.ru_stime - r0.ru_stime), rc


def machine():
    model = next((l.split(":", 1)[1].strip() for l in open("/proc/cpuinfo") if l.startswith("model name")),
                 platform.processor() or "unknown CPU")
    try:
        osname = next(l.split("=", 1)[1].strip().strip('"') for l in open("/etc/os-release") if l.startswith("PRETTY_NAME="))
    except (OSError, StopIteration):
        osname = platform.system()
    return f"Machine: {model}, {os.cpu_count()} cores, {osname}, {platform.system()} {platform.release()} {platform.machine()}"


def convert(*args):
    return [Q, "convert", *args]


S = tempfile.mkdtemp(prefix="vs-peers-")
f = lambda name: os.path.join(S, name)  # noqa: E731  a scratch file
try:
    # The inputs, all made by quilla-cli from the picture through one PPM.
    made = {"photo.ppm": run(convert("--type", "8", a.photo, f("photo.ppm")))[2]}
    if made["photo.ppm"] != 0:
        sys.exit(f"quilla-cli could not read {a.photo}")
    with open(f("photo.ppm"), "rb") as ppm:
        head = ppm.read(64)
    W, H = (int(v) for v in re.match(rb"P6\s+(?:#.*\n\s*)*(\d+)\s+(\d+)\s+\d+\s", head).groups())
    with open(f("photo.ppm"), "rb") as ppm, open(f("photo.rgb"), "wb") as rgb:  # raw RGB for gif2rgb
        ppm.seek(re.match(rb"P6\s+(?:#.*\n\s*)*\d+\s+\d+\s+\d+\s", head).end())
        shutil.copyfileobj(ppm, rgb)
    made["photo.rgb"] = 0
    for name, args in [("photo.jpg", ["--type", "5"]), ("photo.tif", ["--type", "9"]), ("lzw.tif", ["--type", "10"]),
                       ("photo.bmp", ["--type", "1"]), ("8bit.bmp", ["--colors", "256", "--type", "1"]),
                       ("photo.pcx", ["--type", "7"]), ("photo.gif", ["--set", "SaveGifInterlaced=0", "--type", "3"])]:
        made[name] = run(convert(*args, f("photo.ppm"), f(name)))[2]

    q, gif, im = "--set JpegQuality=75 --set JpegEntOpt=", "--set SaveGifInterlaced=0 --type 3", "convert"
    # operation, peer, Debian package, quilla-cli's input, peer command, quilla-cli's arguments and output
    ROWS = [
        ("JPEG decode", "djpeg", "libjpeg-turbo-progs", "photo.jpg", f"djpeg -outfile {f('a.ppm')} {f('photo.jpg')}", "--type 8 b.ppm"),
        ("JPEG encode q75, plain Huffman", "cjpeg", "libjpeg-turbo-progs", "photo.ppm",
         f"cjpeg -quality 75 -outfile {f('a.jpg')} {f('photo.ppm')}", f"{q}0 --type 5 b.jpg"),
        ("JPEG encode q75, optimised Huffman", "cjpeg -optimize", "libjpeg-turbo-progs", "photo.ppm",
         f"cjpeg -quality 75 -optimize -outfile {f('a.jpg')} {f('photo.ppm')}", f"{q}1 --type 5 b.jpg"),
        ("256 colours, Floyd-Steinberg", "tiffmedian -f", "libtiff-tools", "photo.tif",
         f"tiffmedian -C 256 -f {f('photo.tif')} {f('a.tif')}", "--set UseDithering=1 --colors 256 --type 1 b.bmp"),
        ("256 colours, no dither", "tiffmedian", "libtiff-tools", "photo.tif",
         f"tiffmedian -C 256 {f('photo.tif')} {f('a.tif')}", "--set UseDithering=0 --colors 256 --type 1 b.bmp"),
        ("true colour -> GIF", "gif2rgb", "giflib-tools", "photo.ppm",
         f"gif2rgb -c 8 -s {W} {H} -1 {f('photo.rgb')} > {f('a.gif')}", f"{gif} b.gif"),
        ("GIF encode, 8-bit input", "ImageMagick", "imagemagick", "8bit.bmp", f"{im} {f('8bit.bmp')} {f('a.gif')}", f"{gif} b.gif"),
        ("GIF decode", "gif2rgb", "giflib-tools", "photo.gif", f"gif2rgb -1 -o {f('a.rgb')} {f('photo.gif')}", "--type 1 b.bmp"),
        ("BMP 24-bit read+write", "ImageMagick", "imagemagick", "photo.bmp", f"{im} {f('photo.bmp')} BMP3:{f('a.bmp')}", "--type 1 b.bmp"),
        ("TIFF LZW read+write", "tiffcp -c lzw", "libtiff-tools", "lzw.tif", f"tiffcp -c lzw {f('lzw.tif')} {f('a.tif')}", "--type 10 b.tif"),
        ("TIFF read+write", "tiffcp", "libtiff-tools", "photo.tif", f"tiffcp -c none {f('photo.tif')} {f('a.tif')}", "--type 9 b.tif"),
        ("PCX 24-bit read+write", "netpbm", "netpbm", "photo.pcx",
         f"pcxtoppm {f('photo.pcx')} | ppmtopcx -24bit > {f('a.pcx')}", "--type 7 b.pcx"),
        ("PPM read+write", "netpbm", "netpbm", "photo.ppm", f"ppmtoppm < {f('photo.ppm')} > {f('a.ppm')}", "--type 8 b.ppm"),
        ("resize to 800x600, nearest", "pamscale", "netpbm", "photo.ppm",
         f"pamscale -nomix -width 800 -height 600 {f('photo.ppm')} > {f('a.ppm')}", "--type 8 --resize 800x600 b.ppm"),
    ]

    lines = [machine(), "", f"| operation ({W}x{H}, {a.runs} runs each) | peer | peer wall s | quilla wall s "
             "| wall quilla/peer | CPU quilla/peer |", "|---|---|---|---|---|---|"]
    print("\n".join(lines), flush=True)
    for op, peer, package, source, pc, qargs in ROWS:
        if a.only and not re.search(a.only, op):
            continue
        *qopts, out = qargs.split()
        qc = convert(*qopts, f(source), f(out))
        if not all(shutil.which(t) for t in re.findall(r"(?:^|\|)\s*(\S+)", pc)):
            cells = [f"peer missing: apt-get install {package}"]
        elif status := made[source] or run(qc)[2]:  # the first run is also the warm-up
            cells = ["not built" if status == 2 else f"quilla-cli failed (exit {status})"]
        elif run(pc)[2]:
            cells = ["peer failed"]
        else:
            pw, qw, rw, rc = [], [], [], []
            for i in range(a.runs):
                order = (pc, qc) if i % 2 == 0 else (qc, pc)
                timed = []
                for cmd in order:
                    os.sync()
                    timed.append(run(cmd))
                (w1, c1, _), (w2, c2, _) = timed if i % 2 == 0 else timed[::-1]
                pw.append(w1); qw.append(w2); rw.append(w2 / w1); rc.append(c2 / max(c1, 1e-6))
            m = statistics.median
            cells = [f"{m(pw):.3f}", f"{m(qw):.3f}", f"{m(rw):.2f}", f"{m(rc):.2f}"]
        row = f"| {op} | {peer} | " + " | ".join(cells if len(cells) == 4 else ["", "", cells[0], ""]) + " |"
        lines.append(row)
        print(row, flush=True)
finally:
    shutil.rmtree(S, ignore_errors=True)

if a.readme:
    path = os.path.join(ROOT, "README.md")
    text = open(path).read()
    if BEGIN not in text or END not in text:
        sys.exit(f"{path}: the markers {BEGIN} and {END} are missing")
    start, stop = text.index(BEGIN) + len(BEGIN), text.index(END)
    open(path, "w").write(text[:start] + "\n" + "\n".join(lines) + "\n" + text[stop:])
    print(f"table written to {path}")
