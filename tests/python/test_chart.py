"""Chart construction, how it was computed, planets, houses, ascendant, batch."""
import math
import shutil
import subprocess
import sys

import pytest
from hypothesis import given, settings, strategies as st

import zodiakit
from zodiakit import Chart

KTM = (27.7, 85.3)
METADATA_KEYS = [
    "input_mode", "utc_datetime", "timezone", "latitude", "longitude", "altitude",
    "ayanamsa", "house_system", "true_nodes", "ephemeris", "longitude_type",
    "calculation_version",
]
WARNINGS = [
    "D60 and other high divisional charts (D27, D40, D45) require highly accurate birth time "
    "(within 1\u20132 minutes).",
    "Kala Bala (Shadbala sub-component) implements Nathonnatha, Hora, and Paksha Bala; "
    "Tribhaga/Masa/Abda use simplified values.",
    "Chara and Yogini Dasha systems are experimental \u2014 verify results against a "
    "classical reference before use.",
    "This software provides calculations only. All astrological interpretations require a "
    "qualified astrologer.",
]
PLANETS = ["Sun", "Moon", "Mars", "Mercury", "Jupiter", "Venus", "Saturn", "Rahu", "Ketu"]


def raises(exc, text, fn, *args, **kwargs):
    with pytest.raises(exc) as info:
        fn(*args, **kwargs)
    assert str(info.value) == text
    return info.value


@pytest.mark.parametrize("args, text", [
    ((2000, 2, 30, 0, 0, 0, *KTM), "Invalid UTC date/time"),
    ((2001, 2, 29, 0, 0, 0, *KTM), "Invalid UTC date/time"),
    ((2000, 1, 1, 0, 0, 60, *KTM), "Invalid UTC date/time"),
    ((2000, 1, 1, 24, 0, 0, *KTM), "Invalid UTC date/time"),
    ((2000, 13, 1, 0, 0, 0, 91.0, 0.0), "Invalid UTC date/time"),  # date before place
    ((2000, 1, 1, 0, 0, 0, 91.0, 0.0), "Invalid parameter: Invalid latitude 91: expected -90..90"),
    ((2000, 1, 1, 0, 0, 0, 90.0001, 0.0),
     "Invalid parameter: Invalid latitude 90.0001: expected -90..90"),
    ((2000, 1, 1, 0, 0, 0, math.nan, 0.0),
     "Invalid parameter: Invalid latitude NaN: expected -90..90"),
    ((2000, 1, 1, 0, 0, 0, 0.0, 180.5),
     "Invalid parameter: Invalid longitude 180.5: expected -180..180"),
    ((2000, 1, 1, 0, 0, 0, 0.0, 0.0, -500.1),
     "Invalid parameter: Invalid altitude -500.1: expected -500..10000 meters"),
    ((2000, 1, 1, 0, 0, 0, 0.0, 0.0, 0.0, "nope"),
     "Unknown ayanamsa 'nope'. Valid options: lahiri, raman, kp, true_chitra, true_pushya, "
     "custom:<offset>"),
    ((2000, 1, 1, 0, 0, 0, 0.0, 0.0, 0.0, "lahiri", "PLACIDUSX"),
     "Unknown house_system 'placidusx'. Valid options: equal, placidus, koch, whole_sign"),
    ((2000, 1, 1, 0, 0, 0, 91.0, 0.0, 0.0, "nope"),
     "Invalid parameter: Invalid latitude 91: expected -90..90"),  # place before options
])
@pytest.mark.parametrize("ctor", [Chart.from_utc, Chart.compute])
def test_from_utc_failures(ctor, args, text):
    raises(ValueError, text, ctor, *args)


def test_edges_of_the_place_are_accepted():
    Chart.from_utc(2000, 1, 1, 0, 0, 0, 90.0, -180.0, -500.0)
    Chart.from_utc(2000, 1, 1, 0, 0, 0, -90.0, 180.0, 10000.0)


