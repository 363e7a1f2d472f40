"""Vedic (sidereal) astrology on the Swiss Ephemeris, computed natively in C++."""

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
    get_panchanga,
    compute_chart_bs,
    compute_chart_batch,
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
    "get_panchanga",
    "compute_chart_bs",
    "compute_chart_batch",
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
