"""Chart construction, how it was computed, planets, houses, ascendant, batch."""
import datetime
import math
import re
import shutil
import subprocess
import sys

import pytest
from hypothesis import given, settings, strategies as st

import zodiakit
from goldens import SIGNS
from units import ARCSECOND, DEGREE
from zodiakit import Chart

KTM = (27.7, 85.3)
ROW = (2000, 1, 1, 12, 0, 0, 27.7, 85.3, 0.0)
LAT = "Invalid parameter: Invalid latitude {}: expected -90..90"
# Ketu is Rahu + 180 degrees, up to the rounding of that one addition.
KETU_OPPOSITION = 1e-9 * DEGREE
# swetest prints longitudes to seven decimals.
SWETEST_AGREEMENT = 1e-6 * DEGREE


def raises(exc, text, fn, *args):
    with pytest.raises(exc, match=f"^{re.escape(text)}$"):
        fn(*args)


@pytest.mark.parametrize("args, text", [
    ((2000, 13, 1, 0, 0, 0, 91.0, 0.0), "Invalid UTC date/time"),  # date before place
    ((2000, 1, 1, 0, 0, 0, 90.0001, 0.0), LAT.format("90.0001")),
    ((2000, 1, 1, 0, 0, 0, math.nan, 0.0), LAT.format("NaN")),
    ((2000, 1, 1, 0, 0, 0, 0.0, 0.0, -500.1),
     "Invalid parameter: Invalid altitude -500.1: expected -500..10000 meters"),
    ((2000, 1, 1, 0, 0, 0, 91.0, 0.0, 0.0, "nope"), LAT.format(91)),  # place before options
])
@pytest.mark.parametrize("ctor", [Chart.from_utc, Chart.compute])
def test_from_utc_failures(ctor, args, text):
    raises(ValueError, text, ctor, *args)


@pytest.mark.parametrize("args, text", [
    (("15-05-1990", "10:15:00", "Nowhere/Zone", 91.0, 0.0), "Invalid date; expected YYYY-MM-DD"),
    (("1990-02-30", "10:15:00", "Asia/Kathmandu", *KTM), "Invalid date; expected YYYY-MM-DD"),
    (("1990-05-15", "24:00:00", "Nowhere/Zone", *KTM), "Invalid time; expected HH:MM:SS"),
    (("1990-05-15", "10:15:00", "Nowhere/Zone", 91.0, 0.0), "Unknown timezone: Nowhere/Zone"),
    (("1990-05-15", "10:15:00", "Asia/Kathmandu", 91.0, 0.0), LAT.format(91)),
])
def test_from_local_failures_in_check_order(args, text):
    raises(ValueError, text, Chart.from_local, *args)


def test_from_local_and_from_julian_day_record_how_they_were_built():
    c = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", *KTM)
    m = c.metadata()
    assert (m["input_mode"], m["timezone"], m["utc_datetime"]) == (
        "local_civil", "Asia/Kathmandu", "1990-05-15T04:30:00+00:00")
    m = Chart.from_julian_day(2451545.0, *KTM).metadata()
    assert (m["utc_datetime"], m["input_mode"], m["timezone"]) == (
        "2000-01-01T12:00:00+00:00", "julian_day_ut", "UTC")
    for bad in (math.nan, math.inf, 1e300):
        raises(ValueError, "swe_revjul returned invalid date", Chart.from_julian_day, bad, *KTM)


def test_settings_metadata_and_warnings_are_fresh_copies():
    # Their content is the document's (test_serialize.py), which the goldens hold.
    Chart.from_utc(2000, 1, 1, 0, 0, 0, 90.0, -180.0, -500.0)  # the edges of the place
    c = Chart.from_utc(*ROW[:8], 1400.0, "custom:23.5", "whole_sign", False)
    s, m = c.settings(), c.metadata()
    assert s == m and s is not m
    assert (s["ayanamsa"], s["house_system"], s["true_nodes"]) == ("Custom(23.5)", "WholeSign",
                                                                   False)
    w = c.warnings()
    assert len(w) == 4
    w.clear()
    assert len(c.warnings()) == 4


def test_ascendant_does_not_depend_on_the_house_system():
    asc = Chart.from_utc(*ROW).ascendant()
    for system in ("placidus", "koch", "whole_sign"):
        assert Chart.from_utc(*ROW, "lahiri", system).ascendant() == asc
    with pytest.raises(ValueError) as polar:
        Chart.from_utc(2000, 6, 21, 0, 0, 0, 80.0, 0.0, 0.0, "lahiri", "placidus")
    assert str(polar.value) == ("Swiss Ephemeris calculation failed for planet Houses: "
                                "swe_houses_ex failed for house system Placidus")


@settings(max_examples=200, deadline=None)
@given(st.datetimes(datetime.datetime(1800, 1, 1), datetime.datetime(2399, 12, 31)),
       st.floats(-66, 66), st.floats(-180, 180),
       st.sampled_from(["equal", "placidus", "koch", "whole_sign"]))
