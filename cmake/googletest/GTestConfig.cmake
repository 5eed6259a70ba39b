# The GoogleTest package of a cross build: its targets (GTest::gtest,
# GTest::gtest_main) were made by cmake/googletest_from_source.cmake, so
# there is nothing left to import.
if(NOT TARGET GTest::gtest_main)
  set(GTest_FOUND FALSE)
endif()
