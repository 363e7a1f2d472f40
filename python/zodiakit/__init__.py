"""Vedic (sidereal) astrology on the Swiss Ephemeris, computed natively in C++.

A Chart holds a whole birth chart, computed in one call: the nine grahas' sidereal
positions (PlanetPosition), the ascendant and house cusps, signs, nakshatras, dignities,
fifteen divisional charts (VargaPosition), chara karakas, aspects, ashtakavarga, shadbala,
yogas (YogaResult), a three-level Vimshottari dasha (DashaPeriod) and compatibility with
another chart (KutaResult). Make one with Chart.from_local (a local date and time in an
IANA zone), Chart.from_utc, Chart.from_julian_day or Chart.compute_bs (a Bikram Sambat
date), or many at once with compute_chart_batch.

Panchanga.from_local and get_panchanga give the tithi, nakshatra, yoga, karana and vara
of a moment with the times each begins and ends. get_transits lists sign ingresses,
find_time_windows the intervals in which a divisional ascendant stands in a sign.

Longitudes are sidereal degrees in [0, 360) (Lahiri ayanamsa unless another is chosen),
places are degrees (latitude -90..90, longitude -180..180, east positive) and metres, and
times are UTC texts in RFC 3339 form. Every failure raises an exception with an exact
message, almost always ValueError.

    >>> import zodiakit
    >>> chart = zodiakit.Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu",
    ...                                   27.7, 85.3)
    >>> chart.planets()["Sun"].sign
    'Taurus'
"""

# The package's names are those of the compiled core, in the core's order; the core
# itself stays out of the namespace.
from zodiakit._core import (
    Chart,
    PlanetPosition,
    VargaPosition,
    Panchanga,
    DashaPeriod,
    YogaResult,
    KutaResult,
    ChartTable,
    get_panchanga,
    compute_chart_bs,
    compute_chart_batch,
    compute_chart_table,
    local_to_utc,
    compute_dignities,
    get_transits,
    find_time_windows,
    get_divisional_sign,
    get_divisional_longitude,
    calc_planet_longitude,
    get_panchanga_calendar,
)

__version__ = "1.0.0"
__all__ = [
    "Chart",
    "PlanetPosition",
    "VargaPosition",
    "Panchanga",
    "DashaPeriod",
    "YogaResult",
    "KutaResult",
    "ChartTable",
    "get_panchanga",
    "compute_chart_bs",
    "compute_chart_batch",
    "compute_chart_table",
    "local_to_utc",
    "compute_dignities",
    "get_transits",
    "find_time_windows",
    "get_divisional_sign",
    "get_divisional_longitude",
    "calc_planet_longitude",
    "get_panchanga_calendar",
]

globals().pop("_core")


def __getattr__(name: str) -> object:
    # `import zodiakit._core` after the first import finds the core in sys.modules
    # without setting the attribute again.
    if name == "_core":
        import sys

        return sys.modules["zodiakit._core"]
    raise AttributeError(f"module {__name__!r} has no attribute {name!r}")
