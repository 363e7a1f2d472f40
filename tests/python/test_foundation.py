"""Option parsing, local time and single-planet longitudes, checked from Python."""

import datetime as dt
import math
import shutil
import subprocess
import sys
import zoneinfo

import pytest
from hypothesis import given, settings, strategies as st

import zodiakit

J2000 = 2451545.0
PLANETS = ["sun", "moon", "mars", "mercury", "jupiter", "venus", "saturn", "rahu", "ketu"]
UNKNOWN_AYANAMSA = (
    "Unknown ayanamsa '{}'. Valid options: lahiri, raman, kp, true_chitra, true_pushya, "
    "custom:<offset>"
)
CUSTOM_FORMAT = "Invalid custom ayanamsa format. Use 'custom:23.5'"
AMBIGUOUS = "Ambiguous local time in {}. Provide UTC or an explicit DST fold policy."
GAP = "Invalid local time in {} (DST gap)"


# A capital sigma always lower-cases to the medial form, so it is left out here.
@settings(max_examples=300)
@given(st.text(st.characters(blacklist_characters="\u03a3"), max_size=12))
def test_rejected_option_texts_are_quoted_lower_cased(text):
    try:
        zodiakit.calc_planet_longitude(J2000, "sun", text)
    except UnicodeEncodeError:
        pass  # lone surrogates cannot become UTF-8; the codec's error propagates
    except ValueError as error:
        message = str(error)
        if message.startswith("Swiss Ephemeris calculation failed"):
            assert text.lower().startswith("custom:")  # "custom:nan" parses, then fails
        else:
            assert message in (CUSTOM_FORMAT, UNKNOWN_AYANAMSA.format(text.lower()))


SWETEST = shutil.which("swetest")
SWETEST_NAMES = {"Sun": "sun", "Moon": "moon", "Mercury": "mercury", "Venus": "venus",
                 "Mars": "mars", "Jupiter": "jupiter", "Saturn": "saturn", "true Node": "rahu"}
# Twenty instants spread over 1900-2100, at assorted times of day.
REFERENCE_DAYS = [2415020.5 + i * (2488069.5 - 2415020.5) / 19 + (i % 5) * 0.173 for i in range(20)]


@pytest.mark.skipif(SWETEST is None, reason="swetest is not installed")
def test_longitudes_match_the_library_tool():
    for jd in REFERENCE_DAYS:
        out = subprocess.run(
            [SWETEST, f"-bj{jd!r}", "-ut", "-p0123456t", "-sid1", "-fPl", "-head"],
            capture_output=True, text=True, check=True, timeout=60).stdout
        expected = {SWETEST_NAMES[line.rsplit(None, 1)[0].strip()]: float(line.rsplit(None, 1)[1])
                    for line in out.splitlines()}
        expected["ketu"] = (expected["rahu"] + 180.0) % 360.0
        assert set(expected) == set(PLANETS)
        for planet in PLANETS:
            got = zodiakit.calc_planet_longitude(jd, planet)
            assert abs((got - expected[planet] + 180) % 360 - 180) <= 1e-6, (planet, jd, got)


def test_planet_names_ketu_and_lahiri():
    rahu = zodiakit.calc_planet_longitude(J2000, "rahu")
    assert zodiakit.calc_planet_longitude(J2000, "KETU") == math.fmod(rahu + 180.0, 360.0)
    for name in ["pluto", "", " sun", "ketu\0"]:
        with pytest.raises(ValueError, match="^Invalid planet name$"):
            zodiakit.calc_planet_longitude(J2000, name, "nonsense")  # planet checked first
    # The Lahiri ayanamsa at J2000.0 is 23 deg 51' (23.85 deg).
    tropical = zodiakit.calc_planet_longitude(J2000, "sun", "custom:0")
    assert abs(tropical - zodiakit.calc_planet_longitude(J2000, "sun") - 23.85) <= 0.01
    # A call with another ayanamsa in between must not leave its mode behind.
    before = zodiakit.calc_planet_longitude(J2000, "moon")
    assert zodiakit.calc_planet_longitude(J2000, "moon", "raman") != before
    assert zodiakit.calc_planet_longitude(J2000, "moon") == before


@pytest.mark.parametrize("jd, text", [("nan", "NaN returned"),
                                      ("-1e300", "Julian day -1e300 is outside the ephemeris")])
