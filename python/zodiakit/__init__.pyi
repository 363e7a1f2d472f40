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
    ascendant_divisional_signs: dict[str, str]

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
    """A stretch of the day, from `start` to `end`, as local RFC 3339 texts."""
    start: str
    end: str

@type_check_only
class DayDivisions(TypedDict):
    """Divisions of the daytime; None on a day without sunrise or sunset.

    `rahu_kalam`, `yamaganda` and `gulika_kalam` are an eighth of the daytime each, chosen by
    the weekday; `abhijit_muhurta` is the 8th of the 15 daytime muhurtas; `dur_muhurtas` are
    the weekday's inauspicious muhurtas (Tuesday's second falls in the night). All follow
    the sunrise convention of `sun_moon`.
    """
    rahu_kalam: DaySpan | None
    yamaganda: DaySpan | None
    gulika_kalam: DaySpan | None
    abhijit_muhurta: DaySpan | None
    dur_muhurtas: list[DaySpan] | None

@type_check_only
class LunarMonth(TypedDict):
    """A lunar month: `index` 1 (Chaitra) to 12 (Phalguna) and its `name`; `adhika` for a
    leap month (no sankranti between its new moons, named after the next month), `kshaya`
    for a month that holds two sankrantis."""
    index: int
    name: str
    adhika: bool
    kshaya: bool

@type_check_only
class LunarCalendar(TypedDict):
    """The lunar month and year at the instant.

    `masa_amanta` runs from new moon to new moon; `masa_purnimanta` is the same month in the
    bright half and the next month in the dark half (an adhika month keeps its name).
    `samvatsara` is the year of the sixty-year cycle ({index 1-60, name}), `vikram_samvat`
    and `shaka_samvat` the years begun at Chaitra, `ritu` the season (1 Vasanta to 6
    Shishira, by the amanta month), `ayana` 1 Uttarayana or 2 Dakshinayana, `sun_sign` and
    `moon_sign` the sidereal signs at the instant (1 Mesha to 12 Meena).
    """
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
    """The Sun's sidereal ingress: the `sign` entered ({index 1-12, name}) and its `time`
    (local RFC 3339)."""
    sign: Vara
    time: str

