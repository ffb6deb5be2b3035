# Host side: the form tables, the form tool and the unit tests.

find_package(GTest REQUIRED)
find_package(PNG REQUIRED)
find_package(JPEG REQUIRED)
target_link_libraries(qelvane_ui PUBLIC PNG::PNG JPEG::JPEG)

# The pictures the form carries, compiled in as byte arrays.
set(QELVANE_PICTURES_CPP ${CMAKE_BINARY_DIR}/generated/EmbeddedPictures.cpp)
add_custom_command(
  OUTPUT ${QELVANE_PICTURES_CPP}
  COMMAND ${CMAKE_COMMAND}
    -DOUTPUT=${QELVANE_PICTURES_CPP}
    -DINPUTS=${CMAKE_SOURCE_DIR}/resources/qq-badge.png|kQqBadgePng|${QELVANE_QR_PICTURE}|kQrCode
    -P ${CMAKE_SOURCE_DIR}/cmake/EmbedBytes.cmake
  DEPENDS ${CMAKE_SOURCE_DIR}/resources/qq-badge.png ${QELVANE_QR_PICTURE}
          ${CMAKE_SOURCE_DIR}/cmake/EmbedBytes.cmake
  VERBATIM)

add_library(qelvane_form_tables STATIC app/MainWindowForm.cpp ${QELVANE_PICTURES_CPP})
qelvane_flags(qelvane_form_tables LAYER)
target_link_libraries(qelvane_form_tables PUBLIC qelvane_app)

add_executable(formc tools/formc.cpp)
qelvane_flags(formc)
set_target_properties(formc PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tools)
target_link_libraries(formc PRIVATE qelvane_form_tables)

file(GLOB QELVANE_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(unit_tests ${QELVANE_UNIT_TESTS})
qelvane_flags(unit_tests)
target_link_libraries(unit_tests PRIVATE qelvane_form_tables qelvane_vendorfile GTest::gtest
  GTest::gtest_main)
target_compile_options(unit_tests PRIVATE -fsanitize=address,undefined -fno-sanitize-recover=all)
target_link_options(unit_tests PRIVATE -fsanitize=address,undefined)
target_compile_definitions(unit_tests PRIVATE QELVANE_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
  QELVANE_QR_PICTURE="${QELVANE_QR_PICTURE}"
  QELVANE_LIBPNG_SRC="${QELVANE_LIBPNG_SRC}" QELVANE_LIBJPEG_SRC="${QELVANE_LIBJPEG_SRC}")
gtest_discover_tests(unit_tests TEST_PREFIX "unit." DISCOVERY_TIMEOUT 60)
