add_executable(frame_bench ${CMAKE_CURRENT_SOURCE_DIR}/frame_bench.cpp)
target_link_libraries(frame_bench PRIVATE geosandbox_app)
set_target_properties(frame_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
