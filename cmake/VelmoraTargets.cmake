# velmora_library(name dir [PUBLIC deps...] [PRIVATE deps...]): a static library of every
# source under dir. PUBLIC deps are those its headers expose; PRIVATE ones only its sources use.
function(velmora_library name dir)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS
       ${CMAKE_SOURCE_DIR}/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/${dir}/*.h ${CMAKE_SOURCE_DIR}/${dir}/*.qrc)
  add_library(${name} STATIC ${sources} ${CMAKE_SOURCE_DIR}/cmake/empty.cpp)
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR}/src)
  if(ARGN)
    target_link_libraries(${name} ${ARGN})
  endif()
endfunction()

# velmora_test(name dir main deps...): one test program of every source under tests/dir,
# run by ctest. main is GTEST (GoogleTest's own main, for Qt-free code) or QT
# (tests/qt_main.cpp, which creates the application object first).
function(velmora_test name dir main)
  file(GLOB_RECURSE sources CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/${dir}/*.cpp ${CMAKE_SOURCE_DIR}/tests/${dir}/*.h)
  if(NOT sources)
    return()
  endif()
  if(main STREQUAL "QT")
    list(APPEND sources ${CMAKE_SOURCE_DIR}/tests/qt_main.cpp)
    set(main_lib Qt6::Test Qt6::Widgets)
  else()
    set(main_lib GTest::gtest_main)
  endif()
  add_executable(${name} ${sources})
  target_link_libraries(${name} PRIVATE ${ARGN} ${main_lib} GTest::gtest GTest::gmock)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR}/tests ${CMAKE_SOURCE_DIR}/src)
  target_compile_definitions(${name} PRIVATE VELMORA_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                             VELMORA_BINARY_DIR="${CMAKE_BINARY_DIR}")
  gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen")
endfunction()
