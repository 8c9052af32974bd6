# The plug-in under test and a stand-in for the program it starts, copied side by side by the tests.
add_executable(plugin_standin_program WIN32 ${CMAKE_CURRENT_SOURCE_DIR}/plugin/standin/StandInProgram.cpp)
set_target_properties(plugin_standin_program PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
add_dependencies(${TEST_TARGET} Bkf4Ie plugin_standin_program)
string(REPLACE "/" "\\" plugin_dll_win "Z:${CMAKE_BINARY_DIR}/bin/Bkf4Ie.dll")
string(REPLACE "/" "\\" standin_win "Z:${CMAKE_BINARY_DIR}/tests/plugin_standin_program.exe")
set_property(TEST ${TEST_NAME} APPEND PROPERTY ENVIRONMENT
  "BKF_PLUGIN_DLL=${plugin_dll_win};BKF_PLUGIN_STANDIN=${standin_win}")
