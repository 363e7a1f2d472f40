"""A user's script: it must pass `mypy --strict` against the installed stub."""
from __future__ import annotations

from typing import TYPE_CHECKING

import zodiakit

if TYPE_CHECKING:
    from zodiakit import ChartMetadata, PanchangaDict, Transit


def describe(meta: ChartMetadata) -> str:
    zone = meta["timezone"] or "UTC"
    return f"{meta['utc_datetime']} {zone} {meta['ayanamsa']} {meta['latitude']:.2f}"


def tithi_line(day: PanchangaDict) -> str:
    tithi = day["tithi"]
    return f"{tithi['name']} ({tithi['paksha']}) until {tithi['end_time_local']}"


def ingresses(transits: list[Transit]) -> list[str]:
    return [f"{t['planet']}: {t['from_sign']} -> {t['to_sign']}" for t in transits]


def main() -> None:
    chart = zodiakit.Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7, 85.3)
    print(describe(chart.metadata()), zodiakit.__version__)
    for name, position in chart.planets().items():
        strength = position.shadbala
        total: float = strength["total"] if strength else 0.0
        print(name, position.sign, position.house, total)
    houses: list[float] = [h["cusp"] for h in chart.houses()]
    aspects = [a["to_planet"] for a in chart.aspects() if a["is_special"]]
    sarva: list[int] = chart.ashtakavarga()["sarva"]
    document = chart.to_dict()
    first = document["planets"][0]
    ayanamsa = document["ayanamsa"]
    custom = ayanamsa["Custom"] if isinstance(ayanamsa, dict) else None
    periods = document["dasha"]["vimshottari"][0]["sub_periods"]
    print(len(houses), aspects, sum(sarva), first["longitude"], custom, len(periods))
    print(len(chart.explain()["edges"]), zodiakit.compute_dignities("sun", "aries", 10.0)["is_exalted"])

    day = zodiakit.get_panchanga(2024, 1, 15, 6, 0, 0, 27.7, 85.3)
    print(tithi_line(day), day["vara"]["name"], day["metadata"]["mode"])
    panchanga = zodiakit.Panchanga.from_local("2024-01-15", "06:00:00", "Asia/Kathmandu", 27.7, 85.3)
    print(panchanga.nakshatra["pada"], panchanga.karana["index"], panchanga.to_dict()["yoga"]["name"])
    print(ingresses(zodiakit.get_transits("2024-01-01", "2024-02-01")))


if __name__ == "__main__":
    main()
