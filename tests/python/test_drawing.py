"""The chart drawing: every graha in the box of its own sign, in both styles, any varga and
any house system; the options and their errors; the rendering of every variant."""
import functools
import random
import re
import shutil
import subprocess
import xml.etree.ElementTree as ET

import pytest

import zodiakit
from goldens import HOUSES, SIGNS, instant, place
from zodiakit import Chart

VARGAS = [1, 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40, 45, 60]
TEXT = re.compile(r'<text x="(-?\d+)" y="(-?\d+)"[^>]*>([^<]*)</text>')

# The North boxes as polygons (box 1 the top diamond, running anticlockwise).
T, R, B, L, C = (250, 50), (450, 250), (250, 450), (50, 250), (250, 250)
TL, TR, BR, BL = (50, 50), (450, 50), (450, 450), (50, 450)
ITL, ITR, IBR, IBL = (150, 150), (350, 150), (350, 350), (150, 350)
NORTH = [[T, ITL, C, ITR], [TL, T, ITL], [TL, ITL, L], [L, ITL, C, IBL], [L, IBL, BL],
         [BL, IBL, B], [B, IBL, C, IBR], [B, IBR, BR], [BR, IBR, R], [R, IBR, C, ITR],
         [R, ITR, TR], [TR, ITR, T]]
SOUTH_CELLS = [(1, 0), (2, 0), (3, 0), (3, 1), (3, 2), (3, 3), (2, 3), (1, 3), (0, 3), (0, 2),
               (0, 1), (0, 0)]  # Aries ... Pisces
SOUTH = [[(50 + 100 * c, 50 + 100 * r), (150 + 100 * c, 50 + 100 * r),
          (150 + 100 * c, 150 + 100 * r), (50 + 100 * c, 150 + 100 * r)]
         for c, r in SOUTH_CELLS]


def inside(point, polygon):
    x, y = point
    signs = set()
    for (ax, ay), (bx, by) in zip(polygon, polygon[1:] + polygon[:1]):
        cross = (bx - ax) * (y - ay) - (by - ay) * (x - ax)
        signs.add(cross > 0 if cross else None)
    return None not in signs and len(signs) == 1


@functools.lru_cache(maxsize=None)
def box_at(x, y, style):
    fields = NORTH if style == "north" else SOUTH
    return next(i for i, f in enumerate(fields) if inside((int(x), int(y)), f))


def boxes(svg, style="north"):
    """{box index: [texts]} of a drawing, read from its text elements."""
    out = {}
    for x, y, text in TEXT.findall(svg):
        if int(y) < 50:
            continue  # the title line
        out.setdefault(box_at(x, y, style), []).append(text)
    return out


def sign_of_each_label(svg, style="north"):
    """{planet or "Asc" label: the sign number shown in its box}."""
    out = {}
    for texts in boxes(svg, style).values():
        numbers = [t for t in texts if t.isdigit()]
        assert len(numbers) == 1, texts
        for t in texts:
            if not t.isdigit():
                out[t.split(" ")[0]] = int(numbers[0])
    return out


def random_charts(n, seed):
    rng = random.Random(seed)
    for i in range(n):
        yield Chart.from_utc(*instant(rng), *place(rng, 66.0), house_system=HOUSES[i % 4]), rng


def test_every_graha_stands_in_the_box_of_its_own_sign():
    # 10,000 charts, a quarter in each house system, each drawn in a random style, varga and
    # detail; the ascendant's sign heads box 1 (North) or holds "Asc" (South).
    for chart, rng in random_charts(10_000, 7):
        style = rng.choice(["north", "south"])
        varga = rng.choice(VARGAS) if rng.random() < 0.3 else 1
        svg = chart.to_svg(style=style, varga=varga, details=rng.random() < 0.3)
        placed = sign_of_each_label(svg, style)
        for name, p in chart.planets().items():
            sign = p.sign if varga == 1 else p.divisional_signs[varga]
            assert placed[name[:2]] == SIGNS.index(sign) + 1, (name, style, varga)
        asc = zodiakit.get_divisional_sign(chart.ascendant(), varga)
        if style == "north":
            numbers = [int(t) for _, t in sorted(
                (i, t) for i, texts in boxes(svg).items() for t in texts if t.isdigit())]
            first = SIGNS.index(asc)
            assert numbers == [(first + k) % 12 + 1 for k in range(12)]
        else:
            assert placed["Asc"] == SIGNS.index(asc) + 1


