"""Cross-checks of the day panchanga against independent references.

Not collected by pytest (the name does not start with test_): it needs skyfield,
skyfield-data and drik-panchanga, which are test-only dependencies installed in an
environment of their own, never in the project's .venv:

    python -m venv /tmp/xcheck && /tmp/xcheck/bin/pip install skyfield skyfield-data drik-panchanga

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
  drik-panchanga (module `panchanga`, Lahiri): the Hindu sunrise (disc centre, no
  refraction), the tithi at sunrise with a skipped tithi, the amanta and purnimanta month
  with the adhika flag, the samvatsara and the ritu, for every day of 2023-2026 at Delhi.
  Its documented definitions match the engine's; where they differ the comparison says so.

Usage
  crosscheck_panchanga_day.py references OUT.json      compute the reference values
  crosscheck_panchanga_day.py compare REF.json DAYS.jsonl...
                                                        compare engine days with them
  crosscheck_panchanga_day.py cpp REF.json              print the rows of the C++ tables

Engine days are JSON objects, one a line, one per place, date and sunrise convention:
  place, convention, date ("2025-01-01"), sunrise, sunset, moonrise, moonset, solar_noon,
  next_sunrise (local RFC 3339 texts or null), tithi_at_sunrise, skipped_tithis,
  amanta and purnimanta ([index, adhika]), samvatsara, ritu (1-based).
`engine_days` below builds them from the module once its calendar is exposed.
"""

from __future__ import annotations

import json
import math
import os
import sys
from datetime import date, datetime, timedelta, timezone
from zoneinfo import ZoneInfo

PLACES = {
    "delhi": (28.6139, 77.2090, "Asia/Kolkata"),
    "chennai": (13.0827, 80.2707, "Asia/Kolkata"),
    "kathmandu": (27.7172, 85.3240, "Asia/Kathmandu"),
    "tromso": (69.6492, 18.9553, "Europe/Oslo"),
}
SKY_YEAR = 2025
DRIK_PLACE = "delhi"
DRIK_FIRST, DRIK_LAST = date(2023, 1, 1), date(2026, 12, 31)

SUN_TOLERANCE_S = 2.0
MOON_TOLERANCE_S = 10.0
# drik-panchanga's sunrise is the geocentric Sun's centre (the library's Hindu rising,
# which ignores the solar parallax); the engine's disc_center sunrise is topocentric, as
# its definition says, and comes some 0.2-0.8 s later at Delhi. The engine's times are
# also rounded to the second here: 1 s plus that half second.
DRIK_SUNRISE_TOLERANCE_S = 1.5

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


def sky_references(place):
    import skyfield_data
    from skyfield.api import Loader

    lat, lon, zone = PLACES[place]
    load = Loader(skyfield_data.get_skyfield_data_path(), verbose=False)
    ts, eph = load.timescale(builtin=True), load("de421.bsp")
    days = civil_days(zone, date(SKY_YEAR, 1, 1), date(SKY_YEAR + 1, 1, 2))
    lo, hi = days[0][1] - timedelta(hours=2), days[-1][2] + timedelta(hours=2)
    fs = sky_functions(eph, lat, lon)
    events = {name: crossings(ts, f, lo, hi) for name, f in fs.items() if name != "noon"}
    noon_up, _ = crossings(ts, fs["noon"], lo, hi)
    out = []
    for i, (d, start, end) in enumerate(days[:-2]):
        s0, s1, s2 = start.timestamp(), end.timestamp(), days[i + 1][2].timestamp()
        row = {"date": d.isoformat()}
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
        row["solar_noon"] = first_in(noon_up, s0, s1)
        out.append(row)
    return out


# ---------------------------------------------------------------- drik-panchanga references


def drik_references():
    os.environ.setdefault("SE_EPHE_PATH", "/usr/share/libswe/ephe")
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
        tithi = panchanga.tithi(jd, place)
        out.append(
            {
                "date": d.isoformat(),
                "sunrise": (panchanga.sunrise(jd, place) - 2440587.5) * 86400.0,
                "tithi": tithi[0],
                "skipped": tithi[2] if len(tithi) > 2 else None,
                "amanta": [amanta[0], bool(amanta[1])],
                "purnimanta": [purnimanta[0], bool(purnimanta[1])],
                "samvatsara": panchanga.samvatsara(jd, amanta[0]),
                "ritu": panchanga.ritu(amanta[0]) + 1,
            }
        )
        d += timedelta(days=1)
    return out


# ---------------------------------------------------------------- the engine's days


def engine_days(place, first, last, convention):
    """The engine's days through the module. Adjust to the calendar's final Python name."""
    import zodiakit

    lat, lon, zone = PLACES[place]
    days = zodiakit.get_panchanga_calendar(
        first.isoformat(), last.isoformat(), zone, lat, lon, sunrise=convention
    )
    for d in days:
        sky, lunar, marks = d["sky"], d["lunar"], d["tithi_day"]
        yield {
            "place": place,
            "convention": convention,
            "date": d["date"],
            **{k: sky[k] for k in ("sunrise", "sunset", "moonrise", "moonset", "solar_noon",
                                   "next_sunrise")},
            "tithi_at_sunrise": marks["tithi_at_sunrise"],
            "skipped_tithis": marks["skipped_tithis"],
            "amanta": [lunar["amanta"]["index"], lunar["amanta"]["adhika"]],
            "purnimanta": [lunar["purnimanta"]["index"], lunar["purnimanta"]["adhika"]],
            "samvatsara": lunar["samvatsara"]["index"],
            "ritu": lunar["ritu"]["index"],
        }


# ---------------------------------------------------------------- comparison


def unix(text):
    return None if text is None else datetime.fromisoformat(text).timestamp()


