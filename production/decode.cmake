# Offline decoder: the widget-free core (number text, row layouts, file loop) and the worker,
# which the tests and the benchmark link; and the decoding page.
add_library(production_decode_core STATIC DecodeNumber.cpp DecodeFormats.cpp DecodeRun.cpp
  WorkerThread_decode.cpp)
target_link_libraries(production_decode_core PUBLIC link_core)

add_library(production_decode STATIC DecodeDlg.cpp ${CMAKE_SOURCE_DIR}/forms/DecodeDlg.ui)
target_link_libraries(production_decode PUBLIC production_decode_core app_ui link)
