# Project-wide build helpers: one library target per folder, tests beside it.

add_library(orv_opciones INTERFACE)
target_compile_options(orv_opciones INTERFACE -Wall -Wextra)
# Every rounding of a value to four decimals must be the same on every
# machine: no multiply-add fused into one rounding, whatever the target.
target_compile_options(orv_opciones INTERFACE -ffp-contract=off)
# Calls inside a library go straight to its own functions (nothing here is
# meant to be replaced from outside), so they can be inlined.
target_compile_options(orv_opciones INTERFACE -fno-semantic-interposition)
if(ORV_SANITIZE)
  target_compile_options(orv_opciones INTERFACE
    -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  target_link_options(orv_opciones INTERFACE -fsanitize=address,undefined)
endif()
if(ORV_FUZZ)
  # The fuzz build (clang): every library gets the fuzzer's coverage hooks and
  # both sanitizers, and any report stops the run; the fuzz executables link
  # the fuzzer itself (fuzz/CMakeLists.txt).
  target_compile_options(orv_opciones INTERFACE
    -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
  target_link_options(orv_opciones INTERFACE -fsanitize=address,undefined)
endif()

# What `cmake --install` puts where, under the prefix: the program in bin/;
# the shared libraries, which only the program and the Python module load, in
# a private folder; the module where Debian's interpreter finds it. Nothing
# for developers (headers, tests, benches, galleries). The installed binaries
# find the libraries through RPATHs relative to $ORIGIN, so the tree can be
# moved whole.
include(GNUInstallDirs)
if(CMAKE_LIBRARY_ARCHITECTURE)
  # Debian's place for a package's private libraries: lib/<triplet>/<package>.
  set(orv_libdir "lib/${CMAKE_LIBRARY_ARCHITECTURE}/orvane")
else()
  set(orv_libdir "${CMAKE_INSTALL_LIBDIR}/orvane")
endif()
set(ORV_INSTALL_LIBDIR "${orv_libdir}" CACHE STRING
    "Folder of the private libraries, relative to the prefix")
set(ORV_INSTALL_PYTHONDIR "lib/python3/dist-packages" CACHE STRING
    "Folder of the orvane Python module, relative to the prefix")

# orv_install(<target> <folder>): installs the target into <folder> under the
# prefix, with an RPATH to the private libraries from there.
function(orv_install objetivo carpeta)
  file(RELATIVE_PATH relativa "/${carpeta}" "/${ORV_INSTALL_LIBDIR}")
  if(relativa STREQUAL "")
    set(rpath "$ORIGIN")
  else()
    set(rpath "$ORIGIN/${relativa}")
  endif()
  set_target_properties(${objetivo} PROPERTIES INSTALL_RPATH "${rpath}")
  install(TARGETS ${objetivo} RUNTIME DESTINATION ${carpeta} LIBRARY DESTINATION ${carpeta})
endfunction()

# orv_library(NAME <Name> SOURCES ... [PUBLIC_DEPS ...] [PRIVATE_DEPS ...])
# A shared library with public headers in include/ and the alias orv::<Name>;
# installed into the private folder (its headers are not).
function(orv_library)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;PUBLIC_DEPS;PRIVATE_DEPS" ${ARGN})
  add_library(${ARG_NAME} SHARED ${ARG_SOURCES})
  add_library(orv::${ARG_NAME} ALIAS ${ARG_NAME})
  target_include_directories(${ARG_NAME} PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/include
                                         PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/src)
  target_link_libraries(${ARG_NAME} PUBLIC ${ARG_PUBLIC_DEPS} PRIVATE orv_opciones ${ARG_PRIVATE_DEPS})
  set_target_properties(${ARG_NAME} PROPERTIES CXX_VISIBILITY_PRESET default)
  orv_install(${ARG_NAME} ${ORV_INSTALL_LIBDIR})
endfunction()

# orv_test(NAME <name> SOURCES ... DEPS ...): one GoogleTest executable,
# each case a named CTest result.
function(orv_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS;ENV" ${ARGN})
  # The fuzz build runs no tests: they are declared but built only on demand.
  if(ORV_FUZZ)
    add_executable(${ARG_NAME} EXCLUDE_FROM_ALL ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE orv_opciones GTest::gtest GTest::gtest_main ${ARG_DEPS})
    return()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES})
  target_link_libraries(${ARG_NAME} PRIVATE orv_opciones GTest::gtest GTest::gtest_main ${ARG_DEPS})
  gtest_discover_tests(${ARG_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "${ARG_ENV}"
    DISCOVERY_TIMEOUT 60)
endfunction()

# orv_gui_test(NAME <name> SOURCES ... DEPS ...): a GoogleTest executable for
# widgets. Its main creates the QApplication every case shares, and the cases
# run on Qt's offscreen platform. The caller's folder finds Qt6 Widgets.
function(orv_gui_test)
  cmake_parse_arguments(ARG "" "NAME" "SOURCES;DEPS;ENV" ${ARGN})
  if(ORV_FUZZ)
    add_executable(${ARG_NAME} EXCLUDE_FROM_ALL ${ARG_SOURCES})
    target_link_libraries(${ARG_NAME} PRIVATE orv_opciones GTest::gtest ${ARG_DEPS})
    return()
  endif()
  add_executable(${ARG_NAME} ${ARG_SOURCES} ${PROJECT_SOURCE_DIR}/cmake/orv_gui_main.cpp)
  target_link_libraries(${ARG_NAME} PRIVATE orv_opciones GTest::gtest Qt6::Widgets ${ARG_DEPS})
  gtest_discover_tests(${ARG_NAME}
    WORKING_DIRECTORY ${CMAKE_CURRENT_SOURCE_DIR}
    PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;${ARG_ENV}"
    DISCOVERY_TIMEOUT 60)
endfunction()
