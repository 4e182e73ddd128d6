# clang has no -fexec-charset=CP936. For the fuzz build every C++ compile goes through
# gbk-compile (built here with the configured compiler), which gives the ordinary literals their
# GBK bytes exactly as g++ does; see gbk_compile.cpp.
set(CX_GBK_COMPILE ${CMAKE_BINARY_DIR}/gbk-compile)
set(cx_gbk_compile_source ${CMAKE_CURRENT_LIST_DIR}/gbk_compile.cpp)
if(NOT EXISTS ${CX_GBK_COMPILE} OR ${cx_gbk_compile_source} IS_NEWER_THAN ${CX_GBK_COMPILE})
  execute_process(
    COMMAND ${CMAKE_CXX_COMPILER} -std=c++20 -O1 -Wall -Wextra -Werror
            -o ${CX_GBK_COMPILE} ${cx_gbk_compile_source}
    RESULT_VARIABLE cx_gbk_compile_result)
  if(NOT cx_gbk_compile_result EQUAL 0)
    message(FATAL_ERROR "could not build ${CX_GBK_COMPILE}")
  endif()
endif()
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${cx_gbk_compile_source})
set(CMAKE_CXX_COMPILER_LAUNCHER ${CX_GBK_COMPILE})
add_compile_options(-finput-charset=UTF-8)
