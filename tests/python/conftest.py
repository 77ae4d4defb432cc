# The package under test is the one on PYTHONPATH (CMake's build/python; ctest sets it). Tests
# marked slow run only in the thorough run: pytest -m slow.
def pytest_configure(config):
    config.addinivalue_line("markers", "slow: long runs, for scripts/test.sh --all")
