# Tests of production/decode.cmake.
add_qt_test(test_decode_number SOURCES test_decode_number.cpp LIBS production_decode_core)
add_qt_test(test_decode_formats SOURCES test_decode_formats.cpp LIBS production_decode_core)
add_qt_test(test_decode_run SOURCES test_decode_run.cpp LIBS production_decode_core decode_bench_kit modulesim)
add_qt_test(test_decode_worker SOURCES test_decode_worker.cpp
            LIBS production_decode_core decode_bench_kit modulesim)
add_dependencies(test_decode_worker decode_bench)
add_qt_test(test_decode_page SOURCES test_decode_page.cpp LIBS production_decode)
