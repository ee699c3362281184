# Temperature-chamber panel and DC supply panel.
target_sources(station_logic PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ChamberLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/DcPowerFrames.cpp)
target_sources(station PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibChamber.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibDcPower.cpp)
