add_executable(memory_reads ${CMAKE_CURRENT_SOURCE_DIR}/memory_reads.cpp)
set_target_properties(memory_reads PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
target_link_libraries(memory_reads PRIVATE Threads::Threads)
