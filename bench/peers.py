"""Peer timings, measured in the benchmark environment (.venv-bench), which holds the
pure-Python drik-panchanga and the pyswisseph binding of the same Swiss Ephemeris.

bench/run.py starts this script and reads one JSON object from its output:
    {"pyswisseph_floor": instants/s, "drik_panchanga_day": days/s, "drik_panchanga_year": s,
     "drik_panchanga_full_year": s}
The pyswisseph floor makes exactly the raw calls of the native floor (sidereal mode, 2 house
calls, 9 position calls) from Python; a drik-panchanga day is its tithi, nakshatra, yoga,
karana and weekday with their end times, for one place and day; its full year adds what
else of a calendar day here it computes (drik_full_days).
"""
import json
import random
import sys
import time

import swisseph as swe

from timing import best_rate

EPHE_PATH = "/usr/share/libswe/ephe"


def pyswisseph_floor(count=2000):
    rng = random.Random(42)
    instants = [(rng.uniform(2415020.5, 2488069.5), rng.uniform(-60, 60), rng.uniform(-180, 180))
                for _ in range(count)]
    bodies = [swe.SUN, swe.MOON, swe.MARS, swe.MERCURY, swe.JUPITER, swe.VENUS, swe.SATURN,
              swe.TRUE_NODE, swe.TRUE_NODE]
    flags = swe.FLG_SWIEPH | swe.FLG_SPEED | swe.FLG_SIDEREAL

    def run():
        for jd, lat, lon in instants:
            swe.set_sid_mode(swe.SIDM_LAHIRI, 0, 0)
            swe.houses_ex(jd, lat, lon, b"E", swe.FLG_SIDEREAL)
            swe.houses_ex(jd, lat, lon, b"E", swe.FLG_SIDEREAL)
            for body in bodies:
                swe.calc_ut(jd, body, flags)

    run()
    return best_rate(run, count)


def drik_days(first_jd, days, lat, lon, offset_hours):
    import panchanga as drik

    drik.set_coordinate_selection("lahiri")
    place = drik.Place(lat, lon, offset_hours)
    for k in range(days):
        jd = first_jd + k
        drik.tithi(jd, place)
        drik.nakshatra(jd, place)
        drik.yoga(jd, place)
        drik.karana(jd, place)
        drik.vaara(jd)


def drik_full_days(first_jd, days, lat, lon, offset_hours):
    """drik_days, and the rest of what a calendar day here holds that drik-panchanga also
    computes: sunrise, sunset, moonrise, moonset, the day and night lengths, the kalams,
    Abhijit and the dur muhurtas, both months, the ritu and the samvatsara."""
    import panchanga as drik

    drik_days(first_jd, days, lat, lon, offset_hours)
    place = drik.Place(lat, lon, offset_hours)
    for k in range(days):
        jd = first_jd + k
        drik.sunrise(jd, place), drik.sunset(jd, place)
        drik.moonrise(jd, place), drik.moonset(jd, place)
        drik.day_duration(jd, place), drik.night_duration(jd, place)
        drik.rahu_kalam(jd, place), drik.yamaganda_kalam(jd, place)
        drik.gulika_kalam(jd, place), drik.abhijit_muhurta(jd, place)
        drik.durmuhurtam(jd, place)
        masa = drik.masa(jd, place, amanta=True)
        drik.masa(jd, place, amanta=False)
        drik.ritu(masa[0]), drik.samvatsara(jd, masa[0])


def main():
    swe.set_ephe_path(EPHE_PATH)
    kathmandu = (27.7172, 85.3240, 5.75)
    jd_2025 = 2460676.5  # 2025-01-01 00:00 UT
    # drik-panchanga caches results per day, so every timed day is one it has not seen.
    drik_days(jd_2025 - 400, 5, *kathmandu)  # warm up
    first = iter(range(0, 10_000, 100))
    day = best_rate(lambda: drik_days(jd_2025 - 300 + next(first), 60, *kathmandu), 60)
    year_start = time.perf_counter()
    drik_days(jd_2025, 365, *kathmandu)
    year = time.perf_counter() - year_start
    # The same year once more, whole: drik-panchanga caches per day, so a year it has not seen.
    full_start = time.perf_counter()
    drik_full_days(jd_2025 + 2000, 365, *kathmandu)
    full = time.perf_counter() - full_start
    json.dump({"pyswisseph_floor": pyswisseph_floor(), "drik_panchanga_day": day,
               "drik_panchanga_year": year, "drik_panchanga_full_year": full}, sys.stdout)


if __name__ == "__main__":
    main()
