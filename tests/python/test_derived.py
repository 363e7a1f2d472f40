"""The chart's derived results from Python: vargas, aspects, karakas, ashtakavarga, dasha."""

import datetime
import math
import re

import pytest
from hypothesis import given, settings, strategies as st

import zodiakit

VARGAS = [2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40, 45, 60]
PLANETS = ["Sun", "Moon", "Mars", "Mercury", "Jupiter", "Venus", "Saturn", "Rahu", "Ketu"]
SIGNS = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
         "Sagittarius", "Capricorn", "Aquarius", "Pisces"]
CYCLE = ["Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn", "Mercury", "Ketu", "Venus"]


@pytest.fixture(scope="module")
def chart():
    return zodiakit.Chart.from_utc(1990, 5, 15, 4, 30, 0, 27.7, 85.3)


def attributes(cls):
    return [name for name in vars(cls) if not name.startswith("__")]


def test_varga_positions(chart):
    cls = zodiakit.VargaPosition
    assert cls.__doc__ == ("Divisional (varga) position \u2014 `display_longitude` is for "
                           "chart drawing only.")
    assert attributes(cls) == ["planet", "source_longitude", "varga", "varga_sign",
                               "varga_index", "display_longitude", "warnings"]
    with pytest.raises(TypeError, match="^No constructor defined for VargaPosition$"):
        cls()
    sun = chart.divisional_chart(9)[0]
    assert [type(getattr(sun, a)) for a in attributes(cls)] == [str, float, int, str, int,
                                                                  float, list]
    assert repr(sun) == (f"<VargaPosition Sun D9 in {sun.varga_sign} "
                         f"(source {sun.source_longitude:.2f}\u00b0)>")

    assert chart.divisional_chart(1) is None and chart.vargas(5) is None
    planets = chart.planets()
    for varga in VARGAS:
        positions = chart.vargas(varga=varga)
        assert [p.planet for p in positions] == PLANETS
        for p in positions:
            assert p.varga == varga and p.source_longitude == planets[p.planet].longitude
            assert p.varga_sign == planets[p.planet].divisional_signs[varga]
            assert p.varga_sign == zodiakit.get_divisional_sign(p.source_longitude, varga)
            assert p.display_longitude == SIGNS.index(p.varga_sign) * 30 + 15
            assert p.varga_index == int(math.fmod(p.source_longitude, 30) // (30 / varga))
            assert p.warnings == (["D60 (Shashtiamsa) is highly sensitive to birth-time "
                                   "accuracy."] if varga == 60 else [])


def test_divisional_functions(chart):
    assert zodiakit.get_divisional_sign(lon=10.0, varga=2) == "Leo"
    assert zodiakit.get_divisional_sign(100.0, 0) == "Cancer"
    assert zodiakit.get_divisional_longitude(15.0, 30) == 255.0
    assert zodiakit.get_divisional_longitude(1.0, 9) == 9.0
    with pytest.raises(TypeError, match="missing 1 required positional argument: 'varga'"):
        zodiakit.get_divisional_sign(10.0)
    with pytest.raises(TypeError, match="^argument 'lon': ") as error:
        zodiakit.get_divisional_sign("ten", 9)
    assert isinstance(error.value.__cause__, TypeError)
    with pytest.raises(TypeError, match="^argument 'varga': "):
        zodiakit.get_divisional_longitude(10.0, 9.0)
    for bad in (-1, 2**32):
        with pytest.raises(OverflowError, match="^argument 'varga': "):
            zodiakit.get_divisional_sign(10.0, bad)
    with pytest.raises(TypeError, match="^argument 'varga': "):
        chart.divisional_chart("9")


@settings(max_examples=300)
@given(st.floats(), st.integers(0, 2**32 - 1))
def test_divisional_functions_accept_any_float(lon, varga):
    assert zodiakit.get_divisional_sign(lon, varga) in SIGNS
    assert isinstance(zodiakit.get_divisional_longitude(lon, varga), float)


def test_aspects_karakas_ashtakavarga(chart):
    planets = chart.planets()
    aspects = chart.aspects()
    assert len(aspects) == 15
    for a in aspects:
        assert set(a) == {"from_planet", "to_house", "to_planet", "strength", "is_special"}
        occupants = [n for n in PLANETS if planets[n].house == a["to_house"]]
        assert a["to_planet"] == (occupants[0] if occupants else None)
    assert None in [a["to_planet"] for a in aspects]

    karakas = chart.karakas()
    by_degree = sorted(PLANETS[:7], key=lambda n: -math.fmod(planets[n].longitude, 30))
    assert [karakas[n] for n in by_degree] == [
        "Atmakaraka", "Amatyakaraka", "Bhratrikaraka", "Matrikaraka", "Putrakaraka",
        "Jnatikaraka", "Darakaraka"]
    assert len(karakas) == 7

    av = chart.ashtakavarga()
    assert {k: sum(v) for k, v in av["binna"].items()} == {
        "sun": 48, "moon": 49, "mars": 39, "mercury": 54, "jupiter": 56, "venus": 52,
        "saturn": 39}
    assert av["sarva"] == [sum(column) for column in zip(*av["binna"].values())]


def count_periods(period, depth=1):
    """Checks a period's subtree and counts its periods."""
    subs = period.sub_periods
    if depth == 3:
        assert subs == []
        return 1
    first = CYCLE.index(period.lord)
    assert [s.lord for s in subs] == [CYCLE[(first + i) % 9] for i in range(9)]
    assert subs[0].start == period.start and subs[-1].end <= period.end
    assert all(a.end == b.start for a, b in zip(subs, subs[1:]))
    return 1 + sum(count_periods(s, depth + 1) for s in subs)


def test_dasha(chart):
    cls = zodiakit.DashaPeriod
    assert cls.__doc__ == "Python wrapper for DashaPeriod"
    assert attributes(cls) == ["lord", "start", "end", "sub_periods"]
    with pytest.raises(TypeError, match="^No constructor defined for DashaPeriod$"):
        cls()
    dasha = chart.dasha()
    assert list(dasha) == ["vimshottari"]
    periods = dasha["vimshottari"]
    # The Moon at 269.59 deg stands in Uttara Ashadha, ruled by the Sun.
    assert periods[0].lord == "Sun" and periods[0].start == "1990-05-15T04:30:00+00:00"
    assert re.fullmatch(r"\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\+00:00", periods[0].end)
    assert all(a.end == b.start for a, b in zip(periods, periods[1:]))
    assert sum(count_periods(p) for p in periods) == 9 + 81 + 729


@settings(max_examples=20, deadline=None)
@given(st.datetimes(datetime.datetime(1800, 1, 1), datetime.datetime(2300, 1, 1)))
def test_dasha_starts_at_birth_with_the_moons_nakshatra_lord(when):
    chart = zodiakit.Chart.from_utc(when.year, when.month, when.day, when.hour, when.minute,
                                    when.second, 0.0, 0.0)
    first = chart.dasha()["vimshottari"][0]
    lords = ["Ketu", "Venus", "Sun", "Moon", "Mars", "Rahu", "Jupiter", "Saturn", "Mercury"]
    assert first.lord == lords[int(chart.planets()["Moon"].longitude / (360 / 27)) % 9]
    assert first.start == when.strftime("%Y-%m-%dT%H:%M:%S+00:00")
