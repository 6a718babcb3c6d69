# Small helpers shared by every module's CMakeLists.txt.

# tessaron_library(NAME DIR <folder> DEPS <targets...>)
# One static library from every .cpp/.h below DIR; headers are included from the repository root
# ("TessaronCore/kafka/KafkaClient.h").
function(tessaron_library name)
  cmake_parse_arguments(ARG "" "DIR" "DEPS" ${ARGN})
  if(NOT ARG_DIR)
    set(ARG_DIR ${CMAKE_CURRENT_SOURCE_DIR})
  endif()
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${ARG_DIR}/*.cpp ${ARG_DIR}/*.h ${ARG_DIR}/*.qrc)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARG_DEPS})
endfunction()

# tessaron_test(NAME SOURCES <files...> DEPS <targets...> LABELS <unit|integration> [ENV <K=V...>])
# A Qt Test executable registered with CTest, headless, with its files and preferences kept in a
# throwaway folder so no test touches the user's own.
function(tessaron_test name)
  cmake_parse_arguments(ARG "" "TIMEOUT" "SOURCES;DEPS;LABELS;ENV" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE Qt6::Test ${ARG_DEPS})
  target_include_directories(${name} PRIVATE ${PROJECT_SOURCE_DIR} ${PROJECT_SOURCE_DIR}/tests)
  add_test(NAME ${name} COMMAND ${name})
  if(NOT ARG_TIMEOUT)
    set(ARG_TIMEOUT 300)
  endif()
  set(scratch ${CMAKE_BINARY_DIR}/test-home/${name})
  file(MAKE_DIRECTORY ${scratch}/config ${scratch}/data ${scratch}/cache ${scratch}/run)
  file(CHMOD ${scratch}/run DIRECTORY_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE)
  set_tests_properties(${name} PROPERTIES
    LABELS "${ARG_LABELS}"
    TIMEOUT ${ARG_TIMEOUT}
    ENVIRONMENT "QT_QPA_PLATFORM=offscreen;HOME=${scratch};XDG_CONFIG_HOME=${scratch}/config;XDG_DATA_HOME=${scratch}/data;XDG_CACHE_HOME=${scratch}/cache;XDG_RUNTIME_DIR=${scratch}/run;TESSARON_TEST_DATA=${PROJECT_SOURCE_DIR}/tests/data;${ARG_ENV}")
endfunction()

# tessaron_core_component(NAME DEPS <targets...>)
# One folder of TessaronCore as its own static library, linked into the TessaronCore interface.
function(tessaron_core_component name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  tessaron_library(${name} DIR ${CMAKE_CURRENT_SOURCE_DIR} DEPS ${ARG_DEPS})
  set_property(GLOBAL APPEND PROPERTY TESSARON_CORE_COMPONENTS ${name})
endfunction()
