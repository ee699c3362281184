# Station settings, work-order dialog and the production-data upload.
# Bodies of the service, the one POST and the outbox that keeps every body until the service
# took it (Qt Core and Network, no widgets).
add_library(station_upload STATIC
  ${CMAKE_CURRENT_LIST_DIR}/UploadBodies.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadPoster.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UploadOutbox.cpp)
target_link_libraries(station_upload PUBLIC link_core app_core Qt5::Network)

# The settings dialog and the work-order dialog.
add_library(station_dialogs STATIC
  ${CMAKE_CURRENT_LIST_DIR}/Settings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FormWorkOrderDetails.cpp
  ${CMAKE_SOURCE_DIR}/forms/Settings.ui
  ${CMAKE_SOURCE_DIR}/forms/FormWorkOrderDetails.ui)
target_link_libraries(station_dialogs PUBLIC app_ui equipment station_logic)

target_sources(station PRIVATE ${CMAKE_CURRENT_LIST_DIR}/MultiCalibUpload.cpp)
target_link_libraries(station PUBLIC station_upload station_dialogs)
