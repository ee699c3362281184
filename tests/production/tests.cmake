# Tests of production/tests.cmake.
