"""The compiled part of the Python package: the module's source with the engines and the state
points compiled in, under the flags the CMake build gives them. See pyproject.toml."""

import re
from glob import glob
from pathlib import Path

from pybind11.setup_helpers import Pybind11Extension, build_ext
from setuptools import setup

# The one place the release is named.
release = re.search(r"set\(KELM_RELEASE ([0-9.]+)\)", Path("CMakeLists.txt").read_text())[1]

sources = ["python/src/module.cpp", "calc/points.cpp", "calc/phase.cpp"]
sources += sorted(glob("engine/*.cpp")) + sorted(glob("if97/*.cpp"))
core = Pybind11Extension(
    "kelm._core",
    sources,
    include_dirs=["."],
    cxx_std=20,
    define_macros=[("KELM_RELEASE", f'"{release}"')],
    # Every power the C library's pow and no fused multiply-add: IFC-67's last bits depend on it.
    extra_compile_args=["-O2", "-fno-builtin-pow", "-ffp-contract=off"],
)

setup(
    version=release,
    packages=["kelm"],
    package_dir={"": "python"},
    ext_modules=[core],
    cmdclass={"build_ext": build_ext},
    options={"build": {"build_base": "build-pip"}},  # build/ is CMake's
)
