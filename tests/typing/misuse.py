"""Mistakes the stub must catch: each line below is one mypy error."""
import zodiakit

chart = zodiakit.Chart.from_utc(2000, 1, 1, 12, 0, 0, 27.7, 85.3)
chart.metadata()["timezon"]
zodiakit.get_panchanga(2024, 1, 15, 6, 0, 0, 27.7, 85.3)["tithi"]["pada"]
cusp: str = chart.houses()[0]["cusp"]
