# `format` rewrites every C++ file of the project with clang-format (the repository's .clang-format);
# `format-check` only reports, and fails on the first file clang-format would change. Both use
# Debian's clang-format; without it the targets say so and fail.
find_program(TESSARON_CLANG_FORMAT NAMES clang-format clang-format-14)

set(format_globs)
foreach(dir TessaronCore VelkinInfra VelkinKit VelkinAI VelkinUI VelkinHelpers Tessaron tests bench packaging)
  list(APPEND format_globs ${PROJECT_SOURCE_DIR}/${dir}/*.cpp ${PROJECT_SOURCE_DIR}/${dir}/*.h)
endforeach()
file(GLOB_RECURSE format_files CONFIGURE_DEPENDS ${format_globs})
list(SORT format_files)

if(TESSARON_CLANG_FORMAT)
  add_custom_target(format
    COMMAND ${TESSARON_CLANG_FORMAT} -i ${format_files}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "clang-format over the project's C++ files"
    VERBATIM)
  add_custom_target(format-check
    COMMAND ${TESSARON_CLANG_FORMAT} --dry-run --Werror ${format_files}
    WORKING_DIRECTORY ${PROJECT_SOURCE_DIR}
    COMMENT "Checking the project's C++ files against .clang-format"
    VERBATIM)
else()
  foreach(target format format-check)
    add_custom_target(${target}
      COMMAND ${CMAKE_COMMAND} -E echo "clang-format not found (Debian package clang-format)"
      COMMAND ${CMAKE_COMMAND} -E false
      VERBATIM)
  endforeach()
endif()
