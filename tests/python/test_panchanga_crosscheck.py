"""The day panchanga against independent references, when they are installed.

skyfield with skyfield-data and drik-panchanga are test-only dependencies
(scripts/setup.sh installs them); each check is skipped when its package cannot be
imported. The sample is bounded so that the module stays under half a minute.

References
  skyfield 1.x with the JPL DE421 file of skyfield-data: the Sun's and the Moon's risings
  and settings and the Sun's meridian transit, found here by scanning each day every five
  minutes and bisecting the crossings. The definitions are the engine's, stated as
  physical conditions (not tuned to the engine):
    upper_limb   topocentric geometric altitude of the centre = -(R + s), R the refraction
                 at the horizon for 1013.25 hPa and 0 degrees C by Sinclair's formula (36.74'),
                 s the disc's apparent radius (Sun 696000 km, Moon 1738.15 km over the
                 topocentric distance). The Moon always rises by this definition.
    disc_center  topocentric geometric altitude of the Sun's centre = 0.
    solar noon   topocentric apparent hour angle of the Sun = 0.
  The common almanac convention (centre at -50', USNO; skyfield's find_risings) gives
  sunrises 12-15 s later than upper_limb at Delhi in 2025: it fixes R at 34' and s at 16'.
  drik-panchanga (module `panchanga`, Lahiri): the amanta and purnimanta month with the
  adhika flag and the samvatsara at Delhi, on a sample of days of 2023-2026.
"""

from __future__ import annotations

import importlib.util
from datetime import date, datetime, timedelta, timezone
from zoneinfo import ZoneInfo

import pytest

import zodiakit as zk

# skyfield-data warns that its Earth-orientation table is old; the risings here use the
# built-in timescale and do not read it.
pytestmark = pytest.mark.filterwarnings("ignore:The file finals2000A.all has expired")

PLACES = {
    "delhi": (28.6139, 77.2090, "Asia/Kolkata"),
    "chennai": (13.0827, 80.2707, "Asia/Kolkata"),
    "kathmandu": (27.7172, 85.3240, "Asia/Kathmandu"),
    "tromso": (69.6492, 18.9553, "Europe/Oslo"),
}
SKY_YEAR = 2025
DRIK_PLACE = "delhi"
DRIK_FIRST, DRIK_LAST = date(2023, 1, 1), date(2026, 12, 31)
DRIK_EVERY_DAYS = 23
# The sampled days of SKY_YEAR at every place: the 1st of each month, and at
# Tromso the first sunrise after the polar night, a sunset after midnight, the end of the
# midnight sun and the start of the polar night.
SKY_DAYS = [date(SKY_YEAR, m, d) for m in range(1, 13) for d in (1,)]
TROMSO_DAYS = [date(SKY_YEAR, 1, 15), date(SKY_YEAR, 5, 16), date(SKY_YEAR, 7, 22),
               date(SKY_YEAR, 11, 26)]

SUN_TOLERANCE_S = 2.0  # the engine prints whole seconds
MOON_TOLERANCE_S = 10.0

SUN_RADIUS_KM = 696000.0
MOON_RADIUS_KM = 1738.15
STEP_MINUTES = 5


def horizon_refraction_deg(pressure_hpa=1013.25, temperature_c=0.0):
    """Sinclair's refraction at apparent altitude 0, in degrees."""
    r = 34.46
    r = (pressure_hpa - 80.0) / 930.0 / (1.0 + 0.00008 * (r + 39.0) * (temperature_c - 10.0)) * r
    return r / 60.0


# ---------------------------------------------------------------- skyfield references


def civil_days(zone_name, first, last):
    """(date, start, end) of each local civil day, as aware UTC datetimes."""
    zone = ZoneInfo(zone_name)
    out, d = [], first
    while d <= last:
        start = datetime(d.year, d.month, d.day, tzinfo=zone).astimezone(timezone.utc)
        n = d + timedelta(days=1)
        end = datetime(n.year, n.month, n.day, tzinfo=zone).astimezone(timezone.utc)
        out.append((d, start, end))
        d = n
    return out


