# Operator actions, tab pages and the replay controls.
target_sources(station_logic PRIVATE ${CMAKE_CURRENT_LIST_DIR}/ConsoleActions.cpp)
target_sources(station PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ConsoleDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibActions.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibLog.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibTabs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibReplay.cpp)
target_link_libraries(station PUBLIC production_replay production_ftp)
