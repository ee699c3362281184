# Command page, Allan retest runs and calibration-flag verdicts.
target_sources(station_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CalibVerdicts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AllanRetest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CmdPageReport.cpp)
