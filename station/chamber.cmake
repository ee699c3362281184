# Sources of this area: target_sources(station PRIVATE ${CMAKE_CURRENT_LIST_DIR}/X.cpp) and, for widget-free code, target_sources(station_logic PRIVATE ...).
