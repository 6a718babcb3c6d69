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

# tessaron_check_widget_free(<targets...>)
# Fails the configuration when any of these targets links, directly or through other targets, a
# Qt module with widgets or pictures (Gui, Widgets, Svg, OpenGL) or a library that does. Core
# logic never depends on widgets; this keeps the rule in every build, the sanitizer build
# included, which builds the application too.
function(tessaron_check_widget_free)
  set(visited "")
  set(pending ${ARGN})
  while(pending)
    list(POP_FRONT pending target)
    if(target IN_LIST visited OR NOT TARGET ${target})
      continue()
    endif()
    list(APPEND visited ${target})
    get_target_property(aliased ${target} ALIASED_TARGET)
    if(aliased)
      set(target ${aliased})
    endif()
    set(links "")
    get_target_property(type ${target} TYPE)
    if(NOT type STREQUAL "INTERFACE_LIBRARY")
      get_target_property(direct ${target} LINK_LIBRARIES)
      if(direct)
        list(APPEND links ${direct})
      endif()
    endif()
    get_target_property(interface ${target} INTERFACE_LINK_LIBRARIES)
    if(interface)
      list(APPEND links ${interface})
    endif()
    foreach(link IN LISTS links)
      # Entries like "::@(0x...)" mark where a link came from; generator expressions are skipped.
      if(link MATCHES "^::@" OR link MATCHES "^\\$<")
        continue()
      endif()
      if(link MATCHES "^Qt6?::(Gui|Widgets|Svg|SvgWidgets|OpenGL|OpenGLWidgets)$"
         OR link MATCHES "^(VelkinUI|VelkinHelpers|TessaronKit|TessaronApp)$")
        message(FATAL_ERROR "${target} links ${link}: core libraries never depend on widgets "
                            "(docs/ARCHITECTURE.md).")
      endif()
      list(APPEND pending ${link})
    endforeach()
  endwhile()
endfunction()
