# Tests of the temperature script and the advanced chamber-turntable calibration.
add_qt_test(test_scripts_logic SOURCES test_scripts_logic.cpp LIBS station_logic)
add_qt_test(test_scripts_console SOURCES test_scripts_console.cpp ../equipment/WireTap.h ../equipment/ModbusPeer.h LIBS station modulesim turntablesim TIMEOUT 180)
add_qt_test(test_scripts_supply SOURCES test_scripts_supply.cpp UploadServer.h ../equipment/WireTap.h ../equipment/ModbusPeer.h
            LIBS station modulesim TIMEOUT 420)
add_qt_test(test_runs_console SOURCES test_runs_console.cpp UploadServer.h LIBS station modulesim turntablesim TIMEOUT 240)
