"""The drawings as a browser lays them out: headless Chromium opens twenty charts in both
styles, with and without details, and reports the box of every label (getBBox); no two
labels of a drawing overlap and each lies inside its box. Screenshots go to
build/artefacts/drawings.

Run with the module on the path: PYTHONPATH=build/dev python -m pytest tests/browser
"""
import concurrent.futures
import json
import pathlib
import random
import re
import shutil
import subprocess

import pytest

from zodiakit import Chart

BROWSER = shutil.which("chromium") or shutil.which("chromium-browser")
pytestmark = pytest.mark.skipif(BROWSER is None, reason="chromium is not installed")
ARTEFACTS = pathlib.Path(__file__).resolve().parents[2] / "build" / "artefacts" / "drawings"

T, R, B, L, C = (250, 50), (450, 250), (250, 450), (50, 250), (250, 250)
TL, TR, BR, BL = (50, 50), (450, 50), (450, 450), (50, 450)
ITL, ITR, IBR, IBL = (150, 150), (350, 150), (350, 350), (150, 350)
NORTH = [[T, ITL, C, ITR], [TL, T, ITL], [TL, ITL, L], [L, ITL, C, IBL], [L, IBL, BL],
         [BL, IBL, B], [B, IBL, C, IBR], [B, IBR, BR], [BR, IBR, R], [R, IBR, C, ITR],
         [R, ITR, TR], [TR, ITR, T]]
SOUTH = [[(50 + 100 * c, 50 + 100 * r), (150 + 100 * c, 50 + 100 * r),
          (150 + 100 * c, 150 + 100 * r), (50 + 100 * c, 150 + 100 * r)]
         for r in range(4) for c in range(4) if r in (0, 3) or c in (0, 3)]
VARIANTS = [("north", False), ("north", True), ("south", False), ("south", True)]


def charts():
    """Twenty charts: a seven-graha stellium, a five-graha one, navamsa and shashtiamsa
    drawings, and random ones in every house system."""
    out = [("stellium", Chart.from_local("1962-02-05", "05:30:00", "Asia/Kolkata", 28.6, 77.2),
            1),
           ("five-capricorn", Chart.from_utc(1962, 2, 5, 0, 0, 0, 28.6, 77.2), 1),
           ("navamsa", Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3),
            9),
           ("shashtiamsa", Chart.from_utc(1962, 2, 5, 0, 0, 0, 28.6, 77.2), 60),
           ("north-60", Chart.from_utc(2000, 1, 1, 12, 0, 0, 60.0, 10.0,
                                       house_system="placidus"), 1)]
    rng = random.Random(11)
    houses = ["equal", "placidus", "koch", "whole_sign"]
    while len(out) < 20:
        i = len(out)
        out.append((f"random-{i}", Chart.from_utc(
            rng.randint(1800, 2399), rng.randint(1, 12), rng.randint(1, 28), rng.randint(0, 23),
            rng.randint(0, 59), 0, rng.uniform(-60, 60), rng.uniform(-180, 180),
            house_system=houses[i % 4]), rng.choice([1, 1, 1, 3, 9, 10, 30])))
    return out


def inside(point, polygon, slack=0.5):
    """Inside a convex polygon of either winding, or within `slack` of its edges."""
    x, y = point
    edges = list(zip(polygon, polygon[1:] + polygon[:1]))
    sense = 1 if sum(ax * by - bx * ay for (ax, ay), (bx, by) in edges) > 0 else -1
    for (ax, ay), (bx, by) in edges:
        cross = sense * ((bx - ax) * (y - ay) - (by - ay) * (x - ax))
        length = ((bx - ax) ** 2 + (by - ay) ** 2) ** 0.5
        if cross < -slack * length:
            return False
    return True


def overlap(a, b):
    return (min(a[0] + a[2], b[0] + b[2]) - max(a[0], b[0]) > 0.5
            and min(a[1] + a[3], b[1] + b[3]) - max(a[1], b[1]) > 0.5)


PAGE = """<!DOCTYPE html><html><body style="margin:0">{drawings}<pre id="boxes"></pre>
<script>
const out = [];
document.querySelectorAll("svg").forEach((svg, n) => {{
  svg.querySelectorAll("text").forEach(t => {{
    const b = t.getBBox();
    out.push([n, t.textContent, +t.getAttribute("x"), +t.getAttribute("y"),
              b.x, b.y, b.width, b.height]);
  }});
}});
document.getElementById("boxes").textContent = JSON.stringify(out);
</script></body></html>"""


def run_browser(*args):
    return subprocess.run([BROWSER, "--headless", "--no-sandbox", "--disable-gpu",
                           "--hide-scrollbars", *args], capture_output=True, text=True,
                          timeout=120)


def test_labels_are_apart_and_inside_their_boxes(tmp_path):
    drawings, meta = [], []
    for name, chart, varga in charts():
        for style, details in VARIANTS:
            drawings.append(chart.to_svg(style=style, details=details, varga=varga))
            meta.append((name, style, details, varga))
    page = tmp_path / "drawings.html"
    page.write_text(PAGE.format(drawings="".join(drawings)), encoding="utf-8")
    dom = run_browser("--dump-dom", page.as_uri()).stdout
    boxes = json.loads(re.search(r'<pre id="boxes">(.*?)</pre>', dom, re.S).group(1))
    assert len({b[0] for b in boxes}) == len(drawings) == 80
    by_drawing = {}
    for n, text, x, y, *box in boxes:
        by_drawing.setdefault(n, []).append((text, x, y, box))
    for n, labels in by_drawing.items():
        name, style, details, varga = meta[n]
        fields = NORTH if style == "north" else SOUTH
        for i, (text, x, y, (bx, by, bw, bh)) in enumerate(labels):
            where = (name, style, details, varga, text)
            if y < 50:  # the title line
                assert 0 <= bx and bx + bw <= 500 and by >= 0 and by + bh <= 50, where
            else:
                field = next(f for f in fields if inside((x, y), f, 0))
                for corner in [(bx, by), (bx + bw, by), (bx + bw, by + bh), (bx, by + bh)]:
                    assert inside(corner, field), where
            for other in labels[i + 1:]:
                assert not overlap((bx, by, bw, bh), other[3]), (where, other[0])


def test_screenshots():
    # Five pages of four charts, each chart a row of its four drawings.
    ARTEFACTS.mkdir(parents=True, exist_ok=True)
    all_charts = charts()
    pages = []
    for k in range(0, len(all_charts), 4):
        rows = "".join(
            "<div>" + "".join(chart.to_svg(style=s, details=d, varga=varga, size=300)
                              for s, d in VARIANTS) + "</div>"
            for _, chart, varga in all_charts[k:k + 4])
        html = ARTEFACTS / f"charts-{k // 4 + 1}.html"
        html.write_text(f'<!DOCTYPE html><html><body style="margin:0;line-height:0">{rows}'
                        f'</body></html>', encoding="utf-8")
        pages.append((html, html.with_suffix(".png")))
    with concurrent.futures.ThreadPoolExecutor(5) as pool:
        list(pool.map(lambda page: run_browser(f"--screenshot={page[1]}",
                                               "--window-size=1200,1200", page[0].as_uri()),
                      pages))
    for _, png in pages:
        assert png.stat().st_size > 10_000, png.name
