# The sources of qorv_core: every subsystem folder except ui/ and app/. Shared by
# src/CMakeLists.txt and the fuzzing build (tests/fuzz), which compiles the core with
# clang, so that both always build the same files.
file(GLOB_RECURSE QORV_CORE_SOURCES CONFIGURE_DEPENDS
  ${CMAKE_CURRENT_LIST_DIR}/model/*.cpp ${CMAKE_CURRENT_LIST_DIR}/expressions/*.cpp
  ${CMAKE_CURRENT_LIST_DIR}/communication/*.cpp ${CMAKE_CURRENT_LIST_DIR}/scripts/*.cpp
  ${CMAKE_CURRENT_LIST_DIR}/outputs/*.cpp ${CMAKE_CURRENT_LIST_DIR}/shell/*.cpp
  ${CMAKE_CURRENT_LIST_DIR}/platform/*.cpp)
list(FILTER QORV_CORE_SOURCES EXCLUDE REGEX "/ui/")
