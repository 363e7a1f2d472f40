"""Type stub for zodiakit: Vedic (sidereal) astrology on the Swiss Ephemeris.

The result dictionaries are typed as TypedDicts. They exist for type checkers only (the
module returns plain dicts): import them under `if typing.TYPE_CHECKING:`.
"""
from typing import Sequence, TypedDict, final, type_check_only

__version__: str
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

# ---------------------------------------------------------------- chart dictionaries

@type_check_only
class ChartMetadata(TypedDict):
    """Chart.settings() and Chart.metadata(): how the chart was computed."""
    input_mode: str
    utc_datetime: str
    timezone: str | None
    latitude: float
    longitude: float
    altitude: float
    ayanamsa: str
    house_system: str
    true_nodes: bool
    ephemeris: str
    longitude_type: str
    calculation_version: str

@type_check_only
class HouseCusp(TypedDict):
    house: float
    cusp: float

@type_check_only
class Aspect(TypedDict):
    from_planet: str
    to_house: int
    to_planet: str | None
    strength: float
    is_special: bool

@type_check_only
class Ashtakavarga(TypedDict):
    binna: dict[str, list[int]]
    sarva: list[int]

@type_check_only
class Explanation(TypedDict):
    """Chart.explain(): nodes by id, each {kind: {field: value}}; edges [from, to, kind]."""
    nodes: dict[str, dict[str, dict[str, str | int]]]
    edges: list[list[str]]

@type_check_only
class Shadbala(TypedDict):
    """PlanetPosition.shadbala."""
    sthana: float
    dik: float
    kala: float
    chesta: float
    naisargika: float
    drik: float
    total: float

@type_check_only
class Dignities(TypedDict):
    is_exalted: bool
    is_debilitated: bool
    is_own_sign: bool
    is_moolatrikona: bool

# Chart.to_dict(): the chart's JSON document.

@type_check_only
class ChartLocation(TypedDict):
    latitude: float
    longitude: float
    altitude: float

@type_check_only
class CustomAyanamsa(TypedDict):
    Custom: float

@type_check_only
class ShadbalaScore(TypedDict):
    sthana_bala: float
    dik_bala: float
    kala_bala: float
    chesta_bala: float
    naisargika_bala: float
    drik_bala: float
    total: float
    required: float
    is_sufficient: bool

@type_check_only
class PlanetDict(TypedDict):
    planet: str
    longitude: float
    latitude: float
    speed: float
    is_retrograde: bool
    sign: str | None
    nakshatra: str | None
    house: int | None
    divisional_signs: dict[str, str]
    is_exalted: bool
    is_debilitated: bool
    is_own_sign: bool
    is_moolatrikona: bool
    is_vargottama: bool
    shadbala: ShadbalaScore | None

@type_check_only
class HouseDict(TypedDict):
    house: int
    cusp: float

@type_check_only
class DashaPeriodDict(TypedDict):
    lord_name: str
    start: str
    end: str
    sub_periods: list[DashaPeriodDict]

@type_check_only
class VargaDict(TypedDict):
    planet: str
    source_longitude: float
    varga: int
    varga_sign: str
    varga_index: int
    display_longitude: float | None
    warnings: list[str]

@type_check_only
class YogaDict(TypedDict):
    name: str
    category: str
    description: str
    planets_involved: list[str]
    is_present: bool

@type_check_only
class ChartDict(TypedDict):
    datetime: str
    location: ChartLocation
    ayanamsa: str | CustomAyanamsa
    planets: list[PlanetDict]
    ascendant: float
    houses: list[HouseDict]
    dasha: dict[str, list[DashaPeriodDict]]
    divisional_charts: dict[str, list[VargaDict]]
    karakas: dict[str, str]
    aspects: list[Aspect]
    ashtakavarga: Ashtakavarga
    yogas: list[YogaDict]
    metadata: ChartMetadata
    warnings: list[str]

# ---------------------------------------------------------------- panchanga dictionaries

@type_check_only
class Vara(TypedDict):
    index: int
    name: str