def crossings(ts, f, start, end, step_minutes=STEP_MINUTES, rounds=40):
    """Instants (unix seconds) where f goes up through 0 and down through 0 in [start, end]."""
    import numpy as np

    n = int((end - start).total_seconds() // (step_minutes * 60)) + 2
    seconds = start.timestamp() + np.arange(n) * step_minutes * 60.0
    values = f(ts, seconds)
    idx = np.nonzero(np.sign(values[:-1]) != np.sign(values[1:]))[0]
    lo, hi = seconds[idx], seconds[idx + 1]
    rising = values[idx] < 0
    for _ in range(rounds):
        mid = (lo + hi) / 2
        vm = f(ts, mid)
        below = vm < 0
        move_lo = below == rising
        lo = np.where(move_lo, mid, lo)
        hi = np.where(move_lo, hi, mid)
    t = (lo + hi) / 2
    return sorted(t[rising]), sorted(t[~rising])


def sky_functions(eph, lat, lon):
    from skyfield.api import wgs84

    earth, sun, moon = eph["earth"], eph["sun"], eph["moon"]
    observer = earth + wgs84.latlon(lat, lon, elevation_m=0.0)
    refraction = horizon_refraction_deg()

    def times(ts, seconds):
        import numpy as np

        # Unix seconds skip leap seconds: give skyfield whole days and the second of the day.
        days = np.floor(np.asarray(seconds) / 86400.0)
        return ts.utc(1970, 1, 1 + days, 0, 0, np.asarray(seconds) - days * 86400.0)

    def limb(body, radius_km, refracted):
        def f(ts, seconds):
            import numpy as np

            apparent = observer.at(times(ts, seconds)).observe(body).apparent()
            alt, _, distance = apparent.altaz()
            value = alt.degrees
            if refracted:
                value = value + np.degrees(np.arcsin(radius_km / distance.km)) + refraction
            return value

        return f

    def hour_angle(ts, seconds):
        import numpy as np

        ha, _, _ = observer.at(times(ts, seconds)).observe(sun).apparent().hadec()
        h = ha.hours
        # The jump at the lower transit (hour angle +-12) is no zero: keep it positive, so
        # that the only upward zero is the upper transit.
        return np.where(np.abs(h) > 6.0, 12.0, h)

    return {
        "sun_upper_limb": limb(sun, SUN_RADIUS_KM, True),
        "sun_disc_center": limb(sun, SUN_RADIUS_KM, False),
        "moon": limb(moon, MOON_RADIUS_KM, True),
        "noon": hour_angle,
    }


def first_in(events, start, end):
    for t in events:
        if start <= t < end:
            return t
    return None


def sky_references(place, days):
    """Per sampled day: the sunrises, sunsets and next sunrises of both conventions, the
    first moonrise and moonset, and the solar noon, as unix seconds (None: no event)."""
    import skyfield_data
    from skyfield.api import Loader

    lat, lon, zone = PLACES[place]
    load = Loader(skyfield_data.get_skyfield_data_path(), verbose=False)
    ts, eph = load.timescale(builtin=True), load("de421.bsp")
    fs = sky_functions(eph, lat, lon)
    out = {}
    for d in days:
        (_, start, end), (_, _, end2) = civil_days(zone, d, d + timedelta(days=1))
        lo, hi = start - timedelta(hours=2), end2 + timedelta(hours=2)
        events = {name: crossings(ts, f, lo, hi) for name, f in fs.items()}
        s0, s1, s2 = start.timestamp(), end.timestamp(), end2.timestamp()
        row = {}
        for convention in ("upper_limb", "disc_center"):
            rises, sets = events["sun_" + convention]
            rise = first_in(rises, s0, s1)
            row[convention] = {
                "sunrise": rise,
                "sunset": first_in(sets, rise, s2) if rise is not None else first_in(sets, s0, s1),
                "next_sunrise": first_in(rises, s1, s2),
            }
        row["moonrise"] = first_in(events["moon"][0], s0, s1)
        row["moonset"] = first_in(events["moon"][1], s0, s1)
        row["solar_noon"] = first_in(events["noon"][0], s0, s1)
        out[d] = row
    return out


# ---------------------------------------------------------------- drik-panchanga references


def drik_references():
    import panchanga
    from datetime_helper import Date, gregorian_to_jd

    panchanga.set_coordinate_selection("lahiri")
    lat, lon, _ = PLACES[DRIK_PLACE]
    place = panchanga.Place(lat, lon, 5.5)
    out, d = [], DRIK_FIRST
    while d <= DRIK_LAST:
        jd = gregorian_to_jd(Date(d.year, d.month, d.day))
        amanta = panchanga.masa(jd, place, amanta=True)
        purnimanta = panchanga.masa(jd, place, amanta=False)
        out.append({
            "date": d,
            "amanta": [amanta[0], bool(amanta[1])],
            "purnimanta": [purnimanta[0], bool(purnimanta[1])],
            "samvatsara": panchanga.samvatsara(jd, amanta[0]),
        })
        d += timedelta(days=DRIK_EVERY_DAYS)
    return out
# ---------------------------------------------------------------- the checks


def unix(text):
    return None if text is None else datetime.fromisoformat(text).timestamp()


def needs(*modules):
    missing = [m for m in modules if importlib.util.find_spec(m) is None]
    return pytest.mark.skipif(bool(missing), reason=f"needs {', '.join(missing)}")


def engine_day(place, day, convention):
    lat, lon, zone = PLACES[place]
    text = day.isoformat()
    return zk.get_panchanga_calendar(text, text, zone, lat, lon, sunrise=convention)[0]


class Worst:
    """The worst gap of each kind of time, and every day where one side has no event."""

    def __init__(self):
        self.gaps, self.mismatches = {}, []

    def add(self, what, engine, reference, where):
        if (engine is None) != (reference is None):
            self.mismatches.append(f"{what} at {where}: engine {engine}, reference {reference}")
        elif engine is not None:
            self.gaps[what] = max(self.gaps.get(what, (0.0, "")), (abs(engine - reference), where))


@needs("skyfield", "skyfield_data", "numpy")
def test_sun_and_moon_times_agree_with_skyfield(report):
    worst = Worst()
    for place in PLACES:
        days = SKY_DAYS + (TROMSO_DAYS if place == "tromso" else [])
        references = sky_references(place, days)
        for convention in ("upper_limb", "disc_center"):
            for d in days:
                sky, ref = engine_day(place, d, convention)["sun_moon"], references[d]
                where = f"{place} {d} {convention}"
                for key in ("sunrise", "sunset", "next_sunrise"):
                    worst.add("sun " + convention, unix(sky[key]), ref[convention][key], where)
                if convention == "upper_limb":
                    for key in ("moonrise", "moonset"):
                        worst.add("moon", unix(sky[key]), ref[key], where)
                    worst.add("solar noon", unix(sky["solar_noon"]), ref["solar_noon"], where)
    limits = {"sun upper_limb": SUN_TOLERANCE_S, "sun disc_center": SUN_TOLERANCE_S,
              "moon": MOON_TOLERANCE_S, "solar noon": SUN_TOLERANCE_S}
    for what, limit in limits.items():
        report(f"{what} vs skyfield DE421", worst.gaps[what][0], "s", limit)
    assert worst.mismatches == []
    for what, limit in limits.items():
        gap, where = worst.gaps[what]
        assert gap <= limit, f"{what}: {gap:.2f} s at {where}, limit {limit} s"


@needs("panchanga", "datetime_helper")
def test_months_and_years_agree_with_drik_panchanga(report):
    disagreements = []
    references = drik_references()
    for ref in references:
        lunar = engine_day(DRIK_PLACE, ref["date"], "disc_center")["lunar_calendar"]
        engine = {
            "amanta": [lunar["masa_amanta"]["index"], lunar["masa_amanta"]["adhika"]],
            "purnimanta": [lunar["masa_purnimanta"]["index"], lunar["masa_purnimanta"]["adhika"]],
            "samvatsara": lunar["samvatsara"]["index"],
        }
        disagreements += [f"{ref['date']} {k}: engine {engine[k]}, drik {ref[k]}"
                          for k in engine if engine[k] != ref[k]]
    report("days whose month or year differs from drik-panchanga", len(disagreements), "days", 0)
    assert disagreements == [], disagreements[:5]
