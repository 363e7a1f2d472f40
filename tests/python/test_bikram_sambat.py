"""Bikram Sambat dates from Python, checked day by day against published conversion tables."""

import datetime as dt

import pytest

import zodiakit as zk

KATHMANDU = (27.7172, 85.3240)
REFUSED = "Date/time conversion error"
CONSTRUCTORS = [zk.compute_chart_bs, zk.Chart.compute_bs]


def gregorian(bs_year, bs_month, bs_day, construct=zk.compute_chart_bs):
    """The module's Gregorian date of a BS date, or None when it refuses the date."""
    try:
        chart = construct(bs_year, bs_month, bs_day, 0, 0, 0, *KATHMANDU)
    except ValueError as error:
        assert str(error) == REFUSED, (bs_year, bs_month, bs_day)
        return None
    return dt.date.fromisoformat(chart.settings()["utc_datetime"][:10])


def published_tables():
    """BS date -> Gregorian date (None for a day the month lacks), one function per table."""
    nepali_datetime = pytest.importorskip(
        "nepali_datetime", reason="the published BS table of nepali-datetime (scripts/setup.sh)")
    nepali_dates = pytest.importorskip(
        "nepali.datetime", reason="the published BS table of nepali (scripts/setup.sh)")

    def guarded(convert):
        def lookup(y, m, d):
            try:
                return convert(y, m, d)
            except ValueError:
                return None
        return lookup

    return (guarded(lambda y, m, d: nepali_datetime.date(y, m, d).to_datetime_date()),
            guarded(lambda y, m, d: nepali_dates.nepalidate(y, m, d).to_date()))


def test_every_day_of_bs_2000_to_2099_where_the_published_tables_agree(report):
    first, second = published_tables()
    dated = refused = 0
    skipped = {}  # year -> days on which the two tables differ
    shifted, misjudged = [], []  # dated otherwise; accepted or refused unlike both tables
    for year in range(2000, 2100):
        for month in range(1, 13):
            for day in range(1, 33):  # day 32 of every month: no month is longer
                expected = first(year, month, day)
                if expected != second(year, month, day):
                    skipped[year] = skipped.get(year, 0) + 1
                    continue
                got = gregorian(year, month, day)
                if expected is None:
                    refused += 1
                else:
                    dated += 1
                if got != expected:
                    found = shifted if None not in (got, expected) else misjudged
                    found.append(f"BS {year}-{month:02}-{day:02}: {got}, published {expected}")
    report(f"BS 2000-2099 vs two published tables ({dated + refused} days)",
           len(shifted) + len(misjudged), "days", 0)
    assert dated > 30000, f"only {dated} days dated; the tables skip {skipped}"
    assert not shifted and not misjudged, (
        f"{len(shifted)} days dated unlike both published tables (first {shifted[:3]}), "
        f"{len(misjudged)} days accepted or refused unlike both (first {misjudged[:3]})")


def test_dates_of_the_published_calendar(report):
    # BS 2099 lies where the two tables above differ; the calendar's own date holds.
    published = {(2082, 2, 15): dt.date(2025, 5, 29), (2081, 3, 1): dt.date(2024, 6, 15),
                 (2082, 4, 1): dt.date(2025, 7, 17), (2099, 1, 1): dt.date(2042, 4, 14)}
    got = {bs: gregorian(*bs) for bs in published}
    worst = max(abs((got[bs] - date).days) if got[bs] else float("inf")
                for bs, date in published.items())
    report("BS dates vs the published calendar, 4 dates", worst, "days", 0)
    assert got == published


@pytest.mark.parametrize("construct", CONSTRUCTORS)
def test_a_bs_chart_is_the_chart_of_its_gregorian_instant(construct):
    chart = construct(2081, 1, 1, 6, 30, 15, *KATHMANDU, ayanamsa="raman")
    same = zk.Chart.from_utc(2024, 4, 13, 6, 30, 15, *KATHMANDU, ayanamsa="raman")
    assert chart.settings()["utc_datetime"] == "2024-04-13T06:30:15+00:00"
    assert (chart.settings(), chart.houses()) == (same.settings(), same.houses())


@pytest.mark.parametrize("construct", CONSTRUCTORS)
def test_refusals_check_the_time_then_the_place_then_the_date(construct):
    # BS 2081 Baisakh has 31 days; Jestha has 32.
    assert gregorian(2081, 1, 31, construct) == dt.date(2024, 5, 13)
    assert gregorian(2081, 2, 32, construct) == dt.date(2024, 6, 14)
    # Which dates the table refuses is checked day by day above.
    for args, message in [((2081, 1, 32, 0, 0, 0, *KATHMANDU), REFUSED),
                          ((2101, 1, 1, 24, 0, 0, 91.0, 0.0), "Invalid time"),
                          ((2101, 1, 1, 0, 0, 0, 91.0, 0.0),
                           "Invalid parameter: Invalid latitude 91: expected -90..90")]:
        with pytest.raises(ValueError) as refused:
            construct(*args)
        assert str(refused.value) == message, args
