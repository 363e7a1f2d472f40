"""A first look at zodiakit: run with `make demo`."""
import zodiakit

print("Kathmandu 2000-01-01 05:45 local is", zodiakit.local_to_utc(2000, 1, 1, 5, 45, 0, "Asia/Kathmandu"))
print("Sun at J2000.0 (Lahiri): %.6f deg" % zodiakit.calc_planet_longitude(2451545.0, "sun"))
