# make demo  - set up (system packages, .venv, the module) and run the quickstart example
# make test  - set up, then the C++ suites (ctest) and the Python suites (pytest)
# make bench - set up, then the benchmarks (ratios to the ephemeris floor)
PY := .venv/bin/python
BUILD := build/release

.PHONY: setup demo test bench clean

setup:
	./scripts/setup.sh

demo: setup
	$(PY) examples/quickstart.py

test: setup
	ctest --test-dir $(BUILD) --output-on-failure
	$(PY) -m pytest -q tests/python

bench: setup
	$(PY) bench/run.py

clean:
	rm -rf build .venv

# make fuzz  - set up, then one million adversarial calls of every entry point; prints the
#              counts by outcome and the faults (exit status 1 when there is one)
.PHONY: fuzz
fuzz: setup
	$(PY) tests/python/fuzz_driver.py --calls 1000000
