#!/usr/bin/env bash
# The benchmark environment: a venv of its own (.venv-bench) with the peers that make bench
# times beside zodiakit (drik-panchanga, pyswisseph). Idempotent.
set -euo pipefail
cd "$(dirname "$0")/.."
python=${PYTHON:-python3}
if [ ! -x .venv-bench/bin/python ]; then
    echo "bench-env: creating .venv-bench"
    "$python" -m venv .venv-bench
fi
if ! .venv-bench/bin/python -c "import panchanga, swisseph" 2>/dev/null; then
    echo "bench-env: installing drik-panchanga and pyswisseph into .venv-bench"
    .venv-bench/bin/python -m pip install -q drik-panchanga pyswisseph
fi
