"""compute_chart_table: the batch's charts as columns, and their Arrow export."""

import random

import pytest

import zodiakit as zk
from goldens import SIGNS, instant, place

GRAHAS = ["sun", "moon", "mars", "mercury", "jupiter", "venus", "saturn", "rahu", "ketu"]
NAMES = {"sun": "Sun", "moon": "Moon", "mars": "Mars", "mercury": "Mercury",
         "jupiter": "Jupiter", "venus": "Venus", "saturn": "Saturn", "rahu": "Rahu",
         "ketu": "Ketu"}


def random_rows(seed, count):
    rng = random.Random(seed)
    return [(*instant(rng), *place(rng, 66.0), rng.uniform(0, 3000)) for _ in range(count)]


def expected_row(chart):
    """The table row of a chart, read through the chart's own getters."""
    m = chart.metadata()
    row = {"utc_datetime": m["utc_datetime"], "latitude": m["latitude"],
           "longitude": m["longitude"], "altitude": m["altitude"],
           "ascendant": chart.ascendant(), "ascendant_sign": SIGNS[int(chart.ascendant() // 30)]}
    planets = chart.planets()
    for g in GRAHAS:
        p = planets[NAMES[g]]
        row.update({f"{g}_longitude": p.longitude, f"{g}_speed": p.speed, f"{g}_sign": p.sign,
                    f"{g}_nakshatra": p.nakshatra, f"{g}_pada": p.pada, f"{g}_house": p.house,
                    f"{g}_retrograde": p.is_retrograde, f"{g}_exalted": p.is_exalted,
                    f"{g}_debilitated": p.is_debilitated, f"{g}_own_sign": p.is_own_sign,
                    f"{g}_moolatrikona": p.is_moolatrikona, f"{g}_vargottama": p.is_vargottama,
                    f"{g}_d9_sign": p.divisional_signs.get(9)})
    return row


def rows_of(table):
    columns = table.to_pydict()
    return [dict(zip(columns, values)) for values in zip(*columns.values())]


@pytest.mark.parametrize("options", [{}, {"ayanamsa": "custom:22.1", "house_system": "placidus",
                                          "true_nodes": False, "workers": 3}])
def test_each_row_is_the_batch_chart_it_stands_for(options):
    rows = random_rows(5, 300)
    table = zk.compute_chart_table(rows, **options)
    charts = zk.compute_chart_batch(rows, **options)
    assert len(table) == table.num_rows() == len(rows)
    assert table.column_names() == list(expected_row(charts[0]))
    assert rows_of(table) == [expected_row(c) for c in charts]


def test_a_table_fails_as_the_batch_does():
    # The table is computed a few thousand rows at a time: the failures lie past the first.
    rows = random_rows(6, 4200)
    rows[4150] = (2001, 2, 30, 0, 0, 0, 0.0, 0.0, 0.0)
    rows[4190] = (2001, 2, 3, 0, 0, 0, 95.0, 0.0, 0.0)
    with pytest.raises(ValueError) as from_table:
        zk.compute_chart_table(rows, workers=2)
    assert str(from_table.value) == "Invalid date/time"
    rows[4150] = rows[0]
    with pytest.raises(ValueError) as from_table:
        zk.compute_chart_table(rows[4096:], workers=1)
    with pytest.raises(ValueError) as from_batch:
        zk.compute_chart_batch(rows[4096:], workers=1)
    assert str(from_table.value) == str(from_batch.value) == (
        "Invalid parameter: Invalid latitude 95: expected -90..90")
    with pytest.raises(ValueError, match="Unknown ayanamsa"):
        zk.compute_chart_table([], ayanamsa="x")
    assert zk.compute_chart_table([]).to_pydict()["sun_sign"] == []


def test_unread_arrow_capsules_are_released():
    table = zk.compute_chart_table(random_rows(7, 3))
    for _ in range(200):
        table.__arrow_c_schema__()
        table.__arrow_c_array__()
        table.__arrow_c_stream__(None)


def test_arrow_readers_take_the_table_as_it_is():
    pa = pytest.importorskip("pyarrow", reason="pyarrow not installed (pip install zodiakit[dask])")
    table = zk.compute_chart_table(random_rows(8, 200), house_system="whole_sign")
    expected = table.to_pydict()
    arrow = pa.table(table)
    assert arrow.column_names == table.column_names()
    assert arrow.to_pydict() == expected
    assert arrow.schema.field("sun_house").type == pa.int32()
    assert arrow.schema.field("moon_retrograde").type == pa.bool_()
    assert not arrow.schema.field("moon_longitude").nullable
    assert pa.record_batch(table).to_pydict() == expected
    assert arrow.to_pandas()["moon_sign"].tolist() == expected["moon_sign"]
    try:
        import polars
    except ImportError:
        return
    assert polars.DataFrame(table).to_dict(as_series=False) == expected
