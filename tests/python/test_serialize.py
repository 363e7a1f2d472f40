"""The chart as JSON, dict, one-line summary, listing and SVG drawing."""

import json
import locale
import re
import shutil
import struct
import subprocess
import xml.etree.ElementTree as ET

import pytest
from hypothesis import given, settings, strategies as st

import zodiakit

SVG_NS = "{http://www.w3.org/2000/svg}"

TOP_KEYS = [
    "datetime", "location", "ayanamsa", "planets", "ascendant", "houses", "dasha",
    "divisional_charts", "karakas", "aspects", "ashtakavarga", "yogas", "metadata", "warnings",
]
PLANET_KEYS = [
    "planet", "longitude", "latitude", "speed", "is_retrograde", "sign", "nakshatra", "house",
    "divisional_signs", "is_exalted", "is_debilitated", "is_own_sign", "is_moolatrikona",
    "is_vargottama", "shadbala",
]
SHADBALA_KEYS = [
    "sthana_bala", "dik_bala", "kala_bala", "chesta_bala", "naisargika_bala", "drik_bala",
    "total", "required", "is_sufficient",
]
METADATA_KEYS = [
    "input_mode", "utc_datetime", "timezone", "latitude", "longitude", "altitude", "ayanamsa",
    "house_system", "true_nodes", "ephemeris", "longitude_type", "calculation_version",
]
DASHA_KEYS = ["lord_name", "start", "end", "sub_periods"]
VARGA_KEYS = [
    "planet", "source_longitude", "varga", "varga_sign", "varga_index", "display_longitude",
    "warnings",
]
ASPECT_KEYS = ["from_planet", "to_house", "to_planet", "strength", "is_special"]
YOGA_KEYS = ["name", "category", "description", "planets_involved", "is_present"]
RFC3339_Z = re.compile(r"^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\dZ$")


def kathmandu_chart(hour=12, **options):
    return zodiakit.Chart.from_utc(2000, 1, 1, hour, 0, 0, 27.7, 85.3, **options)


@pytest.fixture(scope="module")
def chart():
    return kathmandu_chart()


def check_dasha(period):
    assert list(period) == DASHA_KEYS
    assert RFC3339_Z.match(period["start"]) and RFC3339_Z.match(period["end"])
    for sub in period["sub_periods"]:
        check_dasha(sub)


def test_json_document_layout(chart):
    text = chart.to_json()
    assert isinstance(text, str)
    # Compact: no whitespace outside string literals.
    assert not re.search(r"\s", re.sub(r'"(?:[^"\\]|\\.)*"', '""', text))
    doc = json.loads(text)
    assert list(doc) == TOP_KEYS
    assert doc["datetime"] == "2000-01-01T12:00:00Z"
    assert list(doc["location"]) == ["latitude", "longitude", "altitude"]
    assert doc["location"] == {"latitude": 27.7, "longitude": 85.3, "altitude": 0.0}
    assert doc["ayanamsa"] == "Lahiri"
    assert [p["planet"] for p in doc["planets"]] == [
        "Sun", "Moon", "Mars", "Mercury", "Jupiter", "Venus", "Saturn", "Rahu", "Ketu"]
    for planet in doc["planets"]:
        assert list(planet) == PLANET_KEYS
        assert isinstance(planet["house"], int) and 1 <= planet["house"] <= 12
        assert " " not in planet["nakshatra"]
        assert all(isinstance(k, str) and k.isdigit() for k in planet["divisional_signs"])
        if planet["shadbala"] is not None:
            assert list(planet["shadbala"]) == SHADBALA_KEYS
    # Floats read back exactly, and whole numbers keep a fraction.
    assert doc["ascendant"] == chart.ascendant()
    assert [p["longitude"] for p in doc["planets"]] == [
        p.longitude for p in chart.planets().values()]
    assert re.search(r'"altitude":0\.0[,}]', text)
    assert [h["house"] for h in doc["houses"]] == list(range(1, 13))
    assert all(list(h) == ["house", "cusp"] for h in doc["houses"])
    for periods in doc["dasha"].values():
        for period in periods:
            check_dasha(period)
    for key, positions in doc["divisional_charts"].items():
        assert key.isdigit()
        assert all(list(v) == VARGA_KEYS and v["varga"] == int(key) for v in positions)
    assert all(list(a) == ASPECT_KEYS for a in doc["aspects"])
    assert list(doc["ashtakavarga"]) == ["binna", "sarva"]
    assert all(list(y) == YOGA_KEYS for y in doc["yogas"])
    assert list(doc["metadata"]) == METADATA_KEYS
    assert doc["metadata"] == chart.metadata()
    assert doc["warnings"] == chart.warnings()


def test_to_dict_is_the_parsed_json_and_fresh_each_call(chart):
    first = chart.to_dict()
    assert first == json.loads(chart.to_json())
    assert all(isinstance(k, str) for k in first["divisional_charts"])
    first["planets"].clear()
    first["metadata"]["ayanamsa"] = "changed"
    assert chart.to_dict() == json.loads(chart.to_json())
    assert len(chart.to_dict()["planets"]) == 9


def test_custom_ayanamsa_in_json_and_repr():
    custom = kathmandu_chart(ayanamsa="custom:24")
    assert '"ayanamsa":{"Custom":24.0},' in custom.to_json()
    assert custom.to_dict()["ayanamsa"] == {"Custom": 24.0}
    assert repr(custom).endswith(" ayanamsa=Custom(24.0)>")
    assert repr(kathmandu_chart(ayanamsa="custom:0.00001")).endswith("ayanamsa=Custom(1e-5)>")
    assert repr(kathmandu_chart(ayanamsa="KP")).endswith(" ayanamsa=Krishnamurti>")


