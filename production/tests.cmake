# Quick tests, screening and result databases: the widget-free engine, records, verdicts and
# databases (production_tests_core), and the pages that show them.
add_library(production_tests_core STATIC
  TestResultDb.cpp QuickTestRecords.cpp QuickTestEngine.cpp QuickTestLog.cpp ScreeningRecords.cpp
  ScreeningRun.cpp)
target_link_libraries(production_tests_core PUBLIC link_core Qt5::Sql)

add_library(production_tests STATIC
  IMU_Screening_Dlg.cpp Factory_735_Dlg.cpp Factory_K350_Dlg.cpp QuickTestPage.cpp
  ${CMAKE_SOURCE_DIR}/forms/Factory_735_Dlg.ui ${CMAKE_SOURCE_DIR}/forms/Factory_K350_Dlg.ui
  ${CMAKE_SOURCE_DIR}/forms/IMU_Screening_Dlg.ui)
target_link_libraries(production_tests PUBLIC production_tests_core app_ui link production_reports
  QCustomPlot::QCustomPlot)
