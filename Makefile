# make demo  - set up (system packages, .venv, the module) and run the quickstart example
# make test  - set up, build the wheel and the C++ suites, then run ctest and pytest (and
#              sanitize-short: a sample of pytest on the ASan+UBSan module)
# make bench - set up, then the benchmarks (ratios to the ephemeris floor)
# make wheel - the self-contained wheel (libraries and ephemeris data inside) in build/wheelhouse
PY := .venv/bin/python
# The C++ suites and the benchmark's native program; the module is the one in .venv.
BUILD := build/tests
WHEELHOUSE := build/wheelhouse

.PHONY: setup demo test bench clean wheel test-build

setup:
	./scripts/setup.sh

demo: setup
	$(PY) examples/quickstart.py

# ctest shows a passing suite's output only in its log: the worst errors of the C++ reference
# checks are picked from there. pytest prints its own table of them at the end.
# sanitize-short (below) adds the sanitized module and a sample of the Python suites under
# ASan and UBSan: about four minutes on two cores; `make sanitize` is the whole run.
test: setup wheel test-build sanitize-short
	ctest --test-dir $(BUILD) --output-on-failure
	@awk '/worst error/ { if (!n++) print "C++ reference checks:"; print "  " $$0 }' \
		$(BUILD)/Testing/Temporary/LastTest.log
	$(PY) -m pytest -q tests/python tests/browser

bench: setup test-build
	./scripts/bench-env.sh
	$(PY) bench/run.py

clean:
	rm -rf build .venv .venv-tools

test-build:
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release -DZODIAKIT_BUILD_TESTS=ON \
		-DCMAKE_DISABLE_FIND_PACKAGE_Python=ON
	cmake --build $(BUILD)

# The abi3 wheel of the package build, repaired by auditwheel: libswe and cctz grafted in,
# tagged manylinux as far as its glibc symbols allow.
wheel: setup
	rm -rf $(WHEELHOUSE)
	$(PY) -m pip wheel -q --no-build-isolation --no-deps -w $(WHEELHOUSE)/plain .
	PATH="$(CURDIR)/.venv-tools/bin:$$PATH" .venv-tools/bin/auditwheel repair \
		-w $(WHEELHOUSE) $(WHEELHOUSE)/plain/zodiakit-*.whl
	@echo "wheel: $$(ls $(WHEELHOUSE)/zodiakit-*.whl)"

# make sanitize - the module, the engine and the C++ suites built with AddressSanitizer and
#                 UndefinedBehaviorSanitizer; ctest and pytest run against that build, with
#                 Python started under the ASan runtime and allocating every object with
#                 malloc, so that ASan sees the module's objects too. SANITIZE_TESTS narrows
#                 the pytest run. ZODIAKIT_SANITIZER tells the suites which tests cannot run
#                 under it (resident-memory budgets, the wheel).
# make sanitize-short - the same build of the module alone and a sample of the Python suites
#                 (8,000 fuzzed calls, the thread tests at 20 charts a thread, charts,
#                 panchangas, searches); make test runs it.
SANITIZE := build/sanitize
SANITIZE_FLAGS := -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer
SANITIZE_TESTS ?= tests/python
SANITIZE_ENV := ZODIAKIT_SANITIZER=address PYTHONMALLOC=malloc \
	ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1
SANITIZE_PYTEST := $(SANITIZE_ENV) LD_PRELOAD=$$(g++ -print-file-name=libasan.so) \
	PYTHONPATH=$(SANITIZE) $(PY) -m pytest -q -p no:cacheprovider
SANITIZE_SHORT_TESTS := tests/python/test_fuzz.py tests/python/test_threads.py \
	tests/python/test_chart.py tests/python/test_panchanga.py tests/python/test_search.py
