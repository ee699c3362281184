# The automatic turntable test type and the click tester (Qt Core only).
add_library(station_testtype STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AutoTurnTableTestType.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Multi_calib_test.cpp)
target_link_libraries(station_testtype PUBLIC app_core)