@type_check_only
class PanchangaElement(TypedDict):
    """Yoga and karana: the element running at the instant, with its start and end."""
    index: int
    name: str
    start_time_utc: str
    end_time_utc: str
    start_time_local: str
    end_time_local: str

@type_check_only
class Tithi(TypedDict):
    index: int
    name: str
    paksha: str
    start_time_utc: str
    end_time_utc: str
    start_time_local: str
    end_time_local: str

@type_check_only
class NakshatraElement(TypedDict):
    index: int
    name: str
    pada: int
    start_time_utc: str
    end_time_utc: str
    start_time_local: str
    end_time_local: str

@type_check_only
class PanchangaMetadata(TypedDict):
    timezone: str
    mode: str
    local_datetime: str
    utc_datetime: str
    ayanamsa: str
    true_nodes: bool
    calculation_version: str

@type_check_only
class SunMoon(TypedDict):
    """Sun and Moon times of the local civil day, as local RFC 3339 texts.

    None where the body does not rise or set that day (polar day or night, a day the Moon
    misses). `sunrise_convention` is "upper_limb" (upper limb at apparent altitude 0, with
    refraction) or "disc_center" (centre of the disc at geometric altitude 0, no
    refraction); lengths are "HH:MM:SS".
    """
    sunrise: str | None
    sunset: str | None
    moonrise: str | None
    moonset: str | None
    next_sunrise: str | None
    day_length: str | None
    night_length: str | None
    solar_noon: str | None
    sunrise_convention: str

@type_check_only
class DaySpan(TypedDict):
    start: str
    end: str

@type_check_only
class DayDivisions(TypedDict):
    """Divisions of the daytime; None on a day without sunrise or sunset."""
    rahu_kalam: DaySpan | None
    yamaganda: DaySpan | None
    gulika_kalam: DaySpan | None
    abhijit_muhurta: DaySpan | None
    dur_muhurtas: list[DaySpan] | None

@type_check_only
class LunarMonth(TypedDict):
    index: int
    name: str
    adhika: bool
    kshaya: bool

@type_check_only
class LunarCalendar(TypedDict):
    masa_amanta: LunarMonth
    masa_purnimanta: LunarMonth
    samvatsara: Vara
    vikram_samvat: int
    shaka_samvat: int
    ritu: Vara
    ayana: Vara
    sun_sign: Vara
    moon_sign: Vara

@type_check_only
class PanchangaDict(TypedDict):
    tithi: Tithi
    nakshatra: NakshatraElement
    yoga: PanchangaElement
    karana: PanchangaElement
    vara: Vara
    metadata: PanchangaMetadata
    warnings: list[str]
    sun_moon: SunMoon
    day_divisions: DayDivisions
    lunar_calendar: LunarCalendar

@type_check_only
class Sankranti(TypedDict):
    sign: Vara
    time: str

@type_check_only
class TithiDay(TypedDict):
    tithi_at_sunrise: int
    skipped_tithis: list[int]
    repeated_tithi: bool
    is_ekadashi: bool
    is_purnima: bool
    is_amavasya: bool
    sankranti: Sankranti | None

@type_check_only
class PanchangaDayDict(PanchangaDict):
    """One day of get_panchanga_calendar: the panchanga at the day's sunrise (at its first
    instant when the Sun does not rise), then the date and the tithi marks."""
    date: str
    day_starts_at: str
    tithi_day: TithiDay

@type_check_only
class Transit(TypedDict):
    planet: str
    from_sign: str
    to_sign: str
    ingress_time: str
    is_retrograde: bool

# ---------------------------------------------------------------- classes and functions

