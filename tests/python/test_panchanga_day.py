"""The printed panchanga of a local day: sky times, day divisions, lunar calendar, the
calendar of a span and its tithi marks."""
import datetime as dt
import os
import subprocess
import time

import pytest

import zodiakit as zk

DELHI = (28.6139, 77.2090)
KATHMANDU = (27.7172, 85.3240)
TROMSO = (69.6492, 18.9553)
WEEKDAYS = ["Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"]

# Which eighth of the daytime each period takes on each weekday, as almanacs print them.
RAHU_KALAM = {"Sunday": 8, "Monday": 2, "Tuesday": 7, "Wednesday": 5, "Thursday": 6,
              "Friday": 4, "Saturday": 3}
YAMAGANDA = {"Sunday": 5, "Monday": 4, "Tuesday": 3, "Wednesday": 2, "Thursday": 1,
             "Friday": 7, "Saturday": 6}
GULIKA_KALAM = {"Sunday": 7, "Monday": 6, "Tuesday": 5, "Wednesday": 4, "Thursday": 3,
                "Friday": 2, "Saturday": 1}
# Dur muhurtas by weekday as muhurtas of the day (15 from sunrise), Tuesday's second being
# the 7th muhurta of the night.
DUR_MUHURTAS = {"Sunday": [14], "Monday": [9, 12], "Tuesday": [4, "night 7"],
                "Wednesday": [8], "Thursday": [6, 12], "Friday": [4, 9], "Saturday": [1, 2]}
# The divisions are computed from unrounded sunrise and sunset, then rounded.
ROUNDING = dt.timedelta(seconds=1)


def at(text):
    return dt.datetime.fromisoformat(text)


def part(start, end, k, n):
    """The k-th of n equal parts of [start, end]."""
    step = (end - start) / n
    return start + (k - 1) * step, start + k * step


def close(span, expected):
    return all(abs(at(t) - e) <= ROUNDING for t, e in zip((span["start"], span["end"]), expected))


def test_day_divisions_follow_the_weekday_tables():
    week = zk.get_panchanga_calendar("2025-03-02", "2025-03-08", "Asia/Kolkata", *DELHI)
    assert [d["vara"]["name"] for d in week] == WEEKDAYS
    for d in week:
        day, sky, div = d["vara"]["name"], d["sun_moon"], d["day_divisions"]
        rise, set_, next_rise = (at(sky[k]) for k in ("sunrise", "sunset", "next_sunrise"))
        assert close(div["rahu_kalam"], part(rise, set_, RAHU_KALAM[day], 8)), day
        assert close(div["yamaganda"], part(rise, set_, YAMAGANDA[day], 8)), day
        assert close(div["gulika_kalam"], part(rise, set_, GULIKA_KALAM[day], 8)), day
        assert close(div["abhijit_muhurta"], part(rise, set_, 8, 15)), day
        expected = [part(set_, next_rise, 7, 15) if m == "night 7" else part(rise, set_, m, 15)
                    for m in DUR_MUHURTAS[day]]
        assert len(div["dur_muhurtas"]) == len(expected), day
        assert all(close(s, e) for s, e in zip(div["dur_muhurtas"], expected)), day
        assert at(sky["sunset"]) - at(sky["sunrise"]) == _length(sky["day_length"])
        assert at(sky["next_sunrise"]) - at(sky["sunset"]) == _length(sky["night_length"])
        assert rise < at(sky["solar_noon"]) < set_


def _length(text):
    h, m, s = map(int, text.split(":"))
    return dt.timedelta(hours=h, minutes=m, seconds=s)