def test_a_bad_first_day_leaves_the_ephemeris_usable(jd, text):
    """The library's file state breaks for good if such a day reaches it; a fresh process."""
    code = (f"import zodiakit\ntry:\n    zodiakit.calc_planet_longitude(float('{jd}'), 'mars')\n"
            f"except ValueError as e:\n    print(e)\n"
            f"print(zodiakit.calc_planet_longitude({J2000}, 'sun'))")
    out = subprocess.run([sys.executable, "-c", code], capture_output=True, text=True,
                         check=True).stdout.splitlines()
    assert out[0] == "Swiss Ephemeris calculation failed for planet Mars: " + text
    assert abs(float(out[1]) - 256.5156962) < 1e-6


@settings(max_examples=150, deadline=None)
@given(
    jd=st.floats(min_value=2378496.5, max_value=2597641.5),  # the installed ephemeris files
    planet=st.sampled_from(PLANETS),
    ayanamsa=st.sampled_from(["lahiri", "raman", "kp", "true_chitra", "true_pushya",
                              "custom:-400", "custom:359.99"]),
)
def test_longitudes_are_normalised(jd, planet, ayanamsa):
    lon = zodiakit.calc_planet_longitude(jd, planet, ayanamsa)
    assert type(lon) is float and 0.0 <= lon < 360.0


@pytest.mark.parametrize(
    "args, expected",
    [
        ((2000, 1, 1, 5, 45, 0, "Asia/Kathmandu"), "2000-01-01T00:00:00+00:00"),
        ((2023, 2, 29, 24, 0, 0, "Mars/Base"), "Unknown timezone: Mars/Base"),  # zone first
    ],
)
def test_local_to_utc(args, expected):
    if expected[0].isdigit():
        assert zodiakit.local_to_utc(*args) == expected
    else:
        with pytest.raises(ValueError) as info:
            zodiakit.local_to_utc(*args)
        assert str(info.value) == expected


@settings(max_examples=200)
@given(st.datetimes(min_value=dt.datetime(1, 1, 1), max_value=dt.datetime(9999, 12, 31)))
def test_utc_zone_is_the_identity(moment):
    moment = moment.replace(microsecond=0)
    got = zodiakit.local_to_utc(moment.year, moment.month, moment.day, moment.hour,
                                moment.minute, moment.second, "UTC")
    assert got == moment.isoformat() + "+00:00"


def reading_of(naive, zone):
    """What Python's own zone support says about a local reading: its UTC text or an error."""
    instants = set()
    for fold in (0, 1):
        utc = naive.replace(tzinfo=zone, fold=fold).astimezone(dt.timezone.utc)
        if utc.astimezone(zone).replace(tzinfo=None) == naive:
            instants.add(utc)
    if len(instants) != 1:
        return (GAP if not instants else AMBIGUOUS).format(zone.key)
    return instants.pop().replace(tzinfo=None).isoformat() + "+00:00"


@pytest.mark.parametrize("zone_name", ["America/New_York", "Europe/Dublin", "Australia/Lord_Howe",
                                       "Asia/Kathmandu", "Pacific/Apia", "Africa/Casablanca"])
def test_readings_around_every_transition_agree_with_zoneinfo(zone_name):
    zone = zoneinfo.ZoneInfo(zone_name)
    offset = lambda t: t.astimezone(zone).utcoffset()  # noqa: E731
    t = dt.datetime(1970, 1, 1, tzinfo=dt.timezone.utc)
    checked = 0
    while t.year < 2031:
        lo, hi = t, t + dt.timedelta(days=1)
        t = hi
        if offset(lo) == offset(hi):
            continue
        while hi - lo > dt.timedelta(minutes=1):  # bisect to the transition minute
            mid = lo + (hi - lo) / 2
            lo, hi = (mid, hi) if offset(mid) == offset(lo) else (lo, mid)
        local = hi.astimezone(zone).replace(tzinfo=None, second=0, microsecond=0)
        for minutes in range(-120, 121, 15):
            naive = local + dt.timedelta(minutes=minutes)
            expected = reading_of(naive, zone)
            try:
                got = zodiakit.local_to_utc(naive.year, naive.month, naive.day, naive.hour,
                                            naive.minute, naive.second, zone_name)
            except ValueError as error:
                got = str(error)
            assert got == expected, naive
            checked += 1
    assert checked > 0
