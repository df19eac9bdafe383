# The fold table of core/codepage.cpp, written from ICU's normalisation data by a program run at
# build time, so that core itself needs no ICU. bible_fold_table(TARGET) makes TARGET's sources
# find "foldtable.inc".
function(bible_fold_table target)
  find_package(PkgConfig REQUIRED)
  pkg_check_modules(ICU_FOLD REQUIRED IMPORTED_TARGET icu-uc)
  get_filename_component(root ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/.. ABSOLUTE)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/generated)
  if(NOT TARGET foldtable)
    add_executable(foldtable ${root}/core/gen/foldtable.cpp)
    target_link_libraries(foldtable PRIVATE PkgConfig::ICU_FOLD)
    add_custom_command(OUTPUT ${out}/foldtable.inc
                       COMMAND ${CMAKE_COMMAND} -E make_directory ${out}
                       COMMAND foldtable ${out}/foldtable.inc
                       DEPENDS foldtable
                       COMMENT "Writing the fold table from ICU")
    add_custom_target(foldtable_inc DEPENDS ${out}/foldtable.inc)
  endif()
  add_dependencies(${target} foldtable_inc)
  target_include_directories(${target} PRIVATE ${out})
endfunction()