def test_reference_values_of_a_day_at_delhi():
    # 15 January 2024: Makara sankranti at Delhi, Pausha shukla paksha, Shaka 1945
    # (Shobhakrit), Vikram 2080, Hemanta, the Sun just past the winter turn.
    day = zk.get_panchanga_calendar("2024-01-15", "2024-01-15", "Asia/Kolkata", *DELHI)[0]
    lunar = day["lunar_calendar"]
    assert (lunar["masa_amanta"]["name"], lunar["masa_purnimanta"]["name"]) == ("Pausha",
                                                                               "Pausha")
    assert (lunar["samvatsara"], lunar["shaka_samvat"], lunar["vikram_samvat"]) == (
        {"index": 37, "name": "Shobhakrit"}, 1945, 2080)
    assert (lunar["ritu"]["name"], lunar["ayana"]["name"]) == ("Hemanta", "Uttarayana")
    assert day["tithi_day"]["sankranti"]["sign"] == {"index": 10, "name": "Makara"}
    assert day["sun_moon"]["sunrise"].startswith("2024-01-15T07:1")
    hindi = zk.get_panchanga_calendar("2024-01-15", "2024-01-15", "Asia/Kolkata", *DELHI,
                                      locale="hi_IN")[0]
    assert hindi["lunar_calendar"]["masa_amanta"]["name"] == "पौष"
    assert hindi["tithi_day"]["sankranti"]["sign"]["name"] == "मकर"


@pytest.mark.parametrize("sunrise", ["upper_limb", "disc_center"])
def test_a_calendar_year_is_365_single_days(sunrise):
    # 2026 holds an adhika month (Jyeshtha) and thirteen new moons: the span's shared work
    # must give each day exactly what a call for that date alone gives.
    year = zk.get_panchanga_calendar("2026-01-01", "2026-12-31", "Asia/Kathmandu", *KATHMANDU,
                                     sunrise=sunrise)
    first = dt.date(2026, 1, 1)
    assert [d["date"] for d in year] == [str(first + dt.timedelta(days=k)) for k in range(365)]
    for d in year:
        assert d == zk.get_panchanga_calendar(d["date"], d["date"], "Asia/Kathmandu",
                                              *KATHMANDU, sunrise=sunrise)[0], d["date"]
    assert any(d["lunar_calendar"]["masa_amanta"]["adhika"] for d in year)
    # The day's panchanga is that of its sunrise.
    for d in year[::7]:
        assert d["day_starts_at"] == "sunrise"
        p = zk.Panchanga.from_local(d["date"], d["sun_moon"]["sunrise"][11:19], "Asia/Kathmandu",
                                    *KATHMANDU, sunrise=sunrise)
        assert p.to_dict() == {k: v for k, v in d.items()
                               if k not in ("date", "day_starts_at", "tithi_day")}
        assert d["tithi_day"]["tithi_at_sunrise"] == d["tithi"]["index"]
    assert any(d["tithi_day"]["skipped_tithis"] for d in year)
    assert any(d["tithi_day"]["repeated_tithi"] for d in year)
    # A tithi skipped at one sunrise is not seen at the next; a repeated one was.
    for before, after in zip(year, year[1:]):
        skipped = before["tithi_day"]["skipped_tithis"]
        assert after["tithi"]["index"] == (before["tithi"]["index"] + len(skipped)
                                           + (0 if after["tithi_day"]["repeated_tithi"] else 1)
                                           - 1) % 30 + 1
    special = {"is_ekadashi": {11, 26}, "is_purnima": {15}, "is_amavasya": {30}}
    for d in year:
        seen = {d["tithi"]["index"], *d["tithi_day"]["skipped_tithis"]}
        for mark, tithis in special.items():
            assert d["tithi_day"][mark] == bool(seen & tithis), (d["date"], mark)


