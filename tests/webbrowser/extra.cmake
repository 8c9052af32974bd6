# The stand-in for the system's web-browser control, written in C (see WebBrowserStandIn.c).
target_sources(${TEST_TARGET} PRIVATE ${CMAKE_CURRENT_LIST_DIR}/WebBrowserStandIn.c)
