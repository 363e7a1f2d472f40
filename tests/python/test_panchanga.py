"""The panchanga's Python surface: get_panchanga and the Panchanga class."""

import datetime as dt

import pytest
from hypothesis import given, settings
from hypothesis import strategies as st

from zodiakit import Panchanga, get_panchanga

KATHMANDU = (27.7172, 85.3240)
WARNING = "Panchanga end times are computed in UT; local times follow the provided IANA timezone."
TIME_KEYS = ["start_time_utc", "end_time_utc", "start_time_local", "end_time_local"]
KEYS = {
    "tithi": ["index", "name", "paksha", *TIME_KEYS],
    "nakshatra": ["index", "name", "pada", *TIME_KEYS],
    "yoga": ["index", "name", *TIME_KEYS],
    "karana": ["index", "name", *TIME_KEYS],
    "vara": ["index", "name"],
    "metadata": ["timezone", "mode", "local_datetime", "utc_datetime", "ayanamsa",
                 "true_nodes", "calculation_version"],
}
INT_KEYS = {"index", "pada"}
DEVANAGARI = range(0x0900, 0x0980)


def is_devanagari(text):
    return all(ord(c) in DEVANAGARI for c in text if not c.isspace())


def panchanga_at_new_moon(locale):
    # Five hours before the USNO new moon of 2024-01-11 11:57 UTC: Amavasya.
    return get_panchanga(2024, 1, 11, 7, 0, 0, *KATHMANDU, locale=locale)


@pytest.fixture(scope="module")
def kathmandu():
    return Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", *KATHMANDU)


def test_registered_signatures_and_docs():
    assert Panchanga.from_local.__text_signature__ == (
        '(date, time, timezone, latitude, longitude, altitude=0.0, ayanamsa="lahiri", '
        'true_nodes=True, mode="civil_day")')
    for method in ("to_dict", "metadata", "warnings"):
        assert getattr(Panchanga, method).__text_signature__ == "($self)"
    assert Panchanga.__doc__ is None
    assert Panchanga.__module__ == "zodiakit"
    with pytest.raises(TypeError):
        Panchanga()


def test_full_dictionary_shape_and_types():
    d = get_panchanga(2024, 1, 15, 6, 0, 0, *KATHMANDU)
    assert list(d) == ["tithi", "nakshatra", "yoga", "karana", "vara", "metadata", "warnings"]
    for element, keys in KEYS.items():
        assert list(d[element]) == keys, element
        for key, value in d[element].items():
            expected = int if key in INT_KEYS else bool if key == "true_nodes" else str
            assert type(value) is expected, (element, key)
    assert d["warnings"] == [WARNING]
    assert d["metadata"] == {
        "timezone": "UTC", "mode": "civil_day", "local_datetime": "2024-01-15T06:00:00",
        "utc_datetime": "2024-01-15T06:00:00+00:00", "ayanamsa": "Lahiri", "true_nodes": True,
        "calculation_version": "1.0.0"}
    assert d["vara"] == {"index": 1, "name": "Monday"}
    for element in ("tithi", "nakshatra", "yoga", "karana"):
        assert d[element]["start_time_local"].endswith("+00:00")
        assert d[element]["start_time_local"] == d[element]["start_time_utc"]


@pytest.mark.parametrize("instant", [(2024, 2, 30, 0, 0, 0), (2024, 1, 1, 0, 0, 60),
                                     (2024, 13, 1, 0, 0, 0), (2024, 1, 1, 24, 0, 0)])
def test_get_panchanga_rejects_impossible_instants(instant):
    with pytest.raises(ValueError, match="^Invalid date/time$"):
        get_panchanga(*instant, *KATHMANDU)


def test_get_panchanga_check_order():
    # Place first, then the ayanamsa, then the instant.
    with pytest.raises(ValueError, match=r"^Invalid parameter: Invalid latitude 91: expected"):
        get_panchanga(2024, 2, 30, 0, 0, 0, 91.0, 0.0, ayanamsa="nope")
    with pytest.raises(ValueError, match=r"^Unknown ayanamsa 'nope'"):
        get_panchanga(2024, 2, 30, 0, 0, 0, 0.0, 0.0, ayanamsa="nope")


def test_locales_replace_only_tithi_and_nakshatra_names():
    english = panchanga_at_new_moon("en")
    hindi = panchanga_at_new_moon("hi_IN")
    assert english["tithi"]["name"] == "Amavasya"
    assert hindi["tithi"]["name"] == "अमावस्या"
    assert is_devanagari(hindi["nakshatra"]["name"])
    assert hindi["nakshatra"]["name"] != english["nakshatra"]["name"]
    for d in (english, hindi):
        d["tithi"].pop("name")
        d["nakshatra"].pop("name")
    assert hindi == english  # paksha, yoga, karana, vara, metadata stay English
    assert panchanga_at_new_moon("ne_NP")["tithi"]["name"] == "औंसी"


@pytest.mark.parametrize("code", ["fr", "HI_IN", "hi", "", "ne_np"])
def test_unknown_locales_fall_back_to_english(code):
    assert panchanga_at_new_moon(code) == panchanga_at_new_moon("en")


def test_waning_tithi_uses_the_name_of_its_waxing_twin():
    # 2024-01-28: tithi 17 (Krishna Dwitiya) in the Hindi table's entry for Dwitiya.
    d = get_panchanga(2024, 1, 27, 12, 0, 0, *KATHMANDU, locale="hi_IN")
    assert (d["tithi"]["index"], d["tithi"]["paksha"], d["tithi"]["name"]) == (
        17, "Krishna", "द्वितीया")


