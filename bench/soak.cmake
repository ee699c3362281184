# The console's soak benchmark: sixteen simulated plates streaming into the console.
add_executable(soak_console soak_console.cpp)
target_link_libraries(soak_console PRIVATE station modulesim)
