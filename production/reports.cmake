# Production record files, the Excel and PDF reports (widget-free, linked by the tests), the
# FTP log upload worker (Qt Core and libcurl) and the two report dialogs.
add_library(production_records STATIC ProductionRecord.cpp ExcelReport.cpp PdfReportPrinter.cpp)
target_link_libraries(production_records PUBLIC app_core Qt5::Gui Qt5::PrintSupport
                      PkgConfig::XLSXWRITER)

add_library(production_ftp STATIC WorkerThread_ftp.cpp)
target_link_libraries(production_ftp PUBLIC app_core PkgConfig::CURL)

add_library(production_reports STATIC ExcelPrintfDlg.cpp PDFPrintDlg.cpp
            ${CMAKE_SOURCE_DIR}/forms/ExcelPrintfDlg.ui ${CMAKE_SOURCE_DIR}/forms/PDFPrintDlg.ui)
target_link_libraries(production_reports PUBLIC app_ui production_records production_ftp
                      Qt5::PrintSupport)