@type_check_only
class TithiDay(TypedDict):
    """The tithi marks of a calendar day.

    `tithi_at_sunrise` is the tithi (1-30) at the day's sunrise (its first instant without
    one); `skipped_tithis` the tithis that begin after it and end before the next day's
    sunrise (kshaya); `repeated_tithi` whether that tithi was already current at the
    previous day's sunrise (vriddhi); `is_ekadashi` (11 or 26), `is_purnima` (15) and
    `is_amavasya` (30) whether that tithi is the one at sunrise or skipped that day;
    `sankranti` the Sun's ingress during the civil date, or None.
    """
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
    instant when the Sun does not rise), then the date and the tithi marks.

    `date` is the local civil date ("YYYY-MM-DD"); `day_starts_at` is "sunrise", or
    "midnight" on a day without sunrise; `tithi_day` holds the tithi marks.
    """
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
    def __copy__(self) -> Chart: ...
    def __deepcopy__(self, memo: object) -> Chart: ...
    @staticmethod
    def from_utc(year: int, month: int, day: int, hour: int, minute: int, second: int,
                 latitude: float, longitude: float, altitude: float = 0.0,
                 ayanamsa: str = "lahiri", house_system: str = "equal",
                 true_nodes: bool = True) -> Chart:
        """A birth chart for an instant given in UTC.

        Args:
            year: Gregorian year (proleptic; negative years allowed).
            month: Month, 1-12.
            day: Day of the month.
            hour: Hour, 0-23 (UTC).
            minute: Minute, 0-59.
            second: Second, 0-59 (whole seconds).
            latitude: Geographic latitude in degrees, -90..90 (north positive).
            longitude: Geographic longitude in degrees, -180..180 (east positive).
            altitude: Height above sea level in metres.
            ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
                "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
            house_system: "equal", "placidus", "koch" or "whole_sign".
            true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
                opposite).

        Returns:
            Chart: the whole chart, computed at once (positions, houses, vargas, dasha, yogas,
                strengths).

        Raises:
            ValueError: An invalid date-time ("Invalid UTC date/time"), place ("Invalid
                parameter: Invalid latitude 91: expected -90..90"), ayanamsa or house system, or
                a failed ephemeris or house computation (e.g. Placidus near the poles).
            TypeError: An argument of the wrong type.
            OverflowError: An integer argument out of range.
        """
    @staticmethod
    def compute(year: int, month: int, day: int, hour: int, minute: int, second: int,
                latitude: float, longitude: float, altitude: float = 0.0,
                ayanamsa: str = "lahiri", house_system: str = "equal",
                true_nodes: bool = True) -> Chart:
        """Another name for Chart.from_utc.

        A birth chart for an instant given in UTC.

        Args:
            year: Gregorian year (proleptic; negative years allowed).
            month: Month, 1-12.
            day: Day of the month.
            hour: Hour, 0-23 (UTC).
            minute: Minute, 0-59.
            second: Second, 0-59 (whole seconds).
            latitude: Geographic latitude in degrees, -90..90 (north positive).
            longitude: Geographic longitude in degrees, -180..180 (east positive).
            altitude: Height above sea level in metres.
            ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
                "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
            house_system: "equal", "placidus", "koch" or "whole_sign".
            true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
                opposite).

        Returns:
            Chart: the whole chart, computed at once (positions, houses, vargas, dasha, yogas,
                strengths).

        Raises:
            ValueError: An invalid date-time ("Invalid UTC date/time"), place ("Invalid
                parameter: Invalid latitude 91: expected -90..90"), ayanamsa or house system, or
                a failed ephemeris or house computation (e.g. Placidus near the poles).
            TypeError: An argument of the wrong type.
            OverflowError: An integer argument out of range.
        """
    @staticmethod
    def from_local(date: str, time: str, timezone: str, latitude: float, longitude: float,
                   altitude: float = 0.0, ayanamsa: str = "lahiri",
                   house_system: str = "equal", true_nodes: bool = True) -> Chart:
        """A birth chart for a local date and time in an IANA time zone.

        Local times are strict: a time the zone skips (a daylight-saving gap) or repeats is an
        error, never a guess.

        Args:
            date: Local date, "YYYY-MM-DD".
            time: Local time, "HH:MM:SS".
            timezone: IANA zone name such as "Asia/Kathmandu", or "UTC".
            latitude: Geographic latitude in degrees, -90..90 (north positive).
            longitude: Geographic longitude in degrees, -180..180 (east positive).
            altitude: Height above sea level in metres.
            ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
                "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
            house_system: "equal", "placidus", "koch" or "whole_sign".
            true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
                opposite).

        Returns:
            Chart: the chart; metadata() records the zone and the UTC instant.

        Raises:
            ValueError: "Invalid date; expected YYYY-MM-DD", "Invalid time; expected HH:MM:SS",
                "Unknown timezone: <name>", "Invalid local time in <zone> (DST gap)",
                "Ambiguous local time in <zone>. ...", "time-zone database not found (looked in
                ...)", or any error of Chart.from_utc.
            TypeError: An argument of the wrong type.
        """
    @staticmethod
    def from_julian_day(jd_ut: float, latitude: float, longitude: float,
                        altitude: float = 0.0, ayanamsa: str = "lahiri",
                        house_system: str = "equal", true_nodes: bool = True) -> Chart:
        """A birth chart for a Julian day (Universal Time).

        Args:
            jd_ut: Julian day number in UT, e.g. 2451545.0 for 2000-01-01 12:00 UT.
            latitude: Geographic latitude in degrees, -90..90 (north positive).
            longitude: Geographic longitude in degrees, -180..180 (east positive).
            altitude: Height above sea level in metres.
            ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
                "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
            house_system: "equal", "placidus", "koch" or "whole_sign".
            true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
                opposite).

        Returns:
            Chart: the chart.

        Raises:
            ValueError: "swe_revjul returned invalid date" for a Julian day that names no
                calendar date (NaN, infinite, out of range), or any error of Chart.from_utc.
            TypeError: An argument of the wrong type.
        """
    @staticmethod
    def compute_bs(bs_year: int, bs_month: int, bs_day: int, hour: int, minute: int,
                   second: int, latitude: float, longitude: float, altitude: float = 0.0,
                   ayanamsa: str = "lahiri", house_system: str = "equal",
                   true_nodes: bool = True) -> Chart:
        """A birth chart for a Bikram Sambat date and a Nepal time of day.

        Args:
            bs_year: Bikram Sambat year (2000-2099 BS).
            bs_month: Bikram Sambat month, 1 (Baisakh) to 12 (Chaitra).
            bs_day: Day of the Bikram Sambat month.
            hour: Hour, 0-23, in UTC (the date is converted to its Gregorian day).
            minute: Minute, 0-59.
            second: Second, 0-59.
            latitude: Geographic latitude in degrees, -90..90 (north positive).
            longitude: Geographic longitude in degrees, -180..180 (east positive).
            altitude: Height above sea level in metres.
            ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
                "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
            house_system: "equal", "placidus", "koch" or "whole_sign".
            true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
                opposite).

        Returns:
            Chart: the chart.

        Raises:
            ValueError: "Date/time conversion error" for a date outside the table, a month
                outside 1-12, or a day 0 or past the month's end; "Invalid time" for a time
                of day out of range; any error of Chart.from_utc.
            TypeError: An argument of the wrong type.
        """
    def settings(self) -> ChartMetadata:
        """How the chart was computed.

        Returns:
            dict: input_mode, utc_datetime (RFC 3339 UTC text), timezone, latitude,
                longitude, altitude, ayanamsa, house_system, true_nodes, ephemeris,
                longitude_type, calculation_version, in this order.
        """
    def metadata(self) -> ChartMetadata:
        """How the chart was computed.

        Returns:
            dict: input_mode, utc_datetime (RFC 3339 UTC text), timezone, latitude,
                longitude, altitude, ayanamsa, house_system, true_nodes, ephemeris,
                longitude_type, calculation_version, in this order.

        The same dictionary as settings().
        """
    def warnings(self) -> list[str]:
        """Warnings raised while computing the chart.

        Returns:
            list[str]: the warning texts, in order (empty for most charts).
        """
    def planets(self) -> dict[str, PlanetPosition]:
        """The nine grahas' positions.

        Returns:
            dict[str, PlanetPosition]: by planet name, Sun, Moon, Mars, Mercury, Jupiter,
                Venus, Saturn, Rahu, Ketu, in this order.
        """
    def houses(self) -> list[HouseCusp]:
        """The twelve house cusps.

        Returns:
            list[dict]: {"house": float, "cusp": float} for houses 1-12; cusps are sidereal
                longitudes in degrees, [0, 360), in the chart's house system.
        """
    def ascendant(self) -> float:
        """The ascendant (lagna).

        Returns:
            float: sidereal longitude of the ascendant in degrees, [0, 360).
        """
    def aspects(self) -> list[Aspect]:
        """Graha drishti by house.

        Every planet aspects the 7th house from itself; Mars also the 4th and 8th, Jupiter the
        5th and 9th, Saturn the 3rd and 10th.

        Returns:
            list[dict]: {"from_planet": str, "to_house": int, "to_planet": str | None,
                "strength": float, "is_special": bool}; to_planet is the first planet in the
                aspected house, None when it is empty; strength is 1.0 (full).
        """
    def karakas(self) -> dict[str, str]:
        """The seven chara karakas, Sun to Saturn by degree within sign.

        Returns:
            dict[str, str]: planet name ("Sun" ... "Saturn") to karaka name ("Atmakaraka" ...
                "Darakaraka"); the planet furthest into its sign is the Atmakaraka.
        """
    def ashtakavarga(self) -> Ashtakavarga:
        """The ashtakavarga bindus.

        Returns:
            dict: {"binna": {planet: list of 12 ints}, "sarva": list of 12 ints}, one count per
                sign, Aries first.
        """
    def dasha(self) -> dict[str, list[DashaPeriod]]:
        """The Vimshottari dasha, three levels deep.

        Returns:
            dict[str, list[DashaPeriod]]: {"vimshottari": [...]}: the nine maha dashas from the
                one running at birth, each with its antardashas and their pratyantardashas in
                sub_periods. The first maha dasha's sub-periods are those of the lord's full
                timeline that end after birth.
        """
    def divisional_chart(self, varga: int) -> list[VargaPosition] | None:
        """The positions of the nine grahas in one divisional chart.

        Args:
            varga: The division number, one of 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40,
                45, 60 (the charts every chart carries).

        Returns:
            list[VargaPosition] | None: nine positions in planet order, or None for a varga the
                chart does not carry.

        Raises:
            OverflowError: A negative or too large varga.
            TypeError: A varga that is not an integer.
        """
    def vargas(self, varga: int) -> list[VargaPosition] | None:
        """The positions of the nine grahas in one divisional chart.

        Args:
            varga: The division number, one of 2, 3, 4, 7, 9, 10, 12, 16, 20, 24, 27, 30, 40,
                45, 60 (the charts every chart carries).

        Returns:
            list[VargaPosition] | None: nine positions in planet order, or None for a varga the
                chart does not carry.

        Raises:
            OverflowError: A negative or too large varga.
            TypeError: A varga that is not an integer.

        The same as divisional_chart().
        """
    def yogas(self) -> list[YogaResult]:
        """Returns a list of classical yogas (planetary combinations) identified in this chart.

        Each YogaResult includes:
        - `name`: Classical yoga name (e.g. "Gajakesari Yoga")
        - `category`: "Raja", "Dhana", "Mahapurusha", or "Other"
        - `description`: Classical definition with BPHS chapter/verse citation
        - `planets_involved`: Which planets form this yoga
        - `is_present`: Always True (absent yogas are not returned)

        Only yogas with unambiguous classical definitions are included.
        This does NOT include cancellation rules (Bhanga) — consult a qualified astrologer.
        """
    def explain(self) -> Explanation:
        """The chart as an explanation graph.

        Returns:
            dict: {"nodes": {id: {kind: {field: value}}}, "edges": [[from, to, kind], ...]}:
                planets, signs, houses, rules and the facts that connect them.
        """
    def compatibility(self, other: Chart) -> KutaResult:
        """Compatibility score using Ashtakoota Milan (36 Guna) against another chart.
        Uses traditional Nakshatra and Sign matching.

        Args:
            other: The other person's Chart.

        Returns:
            KutaResult: the eight kuta points, their total out of 36 and whether it reaches
                18.

        Raises:
            TypeError: `other` is not a Chart.
        """
    def to_json(self) -> str:
        """The chart as one compact JSON document.

        Returns:
            str: JSON with datetime, location, ayanamsa, planets, ascendant, houses, dasha,
                divisional_charts, karakas, aspects, ashtakavarga, yogas, metadata, warnings,
                ascendant_divisional_signs (the ascendant's sign in each varga, {varga number:
                sign name}, like each planet's divisional_signs).
        """
    def to_dict(self) -> ChartDict:
        """The chart's JSON document as Python objects.

        Returns:
            dict: json.loads(to_json()).
        """
    def to_svg(self, *, style: str = "north", varga: int = 1, details: bool = False,
               size: int = 500, theme: str = "dark", chart: str = "rasi") -> str:
        """The chart drawn in SVG: the classical rasi chart, each graha in its sign's box.

        Args:
            style: "north" (the diamond, box 1 the ascendant's sign) or "south" (fixed sign
                boxes, Pisces top left, running clockwise).
            varga: 1 or any of the fifteen vargas; each graha and the ascendant are placed by
                their varga sign.
            details: Adds degrees and minutes in the sign, R for retrograde, the ascendant and a
                title line.
            size: Width and height in pixels, 100-4000.
            theme: "dark" or "light".
            chart: "rasi" (grahas by sign) or "bhava" (grahas by house, each box labelled
                with its cusp's sign; north style, varga 1 only).

        Returns:
            str: an SVG 1.1 document.

        Raises:
            ValueError: An option value outside those above.
        """
    def varga_ascendant(self, varga: int) -> str | None:
        """The ascendant's sign in a divisional chart.

        Args:
            varga: 1, or one of the fifteen vargas of the chart.

        Returns:
            str | None: the sign name, by the same rule as the grahas' varga signs; None for
                another varga.
        """
    def _repr_svg_(self) -> str: ...
    def _repr_html_(self) -> str: ...

@final
class PlanetPosition:
    """Python wrapper for PlanetPosition"""
    def __copy__(self, /) -> PlanetPosition:
        """The object itself: it is immutable."""
    def __deepcopy__(self, memo: object, /) -> PlanetPosition:
        """The object itself: it is immutable."""
    @property
    def planet(self) -> str:
        """Planet name, e.g. "Sun"."""
    @property
    def longitude(self) -> float:
        """Sidereal ecliptic longitude in degrees, [0, 360)."""
    @property
    def latitude(self) -> float:
        """Ecliptic latitude in degrees."""
    @property
    def speed(self) -> float:
        """Speed in longitude, degrees per day (negative when retrograde)."""
    @property
    def is_retrograde(self) -> bool:
        """True when the planet moves backwards (Rahu and Ketu: by their node's motion)."""
    @property
    def is_exalted(self) -> bool:
        """True in the planet's sign of exaltation."""
    @property
    def is_debilitated(self) -> bool:
        """True in the planet's sign of debilitation."""
    @property
    def is_own_sign(self) -> bool:
        """True in a sign the planet rules."""
    @property
    def is_vargottama(self) -> bool:
        """True when the planet has the same sign in the D1 and the D9."""
    @property
    def sign(self) -> str | None:
        """Sign name, or None when the position has no sign."""
    @property
    def nakshatra(self) -> str | None:
        """Nakshatra name, or None."""
    @property
    def nakshatra_index(self) -> int:
        """Nakshatra number, 1 (Ashwini) to 27 (Revati)."""
    @property
    def pada(self) -> int:
        """Quarter of the nakshatra, 1-4."""
    @property
    def house(self) -> int | None:
        """House number 1-12, or None."""
    @property
    def divisional_signs(self) -> dict[int, str]:
        """The planet's sign in each varga the chart carries: {varga number: sign name}."""
    @property
    def is_moolatrikona(self) -> bool:
        """True within the planet's moolatrikona range."""
    @property
    def shadbala(self) -> Shadbala | None:
        """The six strengths and their total (sthana, dik, kala, chesta, naisargika, drik, total) in rupas, or None (Rahu, Ketu)."""

@final
class VargaPosition:
    """Divisional (varga) position — `display_longitude` is for chart drawing only."""
    def __copy__(self, /) -> VargaPosition:
        """The object itself: it is immutable."""
    def __deepcopy__(self, memo: object, /) -> VargaPosition:
        """The object itself: it is immutable."""
    @property
    def planet(self) -> str:
        """Planet name."""
    @property
    def source_longitude(self) -> float:
        """The D1 sidereal longitude in degrees the position is taken from."""
    @property
    def varga(self) -> int:
        """Division number, e.g. 9."""
    @property
    def varga_sign(self) -> str:
        """Sign name in the divisional chart."""
    @property
    def varga_index(self) -> int:
        """Zero-based part of its D1 sign in which the planet stands, 0 to varga - 1."""
    @property
    def display_longitude(self) -> float | None:
        """A longitude for drawing the divisional chart, in degrees, or None; not an astronomical position."""
    @property
    def warnings(self) -> list[str]:
        """Warnings about this position (e.g. the D60's sensitivity to birth time)."""

@final
class Panchanga:
    """The panchanga of a place and moment: tithi, nakshatra, yoga, karana and vara, each
    with its start and end times. Made by Panchanga.from_local.
    """
    def __copy__(self) -> Panchanga: ...
    def __deepcopy__(self, memo: object) -> Panchanga: ...
    @staticmethod
    def from_local(date: str, time: str, timezone: str, latitude: float, longitude: float,
                   altitude: float = 0.0, ayanamsa: str = "lahiri", true_nodes: bool = True,
                   mode: str = "civil_day", sunrise: str = "upper_limb") -> Panchanga:
        """The panchanga of a local date and time in an IANA time zone.

        Args:
            date: Local date, "YYYY-MM-DD".
            time: Local time, "HH:MM:SS".
            timezone: IANA zone name, e.g. "Asia/Kathmandu".
            latitude: Geographic latitude in degrees, -90..90.
            longitude: Geographic longitude in degrees, -180..180.
            altitude: Height above sea level in metres.
            ayanamsa: As for Chart.from_utc.
            true_nodes: As for Chart.from_utc.
            mode: "civil_day" (the elements at the instant given) or "sunrise_day" (at the
                latest sunrise at or before it; the weekday is that sunrise's).
            sunrise: "upper_limb" (the upper limb with refraction, the default) or
                "disc_center" (the disc centre without refraction, the Hindu sunrise) for the
                sun times and day divisions.

        Returns:
            Panchanga: tithi, nakshatra, yoga, karana and vara with their start and end times.

        Raises:
            ValueError: Invalid date, time or zone texts (as Chart.from_local), "Unknown
                panchanga mode '<mode>'. Valid options: civil_day, sunrise_day", an invalid
                place, or "Invalid parameter: Sun always up?" when there is no sunrise.
            TypeError: An argument of the wrong type.
        """
    @property
    def tithi(self) -> Tithi:
        """The tithi: {index, name, paksha, start_time_utc, end_time_utc, start_time_local, end_time_local}."""
    @property
    def nakshatra(self) -> NakshatraElement:
        """The Moon's nakshatra: {index, name, pada, start/end times UTC and local}."""
    @property
    def yoga(self) -> PanchangaElement:
        """The yoga (Sun plus Moon): {index, name, start/end times UTC and local}."""
    @property
    def karana(self) -> PanchangaElement:
        """The karana (half tithi): {index, name, start/end times UTC and local}."""
    @property
    def vara(self) -> Vara:
        """The weekday: {index, name}, index 0 for Sunday."""
    @property
    def sun_moon(self) -> SunMoon:
        """Sun and moon times of the local civil day: {sunrise, sunset, moonrise, moonset,
        next_sunrise, solar_noon, day_length, night_length}; None where the body does
        not rise or set that day.
        """
    @property
    def day_divisions(self) -> DayDivisions:
        """Rahu kalam, Yamaganda, Gulika kalam, Abhijit muhurta and the dur muhurtas of
        the daytime, each {start, end} in local time; None without a sunrise or sunset.
        """
    @property
    def lunar_calendar(self) -> LunarCalendar:
        """The lunar month (amanta and purnimanta, with adhika and kshaya flags),
        samvatsara, Vikram and Shaka years, ritu, ayana, and the Sun's and Moon's signs.
        """
    def to_dict(self) -> PanchangaDict:
        """The panchanga as a dictionary.

        Returns:
            dict: tithi, nakshatra, yoga, karana, vara, metadata, warnings: the dictionary
                get_panchanga returns.
        """
    def _repr_html_(self) -> str: ...
    def metadata(self) -> PanchangaMetadata:
        """How the panchanga was computed.

        Returns:
            dict: timezone, mode, local_datetime, utc_datetime, ayanamsa, true_nodes,
                calculation_version.
        """
    def warnings(self) -> list[str]:
        """Warnings raised while computing the panchanga.

        Returns:
            list[str]: the warning texts, such as the note that end times are computed in UT.
        """

@final
class DashaPeriod:
    """Python wrapper for DashaPeriod"""
    def __copy__(self, /) -> DashaPeriod:
        """The object itself: it is immutable."""
    def __deepcopy__(self, memo: object, /) -> DashaPeriod:
        """The object itself: it is immutable."""
    @property
    def lord(self) -> str:
        """Planet ruling the period."""
    @property
    def start(self) -> str:
        """Start of the period, RFC 3339 UTC text."""
    @property
    def end(self) -> str:
        """End of the period, RFC 3339 UTC text."""
    @property
    def sub_periods(self) -> list[DashaPeriod]:
        """The next level's periods inside this one (antardashas, then pratyantardashas); empty at the third level."""

@final
class YogaResult:
    """Python wrapper for YogaResult.
    Each yoga has a name, category, BPHS-cited description, and the planets involved.
    """
    def __copy__(self, /) -> YogaResult:
        """The object itself: it is immutable."""
    def __deepcopy__(self, memo: object, /) -> YogaResult:
        """The object itself: it is immutable."""
    @property
    def name(self) -> str:
        """Yoga name, e.g. "Gajakesari Yoga"."""
    @property
    def category(self) -> str:
        """"Raja", "Dhana", "Mahapurusha" or "Other"."""
    @property
    def description(self) -> str:
        """The classical definition, with its BPHS chapter and verse."""
    @property
    def planets_involved(self) -> list[str]:
        """Names of the planets that form the yoga."""
    @property
    def is_present(self) -> bool:
        """Always True: absent yogas are not returned."""

@final
class KutaResult:
    """Python wrapper for KutaResult (Ashtakoota compatibility)."""
    def __copy__(self, /) -> KutaResult:
        """The object itself: it is immutable."""
    def __deepcopy__(self, memo: object, /) -> KutaResult:
        """The object itself: it is immutable."""
    @property
    def varna(self) -> float:
        """Varna points, 0-1."""
    @property
    def vasya(self) -> float:
        """Vasya points, 0-2."""
    @property
    def tara(self) -> float:
        """Tara points, 0-3."""
    @property
    def yoni(self) -> float:
        """Yoni points, 0-4."""
    @property
    def graha_maitri(self) -> float:
        """Graha maitri points, 0-5."""
    @property
    def gana(self) -> float:
        """Gana points, 0-6."""
    @property
    def bhakut(self) -> float:
        """Bhakut points, 0-7."""
    @property
    def nadi(self) -> float:
        """Nadi points, 0-8."""
    @property
    def total_score(self) -> float:
        """Sum of the eight kutas, 0-36."""
    @property
    def max_score(self) -> float:
        """The highest possible total, 36."""
    @property
    def is_compatible(self) -> bool:
        """True for a total of 18 or more."""

@final
class ChartTable:
    """Charts as columns, one row per chart (compute_chart_table). pyarrow.table(t), polars.DataFrame(t) and pandas (through pyarrow) read it without copying per chart."""
    def __copy__(self) -> ChartTable: ...
    def __deepcopy__(self, memo: object) -> ChartTable: ...
    def __len__(self) -> int:
        """Return len(self)."""
    def __arrow_c_schema__(self) -> object:
        """The table's Arrow schema (a struct of its columns) in a PyCapsule."""
    def __arrow_c_array__(self, requested_schema: object | None = None) -> tuple[object, object]:
        """The table as one Arrow struct array: a PyCapsule pair (schema, array)."""
    def __arrow_c_stream__(self, requested_schema: object | None = None) -> object:
        """The table as an Arrow array stream of one record batch, in a PyCapsule."""
    def to_pydict(self) -> dict[str, list[str | float | int | bool | None]]:
        """The columns as plain Python lists.

        Returns:
            dict: column name to its list of values, in column order; None where a value is
                missing.
        """
    def column_names(self) -> list[str]:
        """The names of the table's columns.

        Returns:
            list[str]: the column names in column order.
        """
    def num_rows(self) -> int:
        """The number of rows: one per input chart.

        Returns:
            int: the row count.
        """

def get_panchanga(year: int, month: int, day: int, hour: int, minute: int, second: int,
                  latitude: float, longitude: float, altitude: float = 0.0,
                  ayanamsa: str = "lahiri", true_nodes: bool = True,
                  locale: str = "en", sunrise: str = "upper_limb") -> PanchangaDict:
    """The panchanga at an instant given in UTC.

    Each element (tithi, nakshatra, yoga, karana) is the one running at the instant, with
    the UTC and local times it starts and ends.

    Args:
        year: Gregorian year (proleptic; negative years allowed).
        month: Month, 1-12.
        day: Day of the month.
        hour: Hour, 0-23 (UTC).
        minute: Minute, 0-59.
        second: Second, 0-59 (whole seconds).
        latitude: Geographic latitude in degrees, -90..90 (north positive).
        longitude: Geographic longitude in degrees, -180..180 (east positive).
        altitude: Height above sea level in metres.
        ayanamsa: As for Chart.from_utc.
        true_nodes: As for Chart.from_utc.
        locale: Language of the names: "en" (English), "hi_IN" (Hindi) or "ne_NP"
            (Nepali); any other code gives English.
        sunrise: "upper_limb" (the upper limb with refraction, the default) or
            "disc_center" (the disc centre without refraction, the Hindu sunrise) for the
            sun times and day divisions.

    Returns:
        dict: {"tithi", "nakshatra", "yoga", "karana", "vara", "metadata", "warnings"};
            each element is {"index", "name", ..., "start_time_utc", "end_time_utc",
            "start_time_local", "end_time_local"} (tithi adds "paksha", nakshatra "pada").

    Raises:
        ValueError: "Invalid date/time", an invalid place, or a failed ephemeris call.
        TypeError: An argument of the wrong type.
    """
def compute_chart_bs(bs_year: int, bs_month: int, bs_day: int, hour: int, minute: int,
                     second: int, latitude: float, longitude: float, altitude: float = 0.0,
                     ayanamsa: str = "lahiri", house_system: str = "equal",
                     true_nodes: bool = True) -> Chart:
    """A birth chart for a Bikram Sambat date; the same as Chart.compute_bs.

    Args:
        bs_year: Bikram Sambat year (2000-2099 BS).
        bs_month: Bikram Sambat month, 1 (Baisakh) to 12 (Chaitra).
        bs_day: Day of the Bikram Sambat month.
        hour: Hour, 0-23, in UTC (the date is converted to its Gregorian day).
        minute: Minute, 0-59.
        second: Second, 0-59.
        latitude: Geographic latitude in degrees, -90..90 (north positive).
        longitude: Geographic longitude in degrees, -180..180 (east positive).
        altitude: Height above sea level in metres.
        ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
            "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
        house_system: "equal", "placidus", "koch" or "whole_sign".
        true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
            opposite).

    Returns:
        Chart: the chart.

    Raises:
        ValueError: "Date/time conversion error" for a date outside the table, a month
            outside 1-12, or a day 0 or past the month's end; "Invalid time" for a time
            of day out of range; any error of Chart.from_utc.
        TypeError: An argument of the wrong type.
    """
def compute_chart_batch(inputs: Sequence[tuple[int, int, int, int, int, int, float, float, float]],
                        ayanamsa: str = "lahiri", house_system: str = "equal",
                        true_nodes: bool = True, workers: int | None = None) -> list[Chart]:
    """Many charts with the same options, in input order.

    Stops with KeyboardInterrupt on Ctrl-C.

    Args:
        inputs: A sequence of 9-tuples (year, month, day, hour, minute, second, latitude,
            longitude, altitude), UTC date-time fields and a place as for Chart.from_utc.
        ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
            "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
        house_system: "equal", "placidus", "koch" or "whole_sign".
        true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
            opposite).
        workers: Native threads to compute on; None for the CPUs this process may use.

    Returns:
        list[Chart]: one chart per tuple.

    Raises:
        ValueError: The first failing row's error (see Chart.from_utc), or an invalid
            option.
        TypeError: "argument 'inputs': expected tuple of length 9, but got tuple of length
            3" and the like for a malformed row.
    """
def compute_chart_table(inputs: Sequence[tuple[int, int, int, int, int, int, float, float, float]],
                        ayanamsa: str = "lahiri", house_system: str = "equal",
                        true_nodes: bool = True, workers: int | None = None) -> ChartTable:
    """Many charts as one columnar table, one row per input, without a Python object per chart.

    Args:
        inputs: A sequence of 9-tuples as for compute_chart_batch.
        ayanamsa: "lahiri", "raman", "kp", "true_chitra", "true_pushya", or
            "custom:x" for an ayanamsa of x degrees at J2000.0 (case-insensitive).
        house_system: "equal", "placidus", "koch" or "whole_sign".
        true_nodes: True for the true lunar node, False for the mean node (Rahu; Ketu is
            opposite).
        workers: Native threads to compute on; None for the CPUs this process may use.

    Returns:
        ChartTable: the columns; it exports itself through the Arrow PyCapsule interface.

    Raises:
        ValueError: The first failing row's error, as compute_chart_batch.
        TypeError: A malformed row.
    """
def local_to_utc(year: int, month: int, day: int, hour: int, minute: int, second: int,
                 tz_str: str) -> str:
    """The UTC instant of a local date-time in an IANA time zone.

    Args:
        year: Year.
        month: Month, 1-12.
        day: Day of the month.
        hour: Hour, 0-23 (local).
        minute: Minute, 0-59.
        second: Second, 0-59.
        tz_str: IANA zone name, e.g. "Asia/Kathmandu".

    Returns:
        str: the instant as RFC 3339 UTC text, "YYYY-MM-DDTHH:MM:SS+00:00".

    Raises:
        ValueError: "Unknown timezone: <name>", an invalid date, a skipped ("DST gap") or
            repeated ("Ambiguous local time") local time, or "time-zone database not found
            (looked in ...)".
        TypeError: An argument of the wrong type.
    """
def compute_dignities(planet_str: str, sign_str: str, longitude: float) -> Dignities:
    """The dignities of a planet in a sign.

    Args:
        planet_str: Planet name, "Sun" to "Saturn" (case-insensitive).
        sign_str: Sign name, e.g. "Aries".
        longitude: Sidereal longitude in degrees (decides moolatrikona ranges).

    Returns:
        dict[str, bool]: {"is_exalted", "is_debilitated", "is_own_sign",
            "is_moolatrikona"}.

    Raises:
        ValueError: "Invalid planet" or "Invalid sign".
    """
def get_transits(from_date: str, to_date: str, ayanamsa: str = "lahiri",
                 true_nodes: bool = True) -> list[Transit]:
    """The sidereal sign ingresses of the grahas between two instants.

    Stops with KeyboardInterrupt on Ctrl-C.

    Args:
        from_date: Start, as RFC 3339 ("2024-03-01T10:30:00+05:45"), "2024-03-01 10:30:00+0545"
            or a bare date "2024-03-01" (00:00 UTC).
        to_date: End, in the same forms.
        ayanamsa: As for Chart.from_utc.
        true_nodes: As for Chart.from_utc.

    Returns:
        list[dict]: {"planet", "from_sign", "to_sign", "ingress_time" (RFC 3339 UTC),
            "is_retrograde"} in time order.

    Raises:
        ValueError: "Invalid date '<text>': <reason>" or an invalid ayanamsa.
    """
def find_time_windows(base_date: str, window_minutes: int, varga: int, target_sign: str,
                      lat: float, lon: float, alt: float = 0.0, ayanamsa: str = "lahiri",
                      true_nodes: bool = True) -> list[tuple[str, str]]:
    """The intervals in which the ascendant of a divisional chart stands in a sign.

    Searches window_minutes around base_date (half before, half after) and finds, to the
    second, where the ascendant of the varga enters and leaves target_sign. Stops with
    KeyboardInterrupt on Ctrl-C.

    Args:
        base_date: The centre, in the forms get_transits takes.
        window_minutes: Width of the searched span in minutes.
        varga: Division number (1 for the ascendant itself, 9 for the navamsa, ...).
        target_sign: Sign name, e.g. "Leo".
        lat: Geographic latitude in degrees, -90..90.
        lon: Geographic longitude in degrees, -180..180.
        alt: Height above sea level in metres.
        ayanamsa: As for Chart.from_utc.
        true_nodes: Accepted for a uniform call; the ascendant does not depend on it.

    Returns:
        list[tuple[str, str]]: (start, end) pairs of RFC 3339 UTC texts
            ("YYYY-MM-DDTHH:MM:SSZ"), in time order; a window still open at the end of the
            searched span ends there.

    Raises:
        ValueError: An invalid date text, place or ayanamsa.
    """
def get_divisional_sign(lon: float, varga: int) -> str:
    """The sign of a longitude in a divisional chart.

    Args:
        lon: Sidereal longitude in degrees, [0, 360).
        varga: Division number, e.g. 9 for the navamsa. Even signs of the D10 start from the
            9th sign.

    Returns:
        str: sign name, e.g. "Aries".

    Raises:
        OverflowError: A negative varga.
    """
def get_divisional_longitude(lon: float, varga: int) -> float:
    """The longitude of a point inside its divisional sign, stretched to the whole sign.

    Args:
        lon: Sidereal longitude in degrees, [0, 360).
        varga: Division number.

    Returns:
        float: longitude in degrees, [0, 360) (for the D30, the middle of its sign).

    Raises:
        OverflowError: A negative varga.
    """
def calc_planet_longitude(jd: float, planet: str, ayanamsa: str = "lahiri") -> float:
    """The sidereal longitude of one planet.

    Args:
        jd: Julian day in UT.
        planet: Planet name, "Sun" ... "Ketu" (case-insensitive).
        ayanamsa: As for Chart.from_utc.

    Returns:
        float: sidereal longitude in degrees, [0, 360).

    Raises:
        ValueError: "Invalid planet name", an invalid ayanamsa, or "Swiss Ephemeris
            calculation failed for planet <name>: ..." for a Julian day outside the
            ephemeris.
    """
def get_panchanga_calendar(start_date: str, end_date: str, timezone: str, latitude: float,
                           longitude: float, altitude: float = 0.0, ayanamsa: str = "lahiri",
                           true_nodes: bool = True, locale: str = "en",
                           sunrise: str = "upper_limb",
                           workers: int | None = None) -> list[PanchangaDayDict]:
    """The daily panchangas of every local day from one date to another, for one place.

    Element boundaries are found once for the whole span and shared by the days; a span
    of two months or more is cut into parts computed on native threads. Each day is taken
    at its sunrise (local midnight where the Sun does not rise) and equals the single-day
    panchanga there. Stops with KeyboardInterrupt on Ctrl-C.

    Args:
        start_date: First local day, "YYYY-MM-DD".
        end_date: Last local day, "YYYY-MM-DD" (included).
        timezone: IANA zone name, e.g. "Asia/Kathmandu".
        latitude: Geographic latitude in degrees, -90..90.
        longitude: Geographic longitude in degrees, -180..180.
        altitude: Height above sea level in metres.
        ayanamsa: As for Chart.from_utc.
        true_nodes: As for Chart.from_utc.
        locale: As for get_panchanga.
        sunrise: "upper_limb" (the upper limb with refraction, the default) or
            "disc_center" (the disc centre without refraction, the Hindu sunrise) for the
            sun times and day divisions.
        workers: Native threads to compute on, each given a month of days at least; None
            for the CPUs this process may use.

    Returns:
        list[dict]: one panchanga dict per day, each with "date", "day_starts_at" and
            "tithi_day" (the tithi at sunrise, skipped and repeated tithis, Ekadashi,
            Purnima, Amavasya and Sankranti marks).

    Raises:
        ValueError: Invalid dates, zone, place or options, an end before the start, or a
            span over 100 years.
        TypeError: An argument of the wrong type.
    """