class Worst:
    def __init__(self):
        self.errors = {}

    def add(self, what, engine, reference, where):
        if (engine is None) != (reference is None):
            self.errors.setdefault(what + " (present in one only)", []).append((math.inf, where))
            return
        if engine is not None:
            self.errors.setdefault(what, []).append((abs(engine - reference), where))

    def report(self, limits):
        failed = False
        for what, errors in sorted(self.errors.items()):
            worst, where = max(errors)
            limit = next((v for k, v in limits.items() if what.startswith(k)), 0.0)
            failed |= worst > limit
            print(f"{what:40s} n={len(errors):5d} worst={worst:8.3f} at {where}")
        return not failed


def compare(references, engine):
    worst = Worst()
    sky = {(r["place"], r["date"]): r for r in references["sky"]}
    drik = {r["date"]: r for r in references["drik"]}
    for day in engine:
        ref = sky.get((day["place"], day["date"]))
        where = f'{day["place"]} {day["date"]} {day["convention"]}'
        if ref is not None:
            conv = ref[day["convention"]]
            for key in ("sunrise", "sunset", "next_sunrise"):
                worst.add("sun " + key, unix(day[key]), conv[key], where)
            for key in ("moonrise", "moonset"):
                worst.add("moon " + key, unix(day[key]), ref[key], where)
            worst.add("sun solar_noon", unix(day["solar_noon"]), ref["solar_noon"], where)
        d = drik.get(day["date"])
        if d is not None and day["place"] == DRIK_PLACE and day["convention"] == "disc_center":
            worst.add("drik sunrise", unix(day["sunrise"]), d["sunrise"], where)
            for key in ("amanta", "purnimanta", "samvatsara", "ritu"):
                worst.add("drik " + key, 0.0 if day[key] == d[key] else 1.0, 0.0, where)
            worst.add("drik tithi", 0.0 if day["tithi_at_sunrise"] == d["tithi"] else 1.0, 0.0,
                      where)
            skipped = day["skipped_tithis"][0] if day["skipped_tithis"] else None
            worst.add("drik skipped tithi", 0.0 if skipped == d["skipped"] else 1.0, 0.0, where)
    return worst.report({"sun": SUN_TOLERANCE_S, "moon": MOON_TOLERANCE_S,
                         "drik sunrise": DRIK_SUNRISE_TOLERANCE_S, "drik": 0.0})


# ---------------------------------------------------------------- C++ tables


# Days of the C++ table besides every 42nd day: Tromso's first sunrise after the polar
# night, a sunset after midnight, the end of the midnight sun and the start of the polar
# night.
CPP_EXTRA_DAYS = {
    "tromso": ["2025-01-14", "2025-01-15", "2025-05-16", "2025-05-17", "2025-07-22",
               "2025-07-23", "2025-11-26", "2025-11-27"],
}


def cpp_rows(references, every=42):
    def s(v):
        return "kNone" if v is None else f"{v:.1f}"

    print("// place, date, then unix seconds (UTC): sunrise and sunset upper_limb, sunrise and")
    print("// sunset disc_center, moonrise, moonset, solar noon; kNone where there is none.")
    for place in PLACES:
        all_rows = [r for r in references["sky"] if r["place"] == place]
        extra = set(CPP_EXTRA_DAYS.get(place, []))
        for i, r in enumerate(all_rows):
            if i % every and r["date"] not in extra:
                continue
            y, m, d = r["date"].split("-")
            ul, dc = r["upper_limb"], r["disc_center"]
            print(f'    {{"{place}", {int(y)}, {int(m)}, {int(d)}, {s(ul["sunrise"])}, '
                  f'{s(ul["sunset"])}, {s(dc["sunrise"])}, {s(dc["sunset"])}, '
                  f'{s(r["moonrise"])}, {s(r["moonset"])}, {s(r["solar_noon"])}}},')
    print("// date (Delhi, disc_center), drik-panchanga's sunrise (unix seconds), tithi at")
    print("// sunrise, skipped tithi (0: none), amanta and purnimanta month (negative: adhika),")
    print("// samvatsara, ritu.")
    for i, r in enumerate(references["drik"]):
        if i % 61 and not (r["skipped"] and r["date"].startswith(str(SKY_YEAR))):
            continue
        y, m, d = r["date"].split("-")
        a = r["amanta"][0] * (-1 if r["amanta"][1] else 1)
        p = r["purnimanta"][0] * (-1 if r["purnimanta"][1] else 1)
        print(f'    {{{int(y)}, {int(m)}, {int(d)}, {r["sunrise"]:.3f}, {r["tithi"]}, '
              f'{r["skipped"] or 0}, {a}, {p}, {r["samvatsara"]}, {r["ritu"]}}},')


def main(argv):
    if len(argv) >= 2 and argv[0] == "references":
        sky = []
        for place in PLACES:
            sky += [{"place": place, **row} for row in sky_references(place)]
        with open(argv[1], "w") as f:
            json.dump({"sky": sky, "drik": drik_references()}, f)
        return 0
    if len(argv) >= 2 and argv[0] == "compare":
        with open(argv[1]) as f:
            references = json.load(f)
        engine = []
        for path in argv[2:]:
            with open(path) as f:
                engine += [json.loads(line) for line in f if line.strip()]
        if not argv[2:]:
            for place in PLACES:
                for convention in ("upper_limb", "disc_center"):
                    engine += list(engine_days(place, date(SKY_YEAR, 1, 1),
                                               date(SKY_YEAR, 12, 31), convention))
        return 0 if compare(references, engine) else 1
    if len(argv) == 2 and argv[0] == "cpp":
        with open(argv[1]) as f:
            cpp_rows(json.load(f))
        return 0
    print(__doc__)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
