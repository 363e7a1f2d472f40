"""The chart as JSON, dict, one-line summary, listing and SVG drawing."""
import datetime
import gc
import json
import shutil
import struct
import subprocess
from concurrent.futures import ThreadPoolExecutor
import xml.etree.ElementTree as ET

import pytest
from hypothesis import given, settings, strategies as st

import zodiakit

SVG_NS = "{http://www.w3.org/2000/svg}"


def kathmandu_chart(hour=12, **options):
    return zodiakit.Chart.from_utc(2000, 1, 1, hour, 0, 0, 27.7, 85.3, **options)


@pytest.fixture(scope="module")
def chart():
    return kathmandu_chart()


def test_json_and_dict(chart):
    doc = json.loads(chart.to_json())
    assert (doc["datetime"], doc["ayanamsa"]) == ("2000-01-01T12:00:00Z", "Lahiri")
    assert doc["ascendant"] == chart.ascendant()
    assert doc["metadata"] == chart.metadata()
    as_dict = chart.to_dict()
    assert as_dict == doc and list(as_dict) == list(doc) and len(doc) == 15
    assert all(isinstance(k, str) for k in as_dict["divisional_charts"])
    # The texts themselves, repr and str included, are the goldens'.


def test_dicts_share_no_mutable_objects_and_leave_the_collector_as_found(chart):
    first = chart.to_dict()
    periods = first["dasha"]["vimshottari"]
    leaves = [g for p in periods for s in p["sub_periods"] for g in s["sub_periods"]]
    assert len({id(g["sub_periods"]) for g in leaves}) == len(leaves) > 600
    leaves[0]["sub_periods"].append("changed")
    periods[0]["lord_name"] = "changed"
    first["planets"][0]["divisional_signs"].clear()
    assert chart.to_dict() == json.loads(chart.to_json())
    was_enabled = gc.isenabled()
    try:
        for enabled in (False, True):
            (gc.enable if enabled else gc.disable)()
            chart.to_dict()
            assert gc.isenabled() is enabled
    finally:
        (gc.enable if was_enabled else gc.disable)()


def test_documents_written_in_threads_at_once_are_whole(chart):
    charts = [kathmandu_chart(hour) for hour in range(8)] * 4
    expected = [c.to_json() for c in charts]
    with ThreadPoolExecutor(4) as pool:
        assert list(pool.map(lambda c: c.to_json(), charts)) == expected
        assert list(pool.map(lambda c: c.to_dict(), charts)) == [json.loads(t) for t in expected]


@pytest.mark.skipif(shutil.which("rsvg-convert") is None, reason="rsvg-convert is not installed")
def test_svg_renders_to_a_500_pixel_png(chart):
    png = subprocess.run(["rsvg-convert"], input=chart.to_svg().encode(), check=True,
                         capture_output=True).stdout
    assert png[:8] == b"\x89PNG\r\n\x1a\n"
    assert struct.unpack(">II", png[16:24]) == (500, 500)


@settings(max_examples=40, deadline=None)
@given(st.datetimes(datetime.datetime(1800, 1, 1), datetime.datetime(2399, 12, 31)),
       st.floats(-66.0, 66.0), st.floats(-180.0, 180.0),
       st.sampled_from(["equal", "placidus", "koch", "whole_sign"]))
def test_every_chart_serialises_consistently(when, latitude, longitude, house_system):
    c = zodiakit.Chart.from_utc(*when.timetuple()[:6], latitude, longitude,
                                house_system=house_system)
    doc = json.loads(c.to_json())
    # The same members in the same order, with int and float where the text has them.
    assert json.dumps(c.to_dict()) == json.dumps(doc)
    assert doc["datetime"] == when.strftime("%Y-%m-%dT%H:%M:%SZ")
    # The bhava drawing: the sign of every house in house order, and every planet exactly
    # once.
    texts = [t.text for t in ET.fromstring(c.to_svg(chart="bhava")).iter(SVG_NS + "text")]
    assert [int(t) for t in texts if t.isdigit()] == [
        int(h["cusp"] // 30) + 1 for h in c.houses()]
    assert sorted(t for t in texts if not t.isdigit()) == sorted(p[:2] for p in c.planets())