@pytest.mark.parametrize("args, text", [
    (("15-05-1990", "10:15:00", "Nowhere/Zone", 91.0, 0.0), "Invalid date; expected YYYY-MM-DD"),
    (("1990-02-30", "10:15:00", "Asia/Kathmandu", *KTM), "Invalid date; expected YYYY-MM-DD"),
    (("1990-05-15", "10:15", "Nowhere/Zone", *KTM), "Invalid time; expected HH:MM:SS"),
    (("1990-05-15", "24:00:00", "Asia/Kathmandu", *KTM), "Invalid time; expected HH:MM:SS"),
    (("1990-05-15", "10:15:00", "Nowhere/Zone", 91.0, 0.0), "Unknown timezone: Nowhere/Zone"),
    (("1990-05-15", "10:15:00", "asia/kathmandu", *KTM), "Unknown timezone: asia/kathmandu"),
    (("2024-03-10", "02:30:00", "America/New_York", 40.7, -74.0),
     "Invalid local time in America/New_York (DST gap)"),
    (("2024-11-03", "01:30:00", "America/New_York", 40.7, -74.0),
     "Ambiguous local time in America/New_York. Provide UTC or an explicit DST fold policy."),
    (("1990-05-15", "10:15:00", "Asia/Kathmandu", 91.0, 0.0),
     "Invalid parameter: Invalid latitude 91: expected -90..90"),
])
def test_from_local_failures_in_check_order(args, text):
    raises(ValueError, text, Chart.from_local, *args)


def test_from_local_records_the_zone_and_the_converted_instant():
    c = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", *KTM)
    m = c.metadata()
    assert (m["input_mode"], m["timezone"]) == ("local_civil", "Asia/Kathmandu")
    assert m["utc_datetime"] == "1990-05-15T04:30:00+00:00"
    utc = Chart.from_utc(1990, 5, 15, 4, 30, 0, *KTM)
    assert c.ascendant() == utc.ascendant()


def test_from_julian_day():
    c = Chart.from_julian_day(2451545.0, *KTM)
    m = c.metadata()
    assert m["utc_datetime"] == "2000-01-01T12:00:00+00:00"
    assert (m["input_mode"], m["timezone"]) == ("julian_day_ut", "UTC")
    assert c.ascendant() == Chart.from_julian_day(jd_ut=2451545.0, latitude=27.7,
                                                  longitude=85.3).ascendant()
    for bad in (math.nan, math.inf, -math.inf, 1e300):
        raises(ValueError, "swe_revjul returned invalid date", Chart.from_julian_day, bad, *KTM)
    # The ayanamsa is parsed before anything else.
    with pytest.raises(ValueError, match="^Unknown ayanamsa 'x'"):
        Chart.from_julian_day(math.nan, 91.0, 0.0, 0.0, "x")


def test_settings_metadata_and_warnings():
    c = Chart.from_utc(2000, 1, 1, 12, 0, 0, *KTM, 1400.0, "custom:23.5", "whole_sign", False)
    s, m = c.settings(), c.metadata()
    assert list(s) == METADATA_KEYS
    assert s == m and s is not m
    assert s == {
        "input_mode": "utc", "utc_datetime": "2000-01-01T12:00:00+00:00", "timezone": "UTC",
        "latitude": 27.7, "longitude": 85.3, "altitude": 1400.0, "ayanamsa": "Custom(23.5)",
        "house_system": "WholeSign", "true_nodes": False, "ephemeris": "Swiss Ephemeris",
        "longitude_type": "sidereal", "calculation_version": "1.0.0",
    }
    s["ayanamsa"] = "changed"
    assert c.settings()["ayanamsa"] == "Custom(23.5)"
    w = c.warnings()
    assert w == WARNINGS
    w.clear()
    assert c.warnings() == WARNINGS
    assert Chart.compute(2000, 1, 1, 12, 0, 0, *KTM).metadata() == \
        Chart.from_utc(2000, 1, 1, 12, 0, 0, *KTM).metadata()


def test_defaults_equal_the_explicit_options():
    a = Chart.from_utc(2010, 6, 1, 3, 4, 5, *KTM)
    b = Chart.from_utc(2010, 6, 1, 3, 4, 5, *KTM, 0.0, "lahiri", "equal", True)
    assert a.settings() == b.settings()
    assert {k: v.longitude for k, v in a.planets().items()} == \
        {k: v.longitude for k, v in b.planets().items()}


def test_planet_positions():
    c = Chart.from_utc(2000, 1, 1, 12, 0, 0, *KTM)
    planets = c.planets()
    assert sorted(planets) == sorted(PLANETS)
    getters = ["planet", "longitude", "latitude", "speed", "is_retrograde", "is_exalted",
               "is_debilitated", "is_own_sign", "is_vargottama", "sign", "nakshatra",
               "nakshatra_index", "pada", "house", "divisional_signs", "is_moolatrikona",
               "shadbala"]
    assert [n for n in vars(zodiakit.PlanetPosition) if not n.startswith("__")] == getters
    sun = planets["Sun"]
    assert sun.planet == "Sun" and isinstance(sun.longitude, float)
    assert isinstance(sun.house, int) and isinstance(sun.is_retrograde, bool)
    assert repr(sun) == f"<PlanetPosition Sun: {sun.sign} at {sun.longitude:.2f}\u00b0>"
    assert planets["Rahu"].shadbala is None and planets["Ketu"].shadbala is None
    for p in (planets["Rahu"], planets["Ketu"]):
        assert not (p.is_exalted or p.is_debilitated or p.is_own_sign or p.is_moolatrikona)
    assert math.isclose((planets["Ketu"].longitude - planets["Rahu"].longitude) % 360, 180.0)
    with pytest.raises(AttributeError):
        sun.longitude = 1.0
    with pytest.raises(TypeError, match="No constructor defined for PlanetPosition"):
        zodiakit.PlanetPosition()


