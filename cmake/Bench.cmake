# Start-up benchmark: the same native windows made without the runtime (BareWindow) and a
# driver that times both programs to a visible window (StartupBench). Run by scripts/bench.
add_executable(BareWindow WIN32 ${CMAKE_SOURCE_DIR}/tests/bench/BareWindow.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/BareWindow.rc)
target_include_directories(BareWindow PRIVATE ${CMAKE_SOURCE_DIR})
qelvane_flags(BareWindow)
target_compile_definitions(BareWindow PRIVATE ${QELVANE_WIN_DEFINES})
target_link_libraries(BareWindow PRIVATE comctl32 gdi32 user32 kernel32)
# Linked as the program is, so the two differ only in what they do at start.
target_link_options(BareWindow PRIVATE ${QELVANE_EXE_LINK_OPTIONS} -mwindows -municode)

add_executable(StartupBench ${CMAKE_SOURCE_DIR}/tests/bench/StartupBench.cpp)
qelvane_flags(StartupBench)
target_compile_definitions(StartupBench PRIVATE ${QELVANE_WIN_DEFINES})
target_link_libraries(StartupBench PRIVATE user32 kernel32)
target_link_options(StartupBench PRIVATE -static -municode)

# One "获取最新价格" click until the label is repainted, in-process with the real form.
add_executable(ClickBench ${CMAKE_SOURCE_DIR}/tests/bench/ClickBench.cpp)
qelvane_flags(ClickBench)
target_link_libraries(ClickBench PRIVATE qelvane_win)
target_link_options(ClickBench PRIVATE -static -municode)
