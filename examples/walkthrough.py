# %% [markdown]
# # A walkthrough of zodiakit
#
# Run it top to bottom (`python examples/walkthrough.py`), or cell by cell in an editor
# that knows `# %%` cells. It writes one file, `walkthrough_chart.svg`, into the working
# directory.

# %%
import zodiakit
from zodiakit import Chart, Panchanga

print("zodiakit", zodiakit.__version__)

# %% [markdown]
# ## A birth chart
#
# A chart from a local date and time in an IANA zone. Local times are strict: a time the
# zone skips or repeats is a `ValueError`, never a guess.

# %%
chart = Chart.from_local("1990-05-15", "10:15:00", "Asia/Kathmandu", 27.7172, 85.3240)
meta = chart.metadata()
print(meta["utc_datetime"], meta["ayanamsa"], meta["house_system"])
print(f"Ascendant {chart.ascendant():.4f} deg")

# %% [markdown]
# ## Planets
#
# Sidereal longitudes in degrees, with sign, nakshatra and pada, house and dignities.

# %%
for name, p in chart.planets().items():
    flags = [f for f in ("is_retrograde", "is_exalted", "is_debilitated", "is_own_sign")
             if getattr(p, f)]
    print(f"{name:8} {p.longitude:8.3f}  {p.sign:11} {p.nakshatra:17} pada {p.pada}  "
          f"house {p.house:2}  {' '.join(flags)}")

# %% [markdown]
# ## Divisional charts and the dasha
#
# Fifteen vargas come with every chart; the Vimshottari dasha has three levels.

# %%
print("D9:", ", ".join(f"{v.planet} {v.varga_sign}" for v in chart.divisional_chart(9)))
for maha in chart.dasha()["vimshottari"][:3]:
    antars = ", ".join(a.lord for a in maha.sub_periods)
    print(f"{maha.lord:8} {maha.start[:10]} to {maha.end[:10]}  antardashas: {antars}")

# %% [markdown]
# ## Yogas and compatibility

# %%
for yoga in chart.yogas():
    print(f"{yoga.name} [{yoga.category}]: {', '.join(yoga.planets_involved)}")
partner = Chart.from_utc(1992, 8, 3, 6, 0, 0, 28.6139, 77.2090)
kuta = chart.compatibility(partner)
print(f"Ashtakoota: {kuta.total_score} of {kuta.max_score}, compatible: {kuta.is_compatible}")

# %% [markdown]
# ## A panchanga
#
# Each element with the moment it began and ends, here in Nepali.

# %%
day = Panchanga.from_local("2025-04-14", "06:00:00", "Asia/Kathmandu", 27.7172, 85.3240,
                           mode="sunrise_day")
print(f"Tithi {day.tithi['name']} ({day.tithi['paksha']}) until {day.tithi['end_time_local']}")
print(f"Vara {day.vara['name']}, nakshatra {day.nakshatra['name']} pada {day.nakshatra['pada']}")
nepali = zodiakit.get_panchanga(2025, 4, 14, 0, 15, 0, 27.7172, 85.3240, locale="ne_NP")
print("Tithi in Nepali:", nepali["tithi"]["name"])

# %% [markdown]
# ## Bikram Sambat, transits and time windows

# %%
bs_chart = zodiakit.compute_chart_bs(2081, 1, 1, 6, 0, 0, 27.7172, 85.3240)
print("BS 2081-01-01 06:00 UTC is", bs_chart.metadata()["utc_datetime"])
for t in zodiakit.get_transits("2025-01-01", "2025-02-01")[:4]:
    print(f"{t['ingress_time']}  {t['planet']:8} {t['from_sign']} -> {t['to_sign']}")
windows = zodiakit.find_time_windows("2025-01-01T06:00:00Z", 240, 9, "Leo", 27.7172, 85.3240)
print("Navamsa ascendant in Leo:", windows)

# %% [markdown]
# ## Errors are exceptions with exact texts

# %%
try:
    Chart.from_utc(2000, 1, 1, 12, 0, 0, 91.0, 0.0)
except ValueError as error:
    print("ValueError:", error)

# %% [markdown]
# ## Output: JSON, text and SVG

# %%
document = chart.to_dict()
print(sorted(document)[:5], len(chart.to_json()), "characters of JSON")
with open("walkthrough_chart.svg", "w", encoding="utf-8") as svg:
    svg.write(chart.to_svg())
print("wrote walkthrough_chart.svg")