def test_polar_days_and_nights_have_no_sunrise_and_no_divisions():
    summer, winter = (zk.get_panchanga_calendar(date, date, "Europe/Oslo", *TROMSO)[0]
                      for date in ("2025-06-21", "2025-12-21"))
    for day in (summer, winter):
        assert day["sun_moon"]["sunrise"] is None and day["sun_moon"]["sunset"] is None
        assert day["sun_moon"]["day_length"] is None
        assert set(day["day_divisions"].values()) == {None}
        assert day["day_starts_at"] == "midnight"
        assert day["metadata"]["local_datetime"] == day["date"] + "T00:00:00"
    assert summer["sun_moon"]["solar_noon"] is not None
    # The instant functions give the same Nones at 78 degrees north.
    svalbard = zk.get_panchanga(2024, 6, 21, 12, 0, 0, 78.22, 15.65)
    assert svalbard["sun_moon"]["sunrise"] is None
    assert svalbard["day_divisions"]["rahu_kalam"] is None


def test_sunrise_conventions_differ_by_the_limb_and_refraction():
    upper, centre = (zk.get_panchanga(2025, 3, 20, 6, 0, 0, *DELHI, sunrise=s)["sun_moon"]
                     for s in ("upper_limb", "disc_center"))
    assert (upper["sunrise_convention"], centre["sunrise_convention"]) == ("upper_limb",
                                                                          "disc_center")
    # About 50' of altitude: some three and a half minutes at Delhi near the equinox.
    earlier = (at(centre["sunrise"]) - at(upper["sunrise"])).total_seconds()
    assert 150 < earlier < 300
    assert 150 < (at(upper["sunset"]) - at(centre["sunset"])).total_seconds() < 300
    assert upper["moonrise"] == centre["moonrise"]


def test_the_panchanga_object_shows_the_same_day():
    p = zk.Panchanga.from_local("2024-01-15", "10:00:00", "Asia/Kathmandu", 27.7, 85.3)
    d = p.to_dict()
    assert list(d)[7:] == ["sun_moon", "day_divisions", "lunar_calendar"]
    assert (p.sun_moon, p.day_divisions, p.lunar_calendar) == (
        d["sun_moon"], d["day_divisions"], d["lunar_calendar"])
    assert d["sun_moon"]["sunrise"].endswith("+05:45")


@pytest.mark.parametrize("call, message", [
    # The span's own refusals are the engine's tests' (test_panchanga_day_calendar.cpp).
    (lambda: zk.get_panchanga_calendar("yesterday", "2025-01-31", "UTC", 0, 0),
     "Invalid date; expected YYYY-MM-DD"),
    (lambda: zk.get_panchanga_calendar("2025-01-01", "2025-01-31", "UTC", 0, 0, sunrise="Hindu"),
     "Unknown sunrise convention 'hindu'. Valid options: upper_limb, disc_center"),
    (lambda: zk.get_panchanga(2025, 1, 1, 0, 0, 0, 0, 0, sunrise="x"),
     "Unknown sunrise convention 'x'. Valid options: upper_limb, disc_center"),
])
def test_refusals(call, message):
    with pytest.raises(ValueError) as error:
        call()
    assert str(error.value) == message


def test_a_calendar_on_threads_is_the_same_calendar():
    # Four months cut into three parts at Tromso, through the end of its nights and a clock
    # change; the parts' boundaries fall inside the span.
    span = ("2025-03-01", "2025-06-30", "Europe/Oslo", *TROMSO)
    assert zk.get_panchanga_calendar(*span, workers=3) == zk.get_panchanga_calendar(
        *span, workers=1)
    with pytest.raises(ValueError, match="workers must be a positive int or None"):
        zk.get_panchanga_calendar(*span, workers=0)


def test_a_long_calendar_stops_on_ctrl_c():
    # This thread waits in the call throughout, so another process sends the signal.
    started = time.monotonic()
    sender = subprocess.Popen(["sh", "-c", f"sleep 0.5; kill -INT {os.getpid()}"])
    try:
        with pytest.raises(KeyboardInterrupt):
            zk.get_panchanga_calendar("1950-01-01", "2049-12-31", "Asia/Kolkata", *DELHI)
        elapsed = time.monotonic() - started
    finally:
        sender.wait()
    assert elapsed < 3.0, f"interrupted after {elapsed:.2f} s"
