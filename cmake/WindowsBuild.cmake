# Windows side (mingw-w64 i686): the runtime, the window layer, the program,
# and the test programs that run under Wine.

if(NOT QELVANE_FORMC)
  message(FATAL_ERROR "QELVANE_FORMC must name the host form tool (build the host preset first)")
endif()

set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

# The stored form, produced on the host from the typed tables.
set(QELVANE_FORM_CPP ${CMAKE_BINARY_DIR}/generated/StoredForm.cpp)
add_custom_command(
  OUTPUT ${QELVANE_FORM_CPP}
  COMMAND ${QELVANE_FORMC} --emit-cpp ${QELVANE_FORM_CPP}
  DEPENDS ${QELVANE_FORMC}
  VERBATIM)


# libpng, libjpeg and zlib, linked statically from the set-up's cross builds.
if(NOT QELVANE_DEPS_PREFIX)
  message(FATAL_ERROR "QELVANE_DEPS_PREFIX must name the cross-built libpng/libjpeg (run scripts/setup)")
endif()
target_include_directories(qelvane_ui SYSTEM PUBLIC ${QELVANE_DEPS_PREFIX}/include)
target_link_libraries(qelvane_ui PUBLIC ${QELVANE_DEPS_PREFIX}/lib/libpng16.a
  ${QELVANE_DEPS_PREFIX}/lib/libjpeg.a z)

