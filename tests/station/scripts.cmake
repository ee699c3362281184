# Tests of the temperature script and the advanced chamber-turntable calibration.
add_qt_test(test_scripts_logic SOURCES test_scripts_logic.cpp LIBS station_logic)
add_qt_test(test_scripts_console SOURCES test_scripts_console.cpp ../equipment/WireTap.h ../equipment/ModbusPeer.h LIBS station modulesim turntablesim TIMEOUT 180
            COST 32)
# The sweep of stops (aStopEndsTheRunWhereItIs) runs as programs of its own, by the service's
# answer delay (the longest delay's rows by the stop's cause, in two halves), beside a program of
# the three longest whole-run functions and one of every other function (a new one lands there).
set(supply_sources test_scripts_supply.cpp UploadServer.h ../equipment/WireTap.h ../equipment/ModbusPeer.h)
set(supply_long_runs "anImuSilentMidRunIsNgOnScreenAndInThePost,aScriptSwitchesTheSupplyOnAtTheSetPointTypedOnThePage,thePostCarriesTheFlagsTheModulesSetOnTheEndCode")
add_qt_test(test_scripts_supply SOURCES ${supply_sources} LIBS station modulesim TIMEOUT 300 COST 30
            DEFINES "TEST_PART_SKIP=\"aStopEndsTheRunWhereItIs,${supply_long_runs}\"")
add_qt_test(test_scripts_supply_long_runs SOURCES ${supply_sources} LIBS station modulesim TIMEOUT 300 COST 33
            DEFINES "TEST_PART_ONLY=\"${supply_long_runs}\"")
foreach(part "at_once;0.0;0,1,2,3;25" "after_0_5s;0.5;0,1,2,3;25" "after_2s_by_operator_or_disconnect;2.0;0,1;35"
             "after_2s_by_exit_or_supply_loss;2.0;2,3;35")
  list(GET part 0 suffix)
  list(GET part 1 delay)
  list(GET part 2 causes)
  list(GET part 3 cost)
  add_qt_test(test_scripts_supply_stops_${suffix} SOURCES ${supply_sources} LIBS station modulesim TIMEOUT 300 COST ${cost}
              DEFINES [[TEST_PART_ONLY="aStopEndsTheRunWhereItIs"]] SUPPLY_STOP_ANSWER_DELAY=${delay}
                      SUPPLY_STOP_CAUSES=${causes})
endforeach()
# The runs' console tests as two programs side by side: the three longest whole runs, and every
# other function (a new one lands there).
set(runs_sources test_runs_console.cpp UploadServer.h)
set(runs_long "anAdvancedRunWhoseChamberNeverReachesItsTargetStopsAtTheBound,aStopInTheAdvancedCoolDownKeepsThePost,theAllanRunsAreReleasedBeforeTheirBoxesAndAStopInTheLastMinuteKeepsThePost")
add_qt_test(test_runs_console SOURCES ${runs_sources} LIBS station modulesim turntablesim TIMEOUT 240 COST 31
            DEFINES "TEST_PART_SKIP=\"${runs_long}\"")
add_qt_test(test_runs_console_long_runs SOURCES ${runs_sources} LIBS station modulesim turntablesim TIMEOUT 240
            COST 29 DEFINES "TEST_PART_ONLY=\"${runs_long}\"")
