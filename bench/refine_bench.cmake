add_executable(refine_bench ${CMAKE_CURRENT_SOURCE_DIR}/refine_bench.cpp)
target_link_libraries(refine_bench PRIVATE geosandbox_core)
set_target_properties(refine_bench PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
