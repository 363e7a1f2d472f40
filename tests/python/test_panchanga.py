"""The panchanga's Python surface: get_panchanga and the Panchanga class."""

import datetime as dt
import re
import shutil
import subprocess
import zoneinfo

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

from zodiakit import Panchanga, get_panchanga

KATHMANDU = (27.7172, 85.3240)
WARNING = "Panchanga end times are computed in UT; local times follow the provided IANA timezone."
# The slowest Moon (about 11.8 degrees a day) needs 27.1 hours for a nakshatra.
LONGEST_ELEMENT = dt.timedelta(hours=28)
# Times are given to the second; a karana and its tithi share an edge to within one.
SHARED_EDGE = dt.timedelta(seconds=1)
# From swetest's sunrise (printed to 0.1 s) to the first whole second of the new weekday:
# up to 1 s when the two sunrises agree.
SUNRISE_AGREEMENT = dt.timedelta(seconds=2)


def test_dictionary_and_properties():
    # The keys and their order are the stub's (test_packaging.py), the values the goldens'.
    d = get_panchanga(2024, 1, 15, 6, 0, 0, *KATHMANDU)
    assert d["vara"] == {"index": 1, "name": "Monday"} and d["warnings"] == [WARNING]
    p = Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", *KATHMANDU)
    assert p.metadata()["utc_datetime"] == "2024-01-15T00:15:00+00:00"
    assert p.tithi == p.to_dict()["tithi"] and p.tithi["end_time_local"].endswith("+05:45")


def at_new_moon(locale):
    # Five hours before the USNO new moon of 2024-01-11 11:57 UTC: Amavasya.
    return get_panchanga(2024, 1, 11, 7, 0, 0, *KATHMANDU, locale=locale)


def test_locales_replace_only_tithi_and_nakshatra_names():
    english, hindi = at_new_moon("en"), at_new_moon("hi_IN")
    assert (english["tithi"]["name"], hindi["tithi"]["name"]) == ("Amavasya", "अमावस्या")
    assert all(0x0900 <= ord(c) < 0x0980 for c in hindi["nakshatra"]["name"].replace(" ", ""))
    for d in (english, hindi):
        del d["tithi"]["name"], d["nakshatra"]["name"]
        del d["lunar_calendar"]  # its names follow the locale too (test_panchanga_day.py)
    assert hindi == english  # paksha, yoga, karana, vara, metadata stay English
    assert at_new_moon("ne_NP")["tithi"]["name"] == "औंसी"
    for code in ("fr", "HI_IN", "hi", ""):
        assert at_new_moon(code) == at_new_moon("en"), code


def test_sunrise_day_and_polar_day():
    # 03:00 on Monday 2024-01-15 in Delhi is before sunrise: the Hindu day is still Sunday.
    args = ("2024-01-15", "03:00:00", "Asia/Kolkata", 28.6139, 77.2090)
    civil, sunrise = (Panchanga.from_local(*args, mode=m) for m in ("civil_day", "SUNRISE_DAY"))
    assert (civil.vara["name"], sunrise.vara) == ("Monday", {"index": 0, "name": "Sunday"})
    assert sunrise.metadata()["mode"] == "sunrise_day" and sunrise.tithi == civil.tithi
    # Without a sunrise only the civil day has a weekday (the sunrise day's refusal is golden).
    polar = ("2024-06-21", "12:00:00", "Arctic/Longyearbyen", 78.22, 15.65)
    assert Panchanga.from_local(*polar).vara["name"] == "Friday"


DELHI = ("Asia/Kolkata", 28.6139, 77.2090)
TROMSO = ("Europe/Oslo", 69.65, 18.96)


def sunrise_weekday(when, place):
    """The weekday in sunrise_day mode, None where no sunrise precedes (after polar night)."""
    zone, lat, lon = place
    local = when.astimezone(zoneinfo.ZoneInfo(zone))
    try:
        return Panchanga.from_local(local.strftime("%Y-%m-%d"), local.strftime("%H:%M:%S"), zone,
                                    lat, lon, mode="sunrise_day").vara["name"]
    except ValueError as error:
        assert str(error) == "Invalid parameter: Sun always up?"
        return None


def swetest_sunrises(year, lat, lon):
    """UT sunrises of a year by swetest: upper limb, refraction at 1013.25 hPa and 0 degC."""
    out = subprocess.run([shutil.which("swetest"), f"-b1.1.{year}", "-rise", "-n366",
                          f"-geopos{lon},{lat},0", "-at1013.25,0", "-ut"],
                         check=True, capture_output=True, text=True).stdout
    for d, mo, y, h, mi, s in re.findall(
            r"^rise\s+(\d+)\.(\d+)\.(\d+)\s+(\d+):(\d+):([\d.]+)", out, re.M):
        if int(y) == year:
            yield dt.datetime(int(y), int(mo), int(d), int(h), int(mi),
                              tzinfo=dt.timezone.utc) + dt.timedelta(seconds=float(s))


