# Tests of production/replay.cmake.
add_qt_test(test_replay SOURCES test_replay.cpp LIBS production_replay TIMEOUT 120)
