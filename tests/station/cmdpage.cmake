# Tests of the command page, the Allan retest runs and the calibration-flag verdicts.
add_qt_test(test_cmdpage_logic SOURCES test_cmdpage_logic.cpp LIBS station_logic)
add_qt_test(test_cmdpage_page SOURCES test_cmdpage_page.cpp LIBS station modulesim resources TIMEOUT 180)