@final
class Chart:
    """Python wrapper for Chart"""
    @staticmethod
    def from_utc(year: int, month: int, day: int, hour: int, minute: int, second: int,
                 latitude: float, longitude: float, altitude: float = 0.0,
                 ayanamsa: str = "lahiri", house_system: str = "equal",
                 true_nodes: bool = True) -> Chart: ...
    @staticmethod
    def compute(year: int, month: int, day: int, hour: int, minute: int, second: int,
                latitude: float, longitude: float, altitude: float = 0.0,
                ayanamsa: str = "lahiri", house_system: str = "equal",
                true_nodes: bool = True) -> Chart: ...
    @staticmethod
    def from_local(date: str, time: str, timezone: str, latitude: float, longitude: float,
                   altitude: float = 0.0, ayanamsa: str = "lahiri",
                   house_system: str = "equal", true_nodes: bool = True) -> Chart: ...
    @staticmethod
    def from_julian_day(jd_ut: float, latitude: float, longitude: float,
                        altitude: float = 0.0, ayanamsa: str = "lahiri",
                        house_system: str = "equal", true_nodes: bool = True) -> Chart: ...
    @staticmethod
    def compute_bs(bs_year: int, bs_month: int, bs_day: int, hour: int, minute: int,
                   second: int, latitude: float, longitude: float, altitude: float = 0.0,
                   ayanamsa: str = "lahiri", house_system: str = "equal",
                   true_nodes: bool = True) -> Chart: ...
    def settings(self) -> ChartMetadata: ...
    def metadata(self) -> ChartMetadata: ...
    def warnings(self) -> list[str]: ...
    def planets(self) -> dict[str, PlanetPosition]: ...
    def houses(self) -> list[HouseCusp]: ...
    def ascendant(self) -> float: ...
    def aspects(self) -> list[Aspect]: ...
    def karakas(self) -> dict[str, str]: ...
    def ashtakavarga(self) -> Ashtakavarga: ...
    def dasha(self) -> dict[str, list[DashaPeriod]]: ...
    def divisional_chart(self, varga: int) -> list[VargaPosition] | None: ...
    def vargas(self, varga: int) -> list[VargaPosition] | None: ...
    def yogas(self) -> list[YogaResult]: ...
    def explain(self) -> Explanation: ...
    def compatibility(self, other: Chart) -> KutaResult: ...
    def to_json(self) -> str: ...
    def to_dict(self) -> ChartDict: ...
    def to_svg(self) -> str: ...

@final
class PlanetPosition:
    """Python wrapper for PlanetPosition"""
    @property
    def planet(self) -> str: ...
    @property
    def longitude(self) -> float: ...
    @property
    def latitude(self) -> float: ...
    @property
    def speed(self) -> float: ...
    @property
    def is_retrograde(self) -> bool: ...
    @property
    def is_exalted(self) -> bool: ...
    @property
    def is_debilitated(self) -> bool: ...
    @property
    def is_own_sign(self) -> bool: ...
    @property
    def is_vargottama(self) -> bool: ...
    @property
    def sign(self) -> str | None: ...
    @property
    def nakshatra(self) -> str | None: ...
    @property
    def nakshatra_index(self) -> int: ...
    @property
    def pada(self) -> int: ...
    @property
    def house(self) -> int | None: ...
    @property
    def divisional_signs(self) -> dict[int, str]: ...
    @property
    def is_moolatrikona(self) -> bool: ...
    @property
    def shadbala(self) -> Shadbala | None: ...

@final
class VargaPosition:
    """Divisional (varga) position — `display_longitude` is for chart drawing only."""
    @property
    def planet(self) -> str: ...
    @property
    def source_longitude(self) -> float: ...
    @property
    def varga(self) -> int: ...
    @property
    def varga_sign(self) -> str: ...
    @property
    def varga_index(self) -> int: ...
    @property
    def display_longitude(self) -> float | None: ...
    @property
    def warnings(self) -> list[str]: ...

