# Tests of the operator actions, tab pages and replay controls.
add_qt_test(test_actions_logic SOURCES test_actions_logic.cpp LIBS station_logic)
add_qt_test(test_actions_console SOURCES test_actions_console.cpp LIBS station TIMEOUT 120)
add_qt_test(test_actions_replay SOURCES test_actions_replay.cpp LIBS station production_decode modulesim TIMEOUT 120)
add_qt_test(test_manual_buttons SOURCES test_manual_buttons.cpp ../equipment/WireTap.h LIBS station turntablesim TIMEOUT 120)
