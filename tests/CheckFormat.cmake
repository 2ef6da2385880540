# Fails when any C++ source of the project differs from what clang-format makes of it.
# The policies of a current CMake: links are not followed, so a Wine prefix in the build
# folder (whose drive Z: links to /) is not walked.
cmake_minimum_required(VERSION 3.25)
file(GLOB_RECURSE sources RELATIVE ${SOURCE_DIR}
    ${SOURCE_DIR}/*.cpp ${SOURCE_DIR}/*.h)
list(FILTER sources EXCLUDE REGEX "^(build[^/]*|\\.git)/")
execute_process(
    COMMAND ${CLANG_FORMAT} --dry-run --Werror ${sources}
    WORKING_DIRECTORY ${SOURCE_DIR}
    RESULT_VARIABLE result)
if(NOT result EQUAL 0)
    message(FATAL_ERROR "Unformatted sources: run clang-format -i on the files named above.")
endif()
