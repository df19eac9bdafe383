# The core and settings tests once more, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a build of their own; the main test run starts them as one test.
include(ExternalProject)
ExternalProject_Add(sanitized
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${CMAKE_BINARY_DIR}/sanitized
  CMAKE_ARGS -DBIBLE_CORE_ONLY=ON -DBIBLE_SANITIZE=address,undefined -DCMAKE_BUILD_TYPE=Debug
             -DBIBLE_WERROR=${BIBLE_WERROR} -DBIBLE_SANITIZER_TESTS=OFF
  BUILD_ALWAYS ON
  INSTALL_COMMAND ""
  USES_TERMINAL_BUILD ON)
add_test(NAME sanitized_core_and_settings
         COMMAND ${CMAKE_CTEST_COMMAND} --test-dir ${CMAKE_BINARY_DIR}/sanitized
                 --output-on-failure --timeout 300)
set_tests_properties(sanitized_core_and_settings PROPERTIES TIMEOUT 900
  ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1")
