# Tests of this area (add_qt_test).
