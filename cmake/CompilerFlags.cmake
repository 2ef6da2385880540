# Warnings and source handling for each compiler the bench is built with: GCC and Clang (Linux,
# MinGW-w64), and MSVC, whose sources are read as UTF-8 like the others' (the German texts).
if(MSVC)
    add_compile_options(/W4 /permissive- /utf-8 /Zc:__cplusplus)
else()
    add_compile_options(-Wall -Wextra -Wpedantic)
endif()
