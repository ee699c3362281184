# The console's soak benchmark: sixteen simulated plates streaming into the console.
add_executable(soak_console soak_console.cpp)
target_link_libraries(soak_console PRIVATE station modulesim)

# The console's screenshot with two simulated plates streaming (run under xvfb-run).
add_executable(soak_console_shot soak_console_shot.cpp)
target_link_libraries(soak_console_shot PRIVATE station modulesim)
