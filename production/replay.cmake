# Replay of a recorded data file into plate 1 of the calibration records (Qt Core only; the
# console wires its replay controls to the worker).
add_library(production_replay STATIC WorkerThread_Replay.cpp)
target_link_libraries(production_replay PUBLIC link_core)
