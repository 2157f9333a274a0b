# Cross build for 64-bit Windows with mingw-w64: the test tree for machines
# that cannot execute 32-bit programs (the shipped programs stay 32-bit).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