@final
class Panchanga:
    @staticmethod
    def from_local(date: str, time: str, timezone: str, latitude: float, longitude: float,
                   altitude: float = 0.0, ayanamsa: str = "lahiri", true_nodes: bool = True,
                   mode: str = "civil_day", sunrise: str = "upper_limb") -> Panchanga: ...
    @property
    def tithi(self) -> Tithi: ...
    @property
    def nakshatra(self) -> NakshatraElement: ...
    @property
    def yoga(self) -> PanchangaElement: ...
    @property
    def karana(self) -> PanchangaElement: ...
    @property
    def vara(self) -> Vara: ...
    @property
    def sun_moon(self) -> SunMoon: ...
    @property
    def day_divisions(self) -> DayDivisions: ...
    @property
    def lunar_calendar(self) -> LunarCalendar: ...
    def to_dict(self) -> PanchangaDict: ...
    def metadata(self) -> PanchangaMetadata: ...
    def warnings(self) -> list[str]: ...

@final
class DashaPeriod:
    """Python wrapper for DashaPeriod"""
    @property
    def lord(self) -> str: ...
    @property
    def start(self) -> str: ...
    @property
    def end(self) -> str: ...
    @property
    def sub_periods(self) -> list[DashaPeriod]: ...

@final
class YogaResult:
    """Python wrapper for YogaResult.
    Each yoga has a name, category, BPHS-cited description, and the planets involved."""
    @property
    def name(self) -> str: ...
    @property
    def category(self) -> str: ...
    @property
    def description(self) -> str: ...
    @property
    def planets_involved(self) -> list[str]: ...
    @property
    def is_present(self) -> bool: ...

@final
class KutaResult:
    """Python wrapper for KutaResult (Ashtakoota compatibility)."""
    @property
    def varna(self) -> float: ...
    @property
    def vasya(self) -> float: ...
    @property
    def tara(self) -> float: ...
    @property
    def yoni(self) -> float: ...
    @property
    def graha_maitri(self) -> float: ...
    @property
    def gana(self) -> float: ...
    @property
    def bhakut(self) -> float: ...
    @property
    def nadi(self) -> float: ...
    @property
    def total_score(self) -> float: ...
    @property
    def max_score(self) -> float: ...
    @property
    def is_compatible(self) -> bool: ...

def get_panchanga(year: int, month: int, day: int, hour: int, minute: int, second: int,
                  latitude: float, longitude: float, altitude: float = 0.0,
                  ayanamsa: str = "lahiri", true_nodes: bool = True,
                  locale: str = "en", sunrise: str = "upper_limb") -> PanchangaDict: ...
def compute_chart_bs(bs_year: int, bs_month: int, bs_day: int, hour: int, minute: int,
                     second: int, latitude: float, longitude: float, altitude: float = 0.0,
                     ayanamsa: str = "lahiri", house_system: str = "equal",
                     true_nodes: bool = True) -> Chart: ...
def compute_chart_batch(inputs: Sequence[tuple[int, int, int, int, int, int, float, float, float]],
                        ayanamsa: str = "lahiri", house_system: str = "equal",
                        true_nodes: bool = True) -> list[Chart]: ...
def local_to_utc(year: int, month: int, day: int, hour: int, minute: int, second: int,
                 tz_str: str) -> str: ...
def compute_dignities(planet_str: str, sign_str: str, longitude: float) -> Dignities: ...
def get_transits(from_date: str, to_date: str, ayanamsa: str = "lahiri",
                 true_nodes: bool = True) -> list[Transit]: ...
def find_time_windows(base_date: str, window_minutes: int, varga: int, target_sign: str,
                      lat: float, lon: float, alt: float = 0.0, ayanamsa: str = "lahiri",
                      true_nodes: bool = True) -> list[tuple[str, str]]: ...
def get_divisional_sign(lon: float, varga: int) -> str: ...
def get_divisional_longitude(lon: float, varga: int) -> float: ...
def calc_planet_longitude(jd: float, planet: str, ayanamsa: str = "lahiri") -> float: ...
def get_panchanga_calendar(start_date: str, end_date: str, timezone: str, latitude: float,
                           longitude: float, altitude: float = 0.0, ayanamsa: str = "lahiri",
                           true_nodes: bool = True, locale: str = "en",
                           sunrise: str = "upper_limb") -> list[PanchangaDayDict]: ...
