"""Today's outputs equal the golden ones kept in tests/python/golden (see goldens.py)."""
import pytest

import goldens


def first_differences(expected, actual, limit=3):
    return [(i, e, a) for i, (e, a) in enumerate(zip(expected, actual)) if e != a][:limit]


@pytest.mark.parametrize("kind", goldens.KINDS)
def test_outputs_equal_the_goldens(kind):
    expected, actual = goldens.load(kind), goldens.compute(kind)
    if isinstance(expected, dict):
        assert actual == expected
    else:
        differing = sum(e != a for e, a in zip(expected, actual))
        assert (len(actual), differing) == (len(expected), 0), \
            f"{kind}: {differing} of {len(expected)} differ, first {first_differences(expected, actual)}"
