add_library(station STATIC MultiCalib.cpp)
target_link_libraries(station PUBLIC app_ui link station_testtype)
