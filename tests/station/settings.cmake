# Tests of the station settings dialog, the work-order dialog and the production-data upload.
add_qt_test(test_settings_dialogs SOURCES test_settings_dialogs.cpp LIBS station_dialogs)
add_qt_test(test_settings_upload SOURCES test_settings_upload.cpp UploadServer.h LIBS station_upload TIMEOUT 120)
add_qt_test(test_settings_console SOURCES test_settings_console.cpp UploadServer.h LIBS station TIMEOUT 120)
add_qt_test(test_upload_outbox SOURCES test_upload_outbox.cpp UploadServer.h LIBS station_upload TIMEOUT 120)
add_qt_test(test_console_outbox SOURCES test_console_outbox.cpp UploadServer.h LIBS station TIMEOUT 120)