def test_positions_agree_with_longitudes_and_cusps(t, lat, lon, system):
    c = Chart.from_utc(*t.timetuple()[:6], lat, lon, 0.0, "lahiri", system)
    cusps, span, planets = [h["cusp"] for h in c.houses()], 360.0 / 27.0, c.planets()
    for p in planets.values():
        assert p.sign == SIGNS[int(p.longitude // 30)]
        assert p.nakshatra_index == int(p.longitude // span) + 1
        assert p.pada == int((p.longitude % span) // (span / 4)) + 1
        start, end = cusps[p.house - 1], cusps[p.house % 12]
        assert (p.longitude - start) % 360 < (end - start) % 360
    assert math.isclose((planets["Ketu"].longitude - planets["Rahu"].longitude) % 360, 180.0,
                        abs_tol=KETU_OPPOSITION)


@pytest.mark.parametrize("planet, sign, lon, flags", [
    ("sun", "leo", 140.0, "0010"),  # the moolatrikona's upper bound is excluded
    ("moon", "taurus", 33.9, "1000"), ("moon", "taurus", 34.0, "1001"),
    ("mars", "aries", -350.0, "0010"), ("saturn", "aries", 5.0, "0100"),
])
def test_compute_dignities(planet, sign, lon, flags):
    d = zodiakit.compute_dignities(planet, sign, lon)
    assert "".join(str(int(v)) for v in d.values()) == flags


def test_compute_dignities_checks_the_planet_first():
    raises(ValueError, "Invalid planet", zodiakit.compute_dignities, "rahu", "leos", 1.0)
    raises(ValueError, "Invalid sign", zodiakit.compute_dignities, "sun", "leos", 1.0)


def test_batch():
    rows = [ROW, (1990, 5, 15, 4, 30, 0, 27.7, 85.3, 1400.0)]
    charts = zodiakit.compute_chart_batch(rows)
    explicit = zodiakit.compute_chart_batch(tuple(rows), "lahiri", "equal", True)
    assert [c.metadata() for c in charts] == [c.metadata() for c in explicit]
    assert charts[0].ascendant() == Chart.from_utc(*ROW).ascendant()
    raises(TypeError, "argument 'inputs': Can't extract `str` to `Vec`",
           zodiakit.compute_chart_batch, "abc")
    with pytest.raises(TypeError, match="^argument 'inputs': "):
        zodiakit.compute_chart_batch([ROW, ROW[:8]], "not-an-ayanamsa")  # conversion first
    for row in ((2001, 2, 30, 0, 0, 0, 0.0, 0.0, 0.0), (2000, 1, 1, 0, 0, 60, 0.0, 0.0, 0.0)):
        raises(ValueError, "Invalid date/time", zodiakit.compute_chart_batch, [ROW, row])


SWETEST = shutil.which("swetest")


def swetest_houses(y, mo, d, h, mi, s, lat, lon, letter):
    out = subprocess.run([SWETEST, f"-b{d}.{mo}.{y}", f"-ut{h}:{mi:02d}:{s:02d}", "-sid1",
                          f"-house{lon},{lat},{letter}", "-p", "-fPl", "-head"],
                         check=True, capture_output=True, text=True).stdout
    pairs = (line.rpartition(" ")[::2] for line in out.splitlines())
    return {" ".join(name.split()): float(value) for name, value in pairs}


def angle_between(a, b):
    return abs((a - b + 180.0) % 360.0 - 180.0)


@pytest.mark.skipif(SWETEST is None, reason="swetest is not installed")
def test_ascendant_and_cusps_match_swetest(report):
    worst, off = 0.0, []
    for when, place, system, letter in [
        ((2000, 1, 1, 12, 0, 0), (27.7, 85.3), "equal", "E"),
        ((1990, 5, 15, 4, 30, 0), (51.5, -0.1), "placidus", "P"),
        ((2024, 3, 10, 7, 30, 0), (40.7, -74.0), "koch", "K"),
        ((1950, 11, 2, 23, 59, 59), (-33.9, 151.2), "whole_sign", "W"),
    ]:
        c = Chart.from_utc(*when, *place, 0.0, "lahiri", system)
        ref = swetest_houses(*when, *place, letter)
        cusps = [h["cusp"] for h in c.houses()]
        assert len(cusps) == 12
        pairs = [(c.ascendant(), ref["Ascendant"])] + [
            (cusp, ref[f"house {i}"]) for i, cusp in enumerate(cusps, 1)]
        error = max(angle_between(got, expected) for got, expected in pairs)
        worst = max(worst, error)
        if error > SWETEST_AGREEMENT:
            off.append(f"{system} {when}: {error / ARCSECOND:.4f} arcsec")
    report("ascendant and cusps vs swetest, 4 charts", worst / ARCSECOND, "arcsec",
           SWETEST_AGREEMENT / ARCSECOND)
    assert not off, f"off by more than {SWETEST_AGREEMENT / ARCSECOND:.4f} arcsec: {off}"


def test_objects_release_their_class():
    before = (sys.getrefcount(Chart), sys.getrefcount(zodiakit.PlanetPosition))
    for _ in range(200):
        Chart.from_utc(*ROW).planets()
    assert (sys.getrefcount(Chart), sys.getrefcount(zodiakit.PlanetPosition)) == before


def test_metadata_names_the_ephemeris_that_served_the_chart():
    inside, outside = (Chart.from_utc(y, 5, 15, 4, 30, 0, 27.7, 85.3) for y in (1990, 2500))
    assert inside.metadata()["ephemeris"] == "Swiss Ephemeris"
    assert not any("analytical" in w for w in inside.warnings())
    assert outside.metadata()["ephemeris"] == "Swiss Ephemeris (analytical)"
    assert outside.warnings()[-1].startswith("Positions come from the Swiss Ephemeris' analytical")
    # Without data files (test_packaging.py) the label says so inside their range too.