# The program's code is built for size, throws nothing and carries no unwind tables: nothing
# unwinds through it, and on PE the tables would keep every function alive past --gc-sections.
set(CMAKE_C_FLAGS_RELEASE "-Os -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
# A stack canary in every function with an array or an address taken (libssp, linked statically).
set(QELVANE_LEAN -fno-exceptions -fno-asynchronous-unwind-tables -fno-unwind-tables -fno-rtti
  -fno-threadsafe-statics  # one thread
  -fstack-protector-strong)

set(QELVANE_WIN_BASE UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
# The program may call only what Windows XP has; the test programs may use newer calls.
set(QELVANE_PRODUCT_DEFINES ${QELVANE_WIN_BASE} _WIN32_WINNT=0x0501 WINVER=0x0501)
set(QELVANE_WIN_DEFINES ${QELVANE_WIN_BASE} _WIN32_WINNT=0x0601 WINVER=0x0601)

target_sources(qelvane_ui PRIVATE
  ui/window/ProgramIcon.cpp
  ui/window/WindowLayer.cpp
  ui/window/WindowKeyboard.cpp
  ui/window/WindowPages.cpp
  ui/window/WindowProperties.cpp
  ui/system/Accessible.cpp
  ui/components/Component.cpp
  ui/components/ComponentTypes.cpp
  ui/components/Tab.cpp
  ui/components/RadioBox.cpp
  ui/components/Button.cpp
  ui/components/TransLabel.cpp
  ui/components/SuperBtn.cpp
  ui/components/SuperBtnPainters.cpp
  ui/components/PicBox.cpp
  ui/pictures/PictureDraw.cpp
  ui/pictures/KeyedBitmap.cpp
  ui/system/ColourScheme.cpp
  ui/system/SystemDpi.cpp)
target_sources(qelvane_runtime PRIVATE
  runtime/Heap.cpp
  runtime/Runtime.cpp
  runtime/LoadedWindows.cpp
  runtime/FatalReport.cpp)
target_sources(qelvane_app PRIVATE
  app/Routines.cpp
  app/Links.cpp
  ${QELVANE_FORM_CPP})
# Nothing may unwind through a window procedure or a C callback: our Windows code throws nothing.
foreach(layer IN LISTS QELVANE_LAYERS)
  target_compile_options(qelvane_${layer} PRIVATE ${QELVANE_LEAN})
  target_compile_definitions(qelvane_${layer} PRIVATE ${QELVANE_PRODUCT_DEFINES} INTERFACE ${QELVANE_WIN_BASE})
endforeach()
target_link_libraries(qelvane_base PUBLIC kernel32)
target_link_libraries(qelvane_ui PUBLIC comctl32 ole32 oleaut32 gdi32 user32 advapi32)
target_link_options(qelvane_base INTERFACE -fstack-protector-strong)

# Icon, manifest (common controls 6), version record and the image buttons' click sound;
# the in-process tests link them too, so that they get the same controls as the program.
# Objects, so that the linker cannot drop the unreferenced resources.
enable_language(RC)
add_library(qelvane_resources OBJECT resources/Qelvane.rc resources/Sounds.rc)
target_include_directories(qelvane_resources PRIVATE ${CMAKE_SOURCE_DIR} ${CMAKE_SOURCE_DIR}/resources
  ${CMAKE_BINARY_DIR}/generated)
add_dependencies(qelvane_resources vendor_header)
set_source_files_properties(resources/Qelvane.rc PROPERTIES OBJECT_DEPENDS
  "${CMAKE_SOURCE_DIR}/resources/qelvane.ico;${CMAKE_SOURCE_DIR}/resources/Qelvane.manifest;${QELVANE_VENDOR_HEADER}")
set_source_files_properties(resources/Sounds.rc PROPERTIES OBJECT_DEPENDS ${CMAKE_SOURCE_DIR}/resources/click.wav)

# No SEH: nothing in the image registers a frame-based handler (C++ unwinds by DWARF tables,
# and the runtime's start-up installs none), which cmake/check-image confirms.
set(QELVANE_EXE_LINK_OPTIONS -static -Wl,--dynamicbase,--nxcompat,--no-seh -Wl,--no-insert-timestamp
  -Wl,--gc-sections -s)

add_executable(Qelvane WIN32 app/Main.cpp runtime/NoExceptions.cpp runtime/StackGuard.cpp)
qelvane_flags(Qelvane)
target_compile_options(Qelvane PRIVATE ${QELVANE_LEAN})
target_compile_definitions(Qelvane PRIVATE _WIN32_WINNT=0x0501 WINVER=0x0501)
target_link_libraries(Qelvane PRIVATE qelvane_app qelvane_resources)
target_link_options(Qelvane PRIVATE ${QELVANE_EXE_LINK_OPTIONS} -mwindows)
# The image as Windows and binary analysers expect it: flags, relocations, checksum, stack
# protector, sections, system imports only, and the manifest.
add_custom_command(TARGET Qelvane POST_BUILD
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/cmake/check-image $<TARGET_FILE:Qelvane> ${CMAKE_OBJDUMP}
  VERBATIM)

# The image check fails on each fault it is there for.
add_test(NAME image.TheCheckCatchesEachFault
  COMMAND /usr/bin/python3 ${CMAKE_SOURCE_DIR}/tests/image/check-image-test $<TARGET_FILE:Qelvane> ${CMAKE_OBJDUMP})

# ---- Tests under Wine: one ctest test, and one Wine process, per group of suites ----
include(${CMAKE_SOURCE_DIR}/cmake/GtestSuites.cmake)
set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

file(GLOB QELVANE_WIN_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win/*.cpp)
add_executable(win_tests ${QELVANE_WIN_TESTS} ${CMAKE_SOURCE_DIR}/tests/support/WineTestMain.cpp)
qelvane_flags(win_tests)
target_link_libraries(win_tests PRIVATE qelvane_app qelvane_resources gtest psapi oleacc)
target_compile_definitions(win_tests PRIVATE _WIN32_WINNT=0x0601 WINVER=0x0601)
target_link_options(win_tests PRIVATE -static)
qelvane_add_suite_tests(win_tests "win.")

# Left beside a program under a system DLL's name by the DLL-planting tests.
add_library(PlantedDll SHARED tests/plant/PlantedDll.cpp)
set_target_properties(PlantedDll PROPERTIES PREFIX "")
target_link_options(PlantedDll PRIVATE -static -Wl,--kill-at)
add_dependencies(win_tests PlantedDll)

# Registered by the link tests as the handler of the http, https and tencent schemes.
add_executable(LinkRecorder WIN32 tests/e2e/recorder/LinkRecorder.cpp)
qelvane_flags(LinkRecorder)
target_compile_definitions(LinkRecorder PRIVATE ${QELVANE_WIN_DEFINES})
target_link_libraries(LinkRecorder PRIVATE shell32)
target_link_options(LinkRecorder PRIVATE -static)

file(GLOB QELVANE_E2E_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/*.cpp)
if(QELVANE_E2E_TESTS)
  add_executable(e2e_tests ${QELVANE_E2E_TESTS} ${CMAKE_SOURCE_DIR}/tests/support/WineTestMain.cpp)
  qelvane_flags(e2e_tests)
  target_compile_definitions(e2e_tests PRIVATE ${QELVANE_WIN_DEFINES})
  target_link_libraries(e2e_tests PRIVATE qelvane_app gtest advapi32 user32 gdi32 version kernel32 oleacc ole32 oleaut32)
  target_link_options(e2e_tests PRIVATE -static)
  add_dependencies(e2e_tests Qelvane LinkRecorder PlantedDll)
  qelvane_add_suite_tests(e2e_tests "e2e.")
  # Again under a Western locale (ANSI code page 1252): every text must still read back as
  # the right Chinese, since the program converts from GBK itself.
  qelvane_add_suite_tests(e2e_tests "e2e-cp1252." ENVIRONMENT QELVANE_LANG=en_US.UTF-8)
  # The layout and the price list at 125 %, 150 % and 200 %, each in a prefix set to that DPI.
  foreach(dpi 120 144 192)
    qelvane_add_suite_tests(e2e_tests "e2e-dpi${dpi}." ENVIRONMENT QELVANE_DPI=${dpi}
      SUITES ScaledLayoutTest PriceListTest)
  endforeach()
  # The test prefixes report Windows 10; the screen reader's events once more where Windows 7 is
  # reported, which has no live-region event.
  qelvane_add_suite_tests(e2e_tests "e2e-win7." ENVIRONMENT QELVANE_WINVER=win7 SUITES ScreenReaderTest)
  # Every text read from the screen in Windows' two contrast themes, at 100 % and 150 %.
  foreach(scheme contrast-black contrast-white)
    qelvane_add_suite_tests(e2e_tests "e2e-${scheme}." ENVIRONMENT QELVANE_SCHEME=${scheme}
      SUITES ContrastThemeTest)
    qelvane_add_suite_tests(e2e_tests "e2e-${scheme}-dpi144." ENVIRONMENT "QELVANE_SCHEME=${scheme};QELVANE_DPI=144"
      SUITES ContrastThemeTest)
  endforeach()
endif()

# A second vendor's price list: every key, and the QR code read off the screen, are theirs in
# a program built from it. The three builds are native and niced and run beside the Wine suites;
# the runs take a lane, and the variant display for the other DPIs.
if(TARGET e2e_tests)
  add_test(NAME vendor.ASecondVendorsListBuilds
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-vendor-change --build ${CMAKE_BINARY_DIR}/vendor-change)
  set_tests_properties(vendor.ASecondVendorsListBuilds PROPERTIES TIMEOUT 300 FIXTURES_SETUP vendor
    ENVIRONMENT QELVANE_DEPS_PREFIX=${QELVANE_DEPS_PREFIX})
  add_test(NAME vendor.ASecondVendorsProgramIsTheirsThroughout
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/check-vendor-change --run $<TARGET_FILE:e2e_tests>
      ${CMAKE_BINARY_DIR}/vendor-change)
  set_tests_properties(vendor.ASecondVendorsProgramIsTheirsThroughout PROPERTIES TIMEOUT 300
    FIXTURES_REQUIRED vendor RESOURCE_GROUPS lane:1,variants:1)
endif()

# A settings type without a component class stops the build of the type table.
qelvane_compile_guard(TypeWithoutAClassDoesNotCompile tests/guards/TypeWithoutClass.cpp
  "ComponentClass<[^>]*OrphanProps" qelvane_ui)
target_compile_definitions(guard_TypeWithoutAClassDoesNotCompile PRIVATE ${QELVANE_PRODUCT_DEFINES})

# Benchmarks: measured by scripts/bench, never run as tests.
include(${CMAKE_SOURCE_DIR}/cmake/Bench.cmake OPTIONAL)

# The release path on a clone: bad input refused, two signed releases byte-identical, the
# program in them this build's byte for byte (built from scratch in another path), its signature
# verified, and the signed program working. The builds are native and niced: they run beside the
# Wine tests, on what the emulation leaves of the second core. Only the run takes a lane.
if(TARGET e2e_tests)
  add_test(NAME release.SignedReleasesAreReproducible
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/check-release --build $<TARGET_FILE:Qelvane>)
  set_tests_properties(release.SignedReleasesAreReproducible PROPERTIES TIMEOUT 300
    FIXTURES_SETUP release ENVIRONMENT QELVANE_DEPS_PREFIX=${QELVANE_DEPS_PREFIX})
  add_test(NAME release.TheSignedProgramWorks
    COMMAND bash ${CMAKE_SOURCE_DIR}/tests/release/check-release --run $<TARGET_FILE:e2e_tests>)
  set_tests_properties(release.TheSignedProgramWorks PROPERTIES TIMEOUT 120
    FIXTURES_REQUIRED release RESOURCE_GROUPS lane:1)
endif()
