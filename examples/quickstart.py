"""A tour of zodiakit; `make demo` runs it.

A birth chart and what it derives, two charts' compatibility, today's panchanga in
Kathmandu, a Bikram Sambat birth date and this month's transits. The chart's SVG and JSON
are written to out/ at the top of the repository.
"""
import datetime
import json
import pathlib
import shutil
import subprocess

import zodiakit
from zodiakit import Chart, Panchanga

OUT = pathlib.Path(__file__).resolve().parent.parent / "out"
DOCS = pathlib.Path(__file__).resolve().parent.parent / "docs"
KATHMANDU = (27.7172, 85.3240)
UTC = datetime.timezone.utc

# --- A birth chart from local civil time in Kathmandu.
chart = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", *KATHMANDU)
meta = chart.metadata()
print(repr(chart))
print(f"Charted {meta['utc_datetime']} ({meta['input_mode']} in {meta['timezone']}), "
      f"ayanamsa {meta['ayanamsa']}, houses {meta['house_system']}, {meta['ephemeris']}")
print(f"\n{'planet':8} {'longitude':>9}  {'sign':11} {'nakshatra':16} pada house  notes")
for name, p in chart.planets().items():
    notes = [k[3:] for k in ("is_exalted", "is_debilitated", "is_own_sign", "is_moolatrikona",
                             "is_vargottama", "is_retrograde") if getattr(p, k)]
    print(f"{name:8} {p.longitude:9.3f}  {p.sign:11} {p.nakshatra:16} {p.pada:4} {p.house:5}  "
          f"{', '.join(notes)}")
print("\nHouse cusps:", "  ".join(f"{int(h['house'])}:{h['cusp']:.1f}" for h in chart.houses()))

print("\nNavamsa (D9):", ", ".join(f"{v.planet} {v.varga_sign}" for v in chart.divisional_chart(9)))
ROLES = ["Atmakaraka", "Amatyakaraka", "Bhratrikaraka", "Matrikaraka", "Putrakaraka",
         "Jnatikaraka", "Darakaraka"]
print("Chara karakas:", ", ".join(f"{k} {planet}" for planet, k in sorted(
    chart.karakas().items(), key=lambda kv: ROLES.index(kv[1]))))

now = datetime.datetime.now(UTC).strftime("%Y-%m-%dT%H:%M:%S+00:00")
for maha in chart.dasha()["vimshottari"]:
    if maha.start <= now < maha.end:
        antar = next(a for a in maha.sub_periods if a.start <= now < a.end)
        print(f"Current dasha: {maha.lord} maha dasha until {maha.end[:10]}, "
              f"{antar.lord} antardasha until {antar.end[:10]}")

print("\nYogas:")
for yoga in chart.yogas():
    print(f"  {yoga.name} [{yoga.category}] {', '.join(yoga.planets_involved)}")
rules = [n["Rule"]["name"] for n in chart.explain()["nodes"].values() if "Rule" in n]
print("Explained rules that hold:", ", ".join(sorted(rules)) or "none")

partner = Chart.from_utc(1992, 8, 3, 6, 0, 0, 28.6139, 77.2090)
kuta = chart.compatibility(partner)
print(f"Compatibility with a second chart: {kuta.total_score} of {kuta.max_score} "
      f"(nadi {kuta.nadi}, bhakut {kuta.bhakut}) -> {'compatible' if kuta.is_compatible else 'not compatible'}")

OUT.mkdir(exist_ok=True)
(OUT / "chart.svg").write_text(chart.to_svg(), encoding="utf-8")
(OUT / "chart.json").write_text(json.dumps(chart.to_dict(), ensure_ascii=False, indent=1),
                                encoding="utf-8")
print(f"Wrote {OUT / 'chart.svg'} and {OUT / 'chart.json'}")

# --- The README's pictures: the same chart drawn North and South Indian, with details.
if shutil.which("rsvg-convert"):
    DOCS.mkdir(exist_ok=True)
    for style in ("north", "south"):
        svg = chart.to_svg(style=style, details=True, theme="light")
        png = DOCS / f"chart-{style}.png"
        subprocess.run(["rsvg-convert", "-o", str(png)], input=svg.encode(), check=True)
        print(f"Wrote {png}")

# --- Today's panchanga in Kathmandu, in English and in Nepali.
local_now = datetime.datetime.now(UTC).astimezone(datetime.timezone(datetime.timedelta(hours=5, minutes=45)))
today = Panchanga.from_local(local_now.strftime("%Y-%m-%d"), local_now.strftime("%H:%M:%S"),
                             "Asia/Kathmandu", *KATHMANDU, mode="sunrise_day")
t, n = today.tithi, today.nakshatra
print(f"\nPanchanga, Kathmandu {local_now:%Y-%m-%d %H:%M} (weekday from the last sunrise): "
      f"{today.vara['name']}, "
      f"{t['paksha']} {t['name']} until {t['end_time_local']}, {n['name']} pada {n['pada']}, "
      f"yoga {today.yoga['name']}, karana {today.karana['name']}")
utc_now = datetime.datetime.now(UTC)
nepali = zodiakit.get_panchanga(utc_now.year, utc_now.month, utc_now.day, utc_now.hour,
                                utc_now.minute, utc_now.second, *KATHMANDU, locale="ne_NP")
print(f"In Nepali: {nepali['tithi']['name']}, {nepali['nakshatra']['name']}")

# --- A Bikram Sambat birth date (the time is taken as UTC) and this month's transits.
bs_chart = zodiakit.compute_chart_bs(2047, 2, 1, 4, 30, 0, *KATHMANDU)
print(f"\nBS 2047-02-01 04:30 is {bs_chart.metadata()['utc_datetime']}; "
      f"Moon in {bs_chart.planets()['Moon'].nakshatra}")
month_start = utc_now.replace(day=1).strftime("%Y-%m-%d")
next_month = (utc_now.replace(day=28) + datetime.timedelta(days=4)).replace(day=1).strftime("%Y-%m-%d")
print(f"Sign ingresses from {month_start} to {next_month}:")
for t in zodiakit.get_transits(month_start, next_month):
    if t["planet"] != "Moon":
        retro = " (retrograde)" if t["is_retrograde"] else ""
        print(f"  {t['ingress_time']}  {t['planet']:8} {t['from_sign']} -> {t['to_sign']}{retro}")
windows = zodiakit.find_time_windows(f"{month_start}T06:00:00Z", 240, 9, "leo", *KATHMANDU)
print("D9 ascendant in Leo within two hours of 06:00 UTC on the 1st:",
      ", ".join(f"{a[11:16]}-{b[11:16]}" for a, b in windows) or "never")
