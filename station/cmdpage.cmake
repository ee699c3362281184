# Command page, Allan retest runs and calibration-flag verdicts.
target_sources(station_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/CalibVerdicts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AllanRetest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CmdPageReport.cpp)
target_sources(station PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/multi_calib_cmd.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibAllan.cpp
  ${CMAKE_SOURCE_DIR}/forms/multi_calib_cmd.ui)
target_sources(station PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MultiCalibVerdicts.cpp)
