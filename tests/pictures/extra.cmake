# The frame reads and writes the settings and language files beside the test program, as the
# start-up tests do: never at the same time as they.
set_tests_properties(${TEST_NAME} PROPERTIES RUN_SERIAL TRUE)
