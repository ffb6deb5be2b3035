# Start-up benchmark: the same native windows made without the runtime (BareWindow), the same
# plus the mandated work (BareMandated), and a driver that times the programs to a fully
# painted window (StartupBench). Run by scripts/bench.
add_executable(BareWindow WIN32 ${CMAKE_SOURCE_DIR}/tests/bench/BareWindow.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/BareWindow.rc)
target_include_directories(BareWindow PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_BINARY_DIR}/generated)
add_dependencies(BareWindow vendor_header)
qelvane_flags(BareWindow)
target_compile_definitions(BareWindow PRIVATE ${QELVANE_WIN_DEFINES})
target_link_libraries(BareWindow PRIVATE comctl32 gdi32 user32 kernel32)
# Linked as the program is, so the two differ only in what they do at start.
target_link_options(BareWindow PRIVATE ${QELVANE_EXE_LINK_OPTIONS} -mwindows -municode)

# The bare windows plus the work the program must do whatever its design.
add_executable(BareMandated WIN32 ${CMAKE_SOURCE_DIR}/tests/bench/BareWindow.cpp
  ${CMAKE_SOURCE_DIR}/tests/bench/BareWindow.rc ${CMAKE_SOURCE_DIR}/runtime/NoExceptions.cpp)
qelvane_flags(BareMandated)
target_compile_definitions(BareMandated PRIVATE ${QELVANE_WIN_DEFINES} QELVANE_BARE_MANDATED)
target_compile_options(BareMandated PRIVATE ${QELVANE_LEAN})
target_link_libraries(BareMandated PRIVATE qelvane_app)
target_link_options(BareMandated PRIVATE ${QELVANE_EXE_LINK_OPTIONS} -mwindows -municode)

add_executable(StartupBench ${CMAKE_SOURCE_DIR}/tests/bench/StartupBench.cpp)
qelvane_flags(StartupBench)
target_compile_definitions(StartupBench PRIVATE ${QELVANE_WIN_DEFINES})
target_link_libraries(StartupBench PRIVATE user32 kernel32)
target_link_options(StartupBench PRIVATE -static -municode)

# One "获取最新价格" click until the label is repainted, in-process with the real form.
add_executable(ClickBench ${CMAKE_SOURCE_DIR}/tests/bench/ClickBench.cpp)
qelvane_flags(ClickBench)
target_link_libraries(ClickBench PRIVATE qelvane_app)
target_link_options(ClickBench PRIVATE -static -municode)
