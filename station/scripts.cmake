# Temperature script and advanced chamber-turntable calibration.
target_sources(station_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/TempScript.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AdvancedCalibPlan.cpp
  ${CMAKE_CURRENT_LIST_DIR}/RunGuard.cpp)
target_sources(station PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibTempScript.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibAdvanced.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibRuns.cpp)
