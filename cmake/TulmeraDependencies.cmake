# Every library and program the build uses, found once here; the rooms link them by target.
# All are Debian 12 packages (scripts/install-deps, the README's table).

# Qt: Gui and SVG for the chart images of the core and the batch runner; Widgets, Test (the
# window tests and the screenshot tool) and Linguist (the English translation) for the windows.
find_package(Qt6 6.4 REQUIRED COMPONENTS Core Gui Svg)
if(TULMERA_BUILD_GUI)
  find_package(Qt6 6.4 REQUIRED COMPONENTS Widgets Test LinguistTools)
endif()

# The command line of tulmera-batch (header-only): CLI11::CLI11.
find_package(CLI11 CONFIG REQUIRED)

# NLopt (the leaf fit and the canopy fit's refinement) and libxlsxwriter (the workbooks) come
# through pkg-config: PkgConfig::NLOPT, PkgConfig::XLSXWRITER.
find_package(PkgConfig REQUIRED)
pkg_check_modules(NLOPT REQUIRED IMPORTED_TARGET nlopt)
pkg_check_modules(XLSXWRITER REQUIRED IMPORTED_TARGET xlsxwriter)

# HDF5's C library for the look-up tables: HDF5::HDF5. FindHDF5 test-compiles a C file to
# learn the library's flags; we compile no C ourselves.
enable_language(C)
find_package(HDF5 REQUIRED COMPONENTS C)

# Boost.Random's Sobol sequence for the sensitivity analysis (header-only): Boost::headers.
find_package(Boost 1.74 REQUIRED)
# Highway (libhwy-dev) for the engine's vector arithmetic and its exponential and logarithm:
# hwy::hwy.
find_package(hwy CONFIG REQUIRED)
# nlohmann/json (header-only) for the session files: nlohmann_json::nlohmann_json.
find_package(nlohmann_json 3.10 REQUIRED)

if(TULMERA_BUILD_TESTS)
  find_package(GTest REQUIRED)
endif()
if(TULMERA_BUILD_BENCH)
  # Optional: without it the benchmarks are not built (bench/CMakeLists.txt says so).
  find_package(benchmark QUIET)
endif()

# help2man makes the manual pages from the programs' --help; only the manual pages need it,
# and the Debian package, which refuses to be made without them (cmake/Packaging.cmake).
find_program(HELP2MAN help2man)

# The Python module (python/): pybind11 with Debian's interpreter and numpy. /usr/bin/python3
# is asked for by name, since the first python3 on a developer's PATH may be another one (a
# pyenv build without numpy). Not looked for in sanitized or fuzzing builds: an instrumented
# module cannot be loaded into an interpreter that is not.
set(TULMERA_PYTHON_FOUND OFF)
if(NOT TULMERA_SANITIZE AND NOT TULMERA_FUZZ)
  if(EXISTS /usr/bin/python3)
    set(Python_EXECUTABLE /usr/bin/python3 CACHE FILEPATH "The Python interpreter of the module")
  endif()
  find_package(Python 3 QUIET COMPONENTS Interpreter Development.Module NumPy)
  if(Python_FOUND)
    find_package(pybind11 2.10 CONFIG QUIET)
  endif()
  if(Python_FOUND AND pybind11_FOUND)
    set(TULMERA_PYTHON_FOUND ON)
  endif()
endif()