def test_the_charts_that_drew_under_the_wrong_sign():
    # Five Capricorn grahas once drew under "9" (the ninth cusp's sign, Sagittarius).
    c = Chart.from_utc(1962, 2, 5, 0, 0, 0, 28.6, 77.2)
    placed = sign_of_each_label(c.to_svg())
    capricorn = [p for p, sign in placed.items() if sign == 10]
    assert len(capricorn) >= 5
    # By house, the boxes keep their cusp's sign as before.
    bhava = sign_of_each_label(c.to_svg(chart="bhava"))
    assert bhava != placed
    # At 60 degrees north with Placidus the cusps repeat signs; the rasi boxes never do.
    c = Chart.from_utc(2000, 1, 1, 12, 0, 0, 60.0, 10.0, house_system="placidus")
    numbers = sorted(int(t) for texts in boxes(c.to_svg()).values() for t in texts
                     if t.isdigit())
    assert numbers == list(range(1, 13))


def test_whole_sign_rasi_and_bhava_drawings_agree():
    for chart, _ in random_charts(40, 3):
        if chart.metadata()["house_system"] == "WholeSign":
            assert chart.to_svg() == chart.to_svg(chart="bhava")


def test_details_theme_and_size():
    c = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3)
    svg = c.to_svg(details=True, theme="light", size=800)
    root = ET.fromstring(svg)
    assert (root.get("width"), root.get("height"), root.get("viewBox")) == ("800", "800",
                                                                            "0 0 500 500")
    texts = [t.text for t in root.iter("{http://www.w3.org/2000/svg}text")]
    assert texts[0] == "1990-05-15 10:15 Asia/Kathmandu (+05:45), 27.70\u00b0N 85.30\u00b0E"
    sun = c.planets()["Sun"].longitude % 30
    assert f"Su {int(sun)}\u00b0{int(sun % 1 * 60):02d}'" in texts
    asc = [t for t in texts if t.startswith("Asc ")]
    assert len(asc) == 1
    retro = {n[:2] for n, p in c.planets().items() if p.is_retrograde}
    assert {t[:2] for t in texts if t.endswith(" R")} == retro
    assert "#ffffff" in svg and "#1a1a1a" not in svg
    assert ", D9" in c.to_svg(details=True, varga=9)


def test_options_are_keyword_only_and_checked():
    c = Chart.from_utc(2000, 1, 1, 0, 0, 0, 0.0, 0.0)
    with pytest.raises(TypeError, match="takes 0 positional arguments but 1 was given"):
        c.to_svg("south")
    bad = [({"style": "east"}, "Unknown style 'east'. Valid options: north, south"),
           ({"theme": "blue"}, "Unknown theme 'blue'. Valid options: dark, light"),
           ({"chart": "d9"}, "Unknown chart 'd9'. Valid options: rasi, bhava"),
           ({"varga": 5}, "Unknown varga 5. Valid options: 1, 2, 3, 4, 7, 9, 10, 12, 16, "
                          "20, 24, 27, 30, 40, 45, 60"),
           ({"size": 50}, "Invalid size 50: expected 100..4000"),
           ({"chart": "bhava", "varga": 9},
            "A bhava chart is drawn for varga 1 in the north style only"),
           ({"chart": "bhava", "style": "south"},
            "A bhava chart is drawn for varga 1 in the north style only")]
    for options, message in bad:
        with pytest.raises(ValueError) as error:
            c.to_svg(**options)
        assert str(error.value) == message
    with pytest.raises(TypeError):
        c.to_svg(details=1)


@pytest.mark.skipif(shutil.which("rsvg-convert") is None, reason="rsvg-convert is not installed")
def test_every_variant_renders_without_warnings():
    c = Chart.from_local("1962-02-05", "05:30:00", "Asia/Kolkata", 28.6, 77.2)
    for style in ["north", "south"]:
        for details in [False, True]:
            for varga in [1, 9, 60]:
                svg = c.to_svg(style=style, details=details, varga=varga, theme="light")
                run = subprocess.run(["rsvg-convert"], input=svg.encode(), capture_output=True)
                assert run.returncode == 0 and run.stderr == b"", (style, details, varga)
                assert run.stdout.startswith(b"\x89PNG")


def test_notebook_views():
    c = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3)
    assert c._repr_svg_() == c.to_svg()
    html = c._repr_html_()
    assert html.startswith("<div") and c.to_svg(size=360) in html
    assert html.count("<tr>") == 1 + 1 + 9  # the head, the ascendant, the grahas
    p = zodiakit.Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", 27.7, 85.3)
    html = p._repr_html_()
    d = p.to_dict()
    for key in ["tithi", "nakshatra", "yoga", "karana"]:
        assert d[key]["name"] in html and d[key]["end_time_local"] in html
    assert d["vara"]["name"] in html
