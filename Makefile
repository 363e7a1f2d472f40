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

# ctest shows a passing suite's output only in its log: the worst errors of the C++ reference
# checks are picked from there. pytest prints its own table of them at the end.
test: setup
	ctest --test-dir $(BUILD) --output-on-failure
	@awk '/worst error/ { if (!n++) print "C++ reference checks:"; print "  " $$0 }' \
		$(BUILD)/Testing/Temporary/LastTest.log
	$(PY) -m pytest -q tests/python

bench: setup
	./scripts/bench-env.sh
	$(PY) bench/run.py

clean:
	rm -rf build .venv
