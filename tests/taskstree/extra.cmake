# The tree's frame reads and writes the settings file beside the test program, as the main-frame
# and start-up tests do: never at the same time as they.
set_tests_properties(${TEST_NAME} PROPERTIES RUN_SERIAL TRUE)
