# A real proxy with Basic authorization (tinyproxy) on a fixed loopback port, started and
# stopped around the network tests as a CTest fixture.
set(BKF_NET_PROXY_PORT 18631)
set(BKF_NET_PROXY_USER bkfuser)
set(BKF_NET_PROXY_PASSWORD bkfsecret)
set(bkf_net_proxy_dir ${CMAKE_BINARY_DIR}/scratch/${TEST_NAME}-proxy)
add_test(NAME ${TEST_NAME}_proxy_start
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/proxy.sh start ${bkf_net_proxy_dir} ${BKF_NET_PROXY_PORT}
          ${BKF_NET_PROXY_USER} ${BKF_NET_PROXY_PASSWORD})
add_test(NAME ${TEST_NAME}_proxy_stop
  COMMAND sh ${CMAKE_CURRENT_LIST_DIR}/proxy.sh stop ${bkf_net_proxy_dir} ${BKF_NET_PROXY_PORT})
set_tests_properties(${TEST_NAME}_proxy_start PROPERTIES FIXTURES_SETUP ${TEST_NAME}_proxy TIMEOUT 30)
set_tests_properties(${TEST_NAME}_proxy_stop PROPERTIES FIXTURES_CLEANUP ${TEST_NAME}_proxy TIMEOUT 30)
set_tests_properties(${TEST_NAME} PROPERTIES FIXTURES_REQUIRED ${TEST_NAME}_proxy)
set_property(TEST ${TEST_NAME} APPEND PROPERTY ENVIRONMENT
  "BKF_NET_PROXY_PORT=${BKF_NET_PROXY_PORT}"
  "BKF_NET_PROXY_USER=${BKF_NET_PROXY_USER}"
  "BKF_NET_PROXY_PASSWORD=${BKF_NET_PROXY_PASSWORD}")
