"""The dask example on a local cluster of two workers gives the batch's charts row by row."""

import importlib.util
import pathlib

import pytest

import zodiakit as zk
from test_table import expected_row

EXAMPLE = pathlib.Path(__file__).resolve().parents[2] / "examples" / "dask_charts.py"
CHARTS, PER_PARTITION = 20000, 2500

for extra in ("dask.distributed", "pyarrow.parquet", "pandas"):
    pytest.importorskip(extra, reason=f"{extra} is not installed: the optional extras "
                        "(pip install 'zodiakit[dask]') are needed for the dask example")


def load_example():
    found = importlib.util.spec_from_file_location("dask_charts", EXAMPLE)
    module = importlib.util.module_from_spec(found)
    found.loader.exec_module(module)
    return module


def test_the_example_writes_the_batch_charts(tmp_path):
    import pyarrow.parquet

    example = load_example()
    written = example.run(CHARTS, tmp_path, workers=2, seed=3, per_partition=PER_PARTITION,
                          options={"ayanamsa": "raman"}, show_progress=False)
    assert written == CHARTS
    files = sorted(tmp_path.glob("part-*.parquet"))
    assert len(files) == CHARTS // PER_PARTITION
    got = [row for f in files for row in pyarrow.parquet.read_table(f).to_pylist()]
    inputs = example.all_inputs(CHARTS, seed=3, per_partition=PER_PARTITION)
    charts = zk.compute_chart_batch(inputs, ayanamsa="raman")
    assert len(got) == len(charts)
    for i, (row, chart) in enumerate(zip(got, charts)):
        assert row == expected_row(chart), f"row {i}"