def first_second_of(weekday, rise, place):
    """The first whole second from which sunrise_day mode gives `weekday`, searched outward
    from the second after `rise`; None when it does not switch within SUNRISE_AGREEMENT."""
    step, reach = dt.timedelta(seconds=1), SUNRISE_AGREEMENT + dt.timedelta(seconds=1)
    t = rise.replace(microsecond=0) + step
    if sunrise_weekday(t, place) == weekday:
        while sunrise_weekday(t - step, place) == weekday:
            t -= step
            if rise - t > reach:
                return None
    else:
        while sunrise_weekday(t, place) != weekday:
            t += step
            if t - rise > reach:
                return None
    return t


@pytest.mark.skipif(shutil.which("swetest") is None, reason="swetest is not installed")
@pytest.mark.parametrize("town", ["Delhi", "Tromso"])
def test_weekday_switches_at_every_sunrise_of_a_year(town, report):
    # Among them sunrises earlier by the clock than the day before's, and in Tromso the first
    # sunrise after the polar night, before which sunrise_day mode refuses the instant.
    place = {"Delhi": DELHI, "Tromso": TROMSO}[town]
    rises = list(swetest_sunrises(2025, place[1], place[2]))
    assert len(rises) > 200  # Tromso has polar night and midnight sun
    worst, late = dt.timedelta(0), []
    for rise in rises:
        weekday = rise.astimezone(zoneinfo.ZoneInfo(place[0])).strftime("%A")
        switch = first_second_of(weekday, rise, place)
        error = abs(switch - rise) if switch else dt.timedelta.max
        worst = max(worst, error)
        if error > SUNRISE_AGREEMENT:
            late.append(rise.isoformat())
    report(f"weekday switch vs swetest sunrises, {town} 2025", worst.total_seconds(), "s",
           SUNRISE_AGREEMENT.total_seconds())
    assert late == [], f"{len(late)} of {len(rises)} days switch more than " \
        f"{SUNRISE_AGREEMENT.total_seconds():g} s from sunrise (first {late[:3]})"


def test_messages_in_check_order():
    good = dict(date="2024-01-15", time="06:00:00", timezone="Asia/Kolkata", latitude=28.6,
                longitude=77.2)
    for changes, message in [
        (dict(latitude=91.0, date="15-01-2024"),
         "Invalid parameter: Invalid latitude 91: expected -90..90"),
        (dict(date="15-01-2024", time="06:00"), "Invalid date; expected YYYY-MM-DD"),
        (dict(timezone="asia/kolkata", ayanamsa="nope"), "Unknown timezone: asia/kolkata"),
        (dict(ayanamsa="nope", mode="weekly"), "Unknown ayanamsa 'nope'"),
        (dict(mode="Weekly"),
         "Unknown panchanga mode 'weekly'. Valid options: civil_day, sunrise_day"),
    ]:
        with pytest.raises(ValueError) as caught:
            Panchanga.from_local(**{**good, **changes})
        assert str(caught.value).startswith(message)
        assert "ayanamsa" in message or str(caught.value) == message
    for instant in [(2024, 2, 30, 0, 0, 0), (2024, 1, 1, 24, 0, 0)]:
        with pytest.raises(ValueError, match="^Invalid date/time$"):
            get_panchanga(*instant, *KATHMANDU)


@settings(max_examples=100, deadline=None)
@given(st.datetimes(min_value=dt.datetime(1850, 1, 1), max_value=dt.datetime(2150, 12, 31)),
       st.floats(-66, 66), st.floats(-180, 180),
       st.sampled_from(["lahiri", "raman", "true_chitra", "custom:23.5"]))
def test_every_element_brackets_its_instant(when, lat, lon, ayanamsa):
    d = get_panchanga(when.year, when.month, when.day, when.hour, when.minute, when.second,
                      lat, lon, ayanamsa=ayanamsa)
    now = when.replace(tzinfo=dt.timezone.utc)
    for element, count in (("tithi", 30), ("nakshatra", 27), ("yoga", 27), ("karana", 60)):
        e = d[element]
        assert 1 <= e["index"] <= count
        start, end = (dt.datetime.fromisoformat(e[k]) for k in ("start_time_utc", "end_time_utc"))
        assert start <= now <= end and end - start < LONGEST_ELEMENT, element
    assert d["tithi"]["paksha"] == ("Shukla" if d["tithi"]["index"] <= 15 else "Krishna")
    assert 1 <= d["nakshatra"]["pada"] <= 4
    # A tithi's first karana begins with it, its second ends with it.
    tithi, karana = d["tithi"], d["karana"]
    assert karana["index"] in (2 * tithi["index"] - 1, 2 * tithi["index"])
    edge = "start_time_utc" if karana["index"] % 2 else "end_time_utc"
    assert abs(dt.datetime.fromisoformat(karana[edge]) -
               dt.datetime.fromisoformat(tithi[edge])) <= SHARED_EDGE
    assert d["vara"]["index"] == (now.weekday() + 1) % 7
