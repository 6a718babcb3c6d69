# The Kafka library. By default the pinned librdkafka, built once from Debian's own source package
# into the cache by scripts/librdkafka and linked statically, so the program, the tests, the tools
# and the benchmarks all speak to brokers with the same current client. TESSARON_SYSTEM_RDKAFKA
# links the system's shared librdkafka instead (Debian 12: 2.0.2; README says what it cannot do).
set(TESSARON_RDKAFKA_PINNED 2.14.2)
option(TESSARON_SYSTEM_RDKAFKA "Link the system's librdkafka instead of building the pinned one" OFF)

add_library(TessaronRdKafka INTERFACE)
if(TESSARON_SYSTEM_RDKAFKA)
  pkg_check_modules(RDKAFKA REQUIRED IMPORTED_TARGET rdkafka)
  target_link_libraries(TessaronRdKafka INTERFACE PkgConfig::RDKAFKA)
  message(STATUS "librdkafka: the system's ${RDKAFKA_VERSION} (TESSARON_SYSTEM_RDKAFKA)")
else()
  execute_process(COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/librdkafka ${TESSARON_RDKAFKA_PINNED}
                  OUTPUT_VARIABLE rdkafka_prefix OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rdkafka_result)
  if(NOT rdkafka_result EQUAL 0)
    message(FATAL_ERROR "librdkafka ${TESSARON_RDKAFKA_PINNED} could not be built (why is said above); "
                        "-DTESSARON_SYSTEM_RDKAFKA=ON builds against the system's librdkafka instead")
  endif()
  # Its package configuration finds lz4 with a module it installs beside itself.
  list(APPEND CMAKE_MODULE_PATH ${rdkafka_prefix}/lib/cmake/RdKafka)
  find_package(RdKafka CONFIG REQUIRED PATHS ${rdkafka_prefix} NO_DEFAULT_PATH)
  target_link_libraries(TessaronRdKafka INTERFACE RdKafka::rdkafka)
  message(STATUS "librdkafka: ${RdKafka_VERSION}, static, from ${rdkafka_prefix}")
endif()
