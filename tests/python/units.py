"""Units for tolerances, each in the unit the module's numbers are in: longitudes in degrees,
Julian days in days. A tolerance reads as a count of them: `0.0036 * ARCSECOND`."""

DEGREE = 1.0
ARCSECOND = DEGREE / 3600

DAY = 1.0
SECOND = DAY / 86400
