"""Bikram Sambat dates from Python, checked day by day against published conversion tables."""

import datetime as dt

import pytest

import zodiakit as zk

KATHMANDU = (27.7172, 85.3240)
REFUSED = "Date/time conversion error"


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


def test_every_day_of_bs_2000_to_2099_where_the_published_tables_agree():
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
    print(f"\nBS 2000-2099: {dated} days dated and {refused} refused as both tables have them;"
          f" {sum(skipped.values())} days skipped where the tables differ, in BS"
          f" {', '.join(map(str, skipped))}")
    assert dated > 30000
    assert not shifted and not misjudged, (
        f"{len(shifted)} days dated unlike both published tables (first {shifted[:3]}), "
        f"{len(misjudged)} days accepted or refused unlike both (first {misjudged[:3]})")


@pytest.mark.parametrize("bs, date", [((2082, 2, 15), "2025-05-29"),
                                      ((2081, 3, 1), "2024-06-15"),
                                      ((2082, 4, 1), "2025-07-17"),
                                      ((2099, 1, 1), "2042-04-14")])
def test_published_dates(bs, date):
    assert gregorian(*bs) == dt.date.fromisoformat(date)


@pytest.mark.parametrize("construct", [zk.compute_chart_bs, zk.Chart.compute_bs])
def test_a_day_past_the_months_end_is_refused_like_day_zero(construct):
    # BS 2081 Baisakh has 31 days; Jestha has 32.
    assert gregorian(2081, 1, 31, construct) == dt.date(2024, 5, 13)
    assert gregorian(2081, 2, 32, construct) == dt.date(2024, 6, 14)
    for day in (0, 32):
        with pytest.raises(ValueError, match=f"^{REFUSED}$"):
            construct(2081, 1, day, 0, 0, 0, *KATHMANDU)
