# Tests of production/decode.cmake.
