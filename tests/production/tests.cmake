# Tests of production/tests.cmake.
add_qt_test(test_quick_735 SOURCES test_quick_735.cpp LIBS production_tests TIMEOUT 120)
add_qt_test(test_quick_k350 SOURCES test_quick_k350.cpp LIBS production_tests TIMEOUT 120)
add_qt_test(test_screening SOURCES test_screening.cpp LIBS production_tests TIMEOUT 120)
add_dependencies(test_screening translations)
add_qt_test(test_result_db SOURCES test_result_db.cpp LIBS production_tests_core TIMEOUT 60)
add_qt_test(test_quick_grades SOURCES test_quick_grades.cpp LIBS production_tests_core TIMEOUT 60)
add_qt_test(test_english_data SOURCES test_english_data.cpp
            LIBS production_tests production_decode_core production_records station_upload station_dialogs
            TIMEOUT 180)
add_dependencies(test_english_data translations)