def test_properties_match_to_dict_and_are_fresh_each_time(kathmandu):
    d = kathmandu.to_dict()
    for name in ("tithi", "nakshatra", "yoga", "karana", "vara"):
        first, second = getattr(kathmandu, name), getattr(kathmandu, name)
        assert first == second == d[name]
        assert first is not second
        first["index"] = 99
        assert getattr(kathmandu, name)["index"] != 99
        with pytest.raises(AttributeError):
            setattr(kathmandu, name, {})
    assert kathmandu.metadata() == d["metadata"]
    w = kathmandu.warnings()
    w.append("mine")
    assert kathmandu.warnings() == d["warnings"] == [WARNING]


def test_local_texts_carry_the_zone_offset(kathmandu):
    m = kathmandu.metadata()
    assert m["local_datetime"] == "2024-01-15T06:00:00"
    assert m["utc_datetime"] == "2024-01-15T00:15:00+00:00"
    assert m["timezone"] == "Asia/Kathmandu"
    tithi = kathmandu.tithi
    utc = dt.datetime.fromisoformat(tithi["end_time_utc"])
    local = dt.datetime.fromisoformat(tithi["end_time_local"])
    assert local.utcoffset() == dt.timedelta(hours=5, minutes=45)
    assert local == utc


def test_sunrise_day_and_civil_day():
    # 03:00 on Monday 2024-01-15 in Delhi is before sunrise: the Hindu day is still Sunday.
    args = ("2024-01-15", "03:00:00", "Asia/Kolkata", 28.6139, 77.2090)
    civil = Panchanga.from_local(*args)
    sunrise = Panchanga.from_local(*args, mode="SUNRISE_DAY")
    assert civil.vara == {"index": 1, "name": "Monday"}
    assert sunrise.vara == {"index": 0, "name": "Sunday"}
    assert sunrise.metadata()["mode"] == "sunrise_day"
    assert sunrise.tithi == civil.tithi


def test_polar_day_has_no_sunrise():
    args = ("2024-06-21", "12:00:00", "Arctic/Longyearbyen", 78.22, 15.65)
    with pytest.raises(ValueError, match=r"^Invalid parameter: Sun always up\?$"):
        Panchanga.from_local(*args, mode="sunrise_day")
    assert Panchanga.from_local(*args).vara["name"] == "Friday"


GOOD = dict(date="2024-01-15", time="06:00:00", timezone="Asia/Kolkata", latitude=28.6,
            longitude=77.2)


@pytest.mark.parametrize("changes, message", [
    (dict(latitude=91.0, date="15-01-2024"),
     "Invalid parameter: Invalid latitude 91: expected -90..90"),
    (dict(altitude=-501.0, date="x"),
     "Invalid parameter: Invalid altitude -501: expected -500..10000 meters"),
    (dict(date="15-01-2024", time="06:00"), "Invalid date; expected YYYY-MM-DD"),
    (dict(time="06:00", timezone="Nowhere"), "Invalid time; expected HH:MM:SS"),
    (dict(timezone="asia/kolkata", ayanamsa="nope"), "Unknown timezone: asia/kolkata"),
    (dict(date="2024-02-30"), "Invalid date; expected YYYY-MM-DD"),
    (dict(timezone="America/New_York", date="2024-11-03", time="01:30:00"),
     "Ambiguous local time in America/New_York. Provide UTC or an explicit DST fold policy."),
    (dict(timezone="America/New_York", date="2024-03-10", time="02:30:00"),
     "Invalid local time in America/New_York (DST gap)"),
    (dict(ayanamsa="nope", mode="weekly"), "Unknown ayanamsa 'nope'"),
    (dict(mode="Weekly"), "Unknown panchanga mode 'weekly'. Valid options: civil_day, sunrise_day"),
])
def test_from_local_messages_in_check_order(changes, message):
    with pytest.raises(ValueError) as caught:
        Panchanga.from_local(**{**GOOD, **changes})
    assert str(caught.value).startswith(message)
    if not message.startswith("Unknown ayanamsa"):
        assert str(caught.value) == message


@settings(max_examples=60, deadline=None)
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
        start = dt.datetime.fromisoformat(e["start_time_utc"])
        end = dt.datetime.fromisoformat(e["end_time_utc"])
        assert start <= now <= end, element
        # The slowest Moon (about 11.8 degrees a day) needs 27.1 hours for a nakshatra.
        assert end - start < dt.timedelta(hours=28), element
    assert d["tithi"]["paksha"] == ("Shukla" if d["tithi"]["index"] <= 15 else "Krishna")
    assert 1 <= d["nakshatra"]["pada"] <= 4
    # A tithi's first karana begins with it, its second ends with it.
    tithi, karana = d["tithi"], d["karana"]
    edge = "start_time_utc" if karana["index"] == 2 * tithi["index"] - 1 else "end_time_utc"
    assert karana["index"] in (2 * tithi["index"] - 1, 2 * tithi["index"])
    assert abs(dt.datetime.fromisoformat(karana[edge]) -
               dt.datetime.fromisoformat(tithi[edge])) <= dt.timedelta(seconds=1)
    assert d["vara"]["index"] == (now.weekday() + 1) % 7