.PHONY: sanitize sanitize-short sanitize-configure
sanitize-configure: setup
	cmake -S . -B $(SANITIZE) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZODIAKIT_BUILD_TESTS=ON \
		-DPython_EXECUTABLE=$(CURDIR)/$(PY) -DCMAKE_CXX_FLAGS="$(SANITIZE_FLAGS)" \
		-DCMAKE_C_FLAGS="$(SANITIZE_FLAGS)" -DCMAKE_EXE_LINKER_FLAGS="$(SANITIZE_FLAGS)" \
		-DCMAKE_MODULE_LINKER_FLAGS="$(SANITIZE_FLAGS)"

sanitize: sanitize-configure
	cmake --build $(SANITIZE)
	$(SANITIZE_ENV) ctest --test-dir $(SANITIZE) --output-on-failure
	$(SANITIZE_PYTEST) $(SANITIZE_TESTS)

sanitize-short: sanitize-configure
	cmake --build $(SANITIZE) --target zodiakit_module
	ZK_FUZZ_CALLS=8000 ZODIAKIT_THREAD_CHARTS=20 $(SANITIZE_PYTEST) $(SANITIZE_SHORT_TESTS)

# make sanitize-threads - the module built with ThreadSanitizer, and the thread tests under it.
#                 CPython and glibc are not instrumented: tests/tsan.supp silences what
#                 their hidden synchronisation makes look racy. The Ctrl-C tests are left
#                 out: ThreadSanitizer holds a signal back until the thread calls into one
#                 of its interceptors, and a scan without the lock may not for minutes.
TSAN := build/tsan
TSAN_FLAGS := -fsanitize=thread -fno-omit-frame-pointer
.PHONY: sanitize-threads
sanitize-threads: setup
	cmake -S . -B $(TSAN) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
		-DPython_EXECUTABLE=$(CURDIR)/$(PY) -DCMAKE_CXX_FLAGS="$(TSAN_FLAGS)" \
		-DCMAKE_C_FLAGS="$(TSAN_FLAGS)" -DCMAKE_MODULE_LINKER_FLAGS="$(TSAN_FLAGS)"
	cmake --build $(TSAN) --target zodiakit_module
	ZODIAKIT_SANITIZER=thread TSAN_OPTIONS="halt_on_error=1 suppressions=$(CURDIR)/tests/tsan.supp" \
		LD_PRELOAD=$$(g++ -print-file-name=libtsan.so) PYTHONPATH=$(TSAN) \
		ZODIAKIT_THREAD_CHARTS=20 $(PY) -m pytest -q -p no:cacheprovider -k "not ctrl_c" \
		tests/python/test_threads.py

# make fuzz  - set up, then one million adversarial calls of every entry point; prints the
#              counts by outcome and the faults (exit status 1 when there is one)
.PHONY: fuzz
fuzz: setup
	$(PY) tests/python/fuzz_driver.py --calls 1000000

# make docs - the API reference site (MkDocs, Material theme, mkdocstrings) in build/site.
# The tools live in a venv of their own, .venv-docs; the reference is read from the type
# stub, whose docstrings are the module's (tests/python/test_docs.py holds them equal), so
# the site needs no build of the module.
DOCS_PY := .venv-docs/bin/python
DOCS_SRC := build/docs-src

.PHONY: docs
docs:
	@test -x $(DOCS_PY) || python3 -m venv .venv-docs
	@$(DOCS_PY) -c "import mkdocs, material, mkdocstrings_handlers.python, ruff" 2>/dev/null || \
		{ echo "docs: installing MkDocs, Material, mkdocstrings and ruff into .venv-docs"; \
		  $(DOCS_PY) -m pip install -q mkdocs-material "mkdocstrings[python]" ruff; }
	rm -rf $(DOCS_SRC) && mkdir -p $(DOCS_SRC)/zodiakit
	cp python/zodiakit/__init__.pyi $(DOCS_SRC)/zodiakit/
	NO_MKDOCS_2_WARNING=1 $(DOCS_PY) -m mkdocs build --strict
	@echo "docs: build/site/index.html"
