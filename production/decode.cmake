add_library(production_decode STATIC DecodeDlg.cpp)
target_link_libraries(production_decode PUBLIC app_ui link)