def test_houses_and_ascendant():
    c = Chart.from_utc(2000, 1, 1, 12, 0, 0, *KTM)
    houses = c.houses()
    assert [h["house"] for h in houses] == [float(i) for i in range(1, 13)]
    assert type(houses[0]["house"]) is float
    assert houses[0]["cusp"] == c.ascendant()
    for sys in ("placidus", "koch", "whole_sign"):
        assert Chart.from_utc(2000, 1, 1, 12, 0, 0, *KTM, 0.0, "lahiri", sys).ascendant() == \
            c.ascendant()


def test_placidus_near_the_pole_never_crashes():
    for lat in (66.6, 80.0, 89.9):
        try:
            Chart.from_utc(2000, 6, 21, 0, 0, 0, lat, 0.0, 0.0, "lahiri", "placidus")
        except ValueError as e:
            assert str(e) == ("Swiss Ephemeris calculation failed for planet Houses: "
                              "swe_houses_ex failed for house system Placidus")


NAKSHATRA_SPAN = 360.0 / 27.0


def house_of(lon, cusps):
    for i in range(12):
        a, b = cusps[i], cusps[(i + 1) % 12]
        if (a <= lon < b) if b > a else (lon >= a or lon < b):
            return i + 1
    return 1


@settings(max_examples=300, deadline=None)
@given(
    st.integers(1800, 2399), st.integers(1, 12), st.integers(1, 28), st.integers(0, 23),
    st.integers(0, 59), st.integers(0, 59), st.floats(-66, 66), st.floats(-180, 180),
    st.sampled_from(["equal", "placidus", "koch", "whole_sign"]),
)
def test_positions_agree_with_longitudes_and_cusps(y, mo, d, h, mi, s, lat, lon, system):
    c = Chart.from_utc(y, mo, d, h, mi, s, lat, lon, 0.0, "lahiri", system)
    cusps = [h["cusp"] for h in c.houses()]
    signs = ["Aries", "Taurus", "Gemini", "Cancer", "Leo", "Virgo", "Libra", "Scorpio",
             "Sagittarius", "Capricorn", "Aquarius", "Pisces"]
    planets = c.planets()
    for p in planets.values():
        assert 0.0 <= p.longitude < 360.0
        assert p.sign == signs[int(p.longitude // 30)]
        index = int(p.longitude // NAKSHATRA_SPAN) + 1
        assert p.nakshatra_index == index
        assert p.pada == int((p.longitude % NAKSHATRA_SPAN) // (NAKSHATRA_SPAN / 4)) + 1
        assert p.house == house_of(p.longitude, cusps)
    assert math.isclose((planets["Ketu"].longitude - planets["Rahu"].longitude) % 360, 180.0,
                        abs_tol=1e-9)


def test_compute_dignities():
    assert zodiakit.compute_dignities("SUN", "Leo", 10.0) == {
        "is_exalted": False, "is_debilitated": False, "is_own_sign": True,
        "is_moolatrikona": True}
    d = zodiakit.compute_dignities(planet_str="moon", sign_str="TAURUS", longitude=34.0)
    assert list(d) == ["is_exalted", "is_debilitated", "is_own_sign", "is_moolatrikona"]
    assert d["is_exalted"] and d["is_moolatrikona"]
    raises(ValueError, "Invalid planet", zodiakit.compute_dignities, "rahu", "leos", 1.0)
    raises(ValueError, "Invalid sign", zodiakit.compute_dignities, "sun", "leos", 1.0)
    with pytest.raises(TypeError, match="^argument 'longitude': "):
        zodiakit.compute_dignities("sun", "leo", "x")


ROW = (2000, 1, 1, 12, 0, 0, 27.7, 85.3, 0.0)


def test_batch_computes_in_order_with_defaults():
    assert zodiakit.compute_chart_batch([]) == []
    rows = [ROW, (1990, 5, 15, 4, 30, 0, 27.7, 85.3, 1400.0)]
    charts = zodiakit.compute_chart_batch(rows)
    assert [c.metadata()["utc_datetime"] for c in charts] == [
        "2000-01-01T12:00:00+00:00", "1990-05-15T04:30:00+00:00"]
    explicit = zodiakit.compute_chart_batch(tuple(rows), "lahiri", "equal", True)
    assert [c.ascendant() for c in charts] == [c.ascendant() for c in explicit]
    single = Chart.from_utc(*ROW)
    assert charts[0].settings() == single.settings()
    assert charts[0].ascendant() == single.ascendant()


def test_batch_refusals():
    with pytest.raises(TypeError) as info:
        zodiakit.compute_chart_batch("abc")
    assert str(info.value) == "argument 'inputs': Can't extract `str` to `Vec`"
    with pytest.raises(TypeError, match="^argument 'inputs': "):
        zodiakit.compute_chart_batch(5)
    for bad in ([ROW, ROW[:8]], [ROW, ROW + (1.0,)], [list(ROW)], [ROW[:6] + ("x",) + ROW[7:]]):
        with pytest.raises(TypeError, match="^argument 'inputs': "):
            zodiakit.compute_chart_batch(bad, "not-an-ayanamsa")  # conversion comes first
    raises(ValueError, "Unknown house_system 'x'. Valid options: equal, placidus, koch, "
           "whole_sign", zodiakit.compute_chart_batch, [ROW], "lahiri", "x")
    feb30 = (2001, 2, 30, 0, 0, 0, 0.0, 0.0, 0.0)
    raises(ValueError, "Invalid date/time", zodiakit.compute_chart_batch, [ROW, ROW, feb30])
    raises(ValueError, "Invalid date/time", zodiakit.compute_chart_batch,
           [(2000, 1, 1, 0, 0, 60, 0.0, 0.0, 0.0)])
    assert len(zodiakit.compute_chart_batch([(2000, 1, 1, 0, 0, 59, 0.0, 0.0, 0.0)])) == 1
    raises(ValueError, "Invalid parameter: Invalid latitude 91: expected -90..90",
           zodiakit.compute_chart_batch, [ROW, (2000, 1, 1, 0, 0, 0, 91.0, 0.0, 0.0)])
    with pytest.raises(OverflowError):
        zodiakit.compute_chart_batch([(2000, -1, 1, 0, 0, 0, 0.0, 0.0, 0.0)])


SWETEST = shutil.which("swetest")


def swetest_houses(y, mo, d, h, mi, s, lat, lon, letter):
    out = subprocess.run(
        [SWETEST, f"-b{d}.{mo}.{y}", f"-ut{h}:{mi:02d}:{s:02d}", "-sid1",
         f"-house{lon},{lat},{letter}", "-p", "-fPl", "-head"],
        check=True, capture_output=True, text=True).stdout
    values = {}
    for line in out.splitlines():
        name, _, value = line.rpartition(" ")
        values[" ".join(name.split())] = float(value)
    return values


@pytest.mark.skipif(SWETEST is None, reason="swetest is not installed")
@pytest.mark.parametrize("when, place, system, letter", [
    ((2000, 1, 1, 12, 0, 0), (27.7, 85.3), "equal", "E"),
    ((1990, 5, 15, 4, 30, 0), (51.5, -0.1), "placidus", "P"),
    ((2024, 3, 10, 7, 30, 0), (40.7, -74.0), "koch", "K"),
    ((1950, 11, 2, 23, 59, 59), (-33.9, 151.2), "whole_sign", "W"),
])
def test_ascendant_and_cusps_match_swetest(when, place, system, letter):
    """Reference: the Swiss Ephemeris command-line tool, which prints 7 decimals."""
    c = Chart.from_utc(*when, *place, 0.0, "lahiri", system)
    ref = swetest_houses(*when, *place, letter)
    worst = abs(c.ascendant() - swetest_houses(*when, *place, "E")["Ascendant"])
    for h in c.houses():
        worst = max(worst, abs(h["cusp"] - ref[f"house {int(h['house'])}"]))
    assert worst < 1e-6, f"worst cusp difference {worst} deg"


def test_objects_release_their_class():
    """Every instance holds a reference to its class; dropping it must give it back."""
    chart = Chart.from_utc(*ROW[:6], 27.7, 85.3)
    before = (sys.getrefcount(Chart), sys.getrefcount(zodiakit.PlanetPosition))
    for _ in range(200):
        Chart.from_utc(*ROW[:6], 27.7, 85.3).planets()
        chart.planets()
    assert (sys.getrefcount(Chart), sys.getrefcount(zodiakit.PlanetPosition)) == before
