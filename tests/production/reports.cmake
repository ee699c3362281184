# Tests of production/reports.cmake.
add_qt_test(test_report_records SOURCES test_report_records.cpp LIBS production_records TIMEOUT 120)
add_qt_test(test_report_dialogs SOURCES test_report_dialogs.cpp LIBS production_reports TIMEOUT 120)
add_qt_test(test_ftp_upload SOURCES test_ftp_upload.cpp LIBS production_ftp Qt5::Network TIMEOUT 180)
