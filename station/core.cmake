# The console's widget-free decisions (reports, result rows, selection file): Qt Core only.
add_library(station_logic STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ConsoleLogic.cpp
  ${CMAKE_CURRENT_LIST_DIR}/PlateView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WorkerDrain.cpp)
target_link_libraries(station_logic PUBLIC link_core app_core)

# The console and its windows.
add_library(station STATIC
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalib.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibLinks.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibPorts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibReports.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MultiCalibTables.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TableView.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FrmShowLog.cpp
  ${CMAKE_SOURCE_DIR}/forms/MultiCalib.ui
  ${CMAKE_SOURCE_DIR}/forms/FrmShowLog.ui)
target_link_libraries(station PUBLIC station_logic station_testtype app_ui link equipment QCustomPlot::QCustomPlot)
