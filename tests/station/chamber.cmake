# Tests of the temperature-chamber panel and the DC supply panel.
add_qt_test(test_chamber_logic SOURCES test_chamber_logic.cpp LIBS station_logic)
add_qt_test(test_chamber_panel SOURCES test_chamber_panel.cpp ../equipment/WireTap.h ../equipment/ModbusPeer.h
            LIBS station TIMEOUT 120 COST 23)