def test_repr_and_str(chart):
    assert repr(chart) == "<Chart asc=82.97\u00b0 Moon 199.5\u00b0 ayanamsa=Lahiri>"
    text = str(chart)
    assert not text.endswith("\n")
    lines = text.split("\n")
    assert lines[:3] == ["ZodiaKit Chart", "Ascendant: 82.97\u00b0", "Planets:"]
    assert len(lines) == 3 + 9
    assert lines[3] == "  Sun: 256.5\u00b0 Sagittarius"
    assert lines[4] == "  Moon: 199.5\u00b0 Libra"
    for line, (name, p) in zip(lines[3:], chart.planets().items()):
        assert re.fullmatch(r"  (\w+): (\d+\.\d)\u00b0 (\w+)", line)
        assert line.startswith(f"  {name}: ")
        assert line.endswith(f"\u00b0 {p.sign}")
        assert abs(float(line.split()[1].rstrip("\u00b0")) - p.longitude) <= 0.05


def test_texts_ignore_the_programs_numeric_locale(chart):
    before = locale.setlocale(locale.LC_NUMERIC)
    try:
        locale.setlocale(locale.LC_NUMERIC, "de_DE.UTF-8")
    except locale.Error:
        pytest.skip("locale de_DE.UTF-8 is not installed")
    try:
        assert repr(chart) == "<Chart asc=82.97\u00b0 Moon 199.5\u00b0 ayanamsa=Lahiri>"
        assert "Ascendant: 82.97\u00b0" in str(chart)
        assert json.loads(chart.to_json())["location"]["latitude"] == 27.7
    finally:
        locale.setlocale(locale.LC_NUMERIC, before)


def svg_texts(root):
    return [(int(t.get("x")), int(t.get("y")), t.get("fill"), t.text)
            for t in root.iter(SVG_NS + "text")]


def test_svg_parses_and_marks_the_ascendant_sign():
    cancer = kathmandu_chart(hour=13)  # ascendant near 95.9 degrees
    assert 90.0 <= cancer.houses()[0]["cusp"] < 120.0
    svg = cancer.to_svg()
    assert svg.startswith('<svg width="500" height="500" viewBox="0 0 500 500" '
                          'xmlns="http://www.w3.org/2000/svg"><rect width="100%" height="100%" '
                          'fill="#1a1a1a" />')
    assert svg.endswith("</svg>") and "\n" not in svg and "<?xml" not in svg
    root = ET.fromstring(svg)
    assert root.tag == SVG_NS + "svg"
    fixed = [child.tag.removeprefix(SVG_NS) for child in root][:5]
    assert fixed == ["rect", "rect", "line", "line", "polygon"]
    texts = svg_texts(root)
    assert texts[0] == (250, 120, "#888", "4")
    signs = [t for t in texts if t[2] == "#888"]
    assert [int(t[3]) for t in signs] == [(3 + i) % 12 + 1 for i in range(12)]
    labels = [t[3] for t in texts if t[2] != "#888"]
    assert sorted(labels) == sorted(["Su", "Mo", "Ma", "Me", "Ju", "Ve", "Sa", "Ra", "Ke"])


@pytest.mark.skipif(shutil.which("rsvg-convert") is None, reason="rsvg-convert is not installed")
def test_svg_renders_to_a_500_pixel_png(chart, tmp_path):
    source = tmp_path / "chart.svg"
    source.write_text(chart.to_svg(), encoding="utf-8")
    png = subprocess.run(["rsvg-convert", str(source)], check=True, capture_output=True).stdout
    assert png[:8] == b"\x89PNG\r\n\x1a\n" and png[12:16] == b"IHDR"
    assert struct.unpack(">II", png[16:24]) == (500, 500)


@settings(max_examples=40, deadline=None)
@given(
    year=st.integers(1800, 2399), month=st.integers(1, 12), day=st.integers(1, 28),
    hour=st.integers(0, 23), minute=st.integers(0, 59), second=st.integers(0, 59),
    latitude=st.floats(-66.0, 66.0), longitude=st.floats(-180.0, 180.0),
    house_system=st.sampled_from(["equal", "placidus", "koch", "whole_sign"]),
)
def test_every_chart_serialises_consistently(year, month, day, hour, minute, second, latitude,
                                             longitude, house_system):
    c = zodiakit.Chart.from_utc(year, month, day, hour, minute, second, latitude, longitude,
                                house_system=house_system)
    doc = json.loads(c.to_json())
    assert list(doc) == TOP_KEYS
    assert doc == c.to_dict()
    date = f"{year:04d}-{month:02d}-{day:02d}"
    assert doc["datetime"] == f"{date}T{hour:02d}:{minute:02d}:{second:02d}Z"
    assert doc["location"]["latitude"] == latitude
    assert re.fullmatch(r"<Chart asc=\d+\.\d\d\u00b0 Moon \d+\.\d\u00b0 ayanamsa=Lahiri>", repr(c))
    assert len(str(c).split("\n")) == 3 + len(doc["planets"])
    root = ET.fromstring(c.to_svg())
    assert len([t for t in svg_texts(root) if t[2] == "#888"]) == 12
