# Tests of production/reports.cmake.
