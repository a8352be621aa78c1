# The program as an owner receives it: Keyweave.exe with Skins\, Help\, the language file and
# Package\ beside it, in <build>/dist/Keyweave.
set(KW_DIST_DIR ${CMAKE_BINARY_DIR}/dist/Keyweave)

function(kw_stage_distribution exe_target)
  file(GLOB_RECURSE skin_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/skin/Skins/*)
  file(GLOB_RECURSE static_files CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/dist/*)
  add_custom_target(dist ALL
    COMMAND ${CMAKE_COMMAND} -E make_directory ${KW_DIST_DIR}/Skins ${KW_DIST_DIR}/Help ${KW_DIST_DIR}/Package
    COMMAND ${CMAKE_COMMAND} -E copy_if_different $<TARGET_FILE:${exe_target}> ${KW_DIST_DIR}/
    COMMAND ${CMAKE_COMMAND} -E copy_if_different ${CMAKE_SOURCE_DIR}/i18n/Lang0409.ini ${KW_DIST_DIR}/
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/skin/Skins ${KW_DIST_DIR}/Skins
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${CMAKE_SOURCE_DIR}/resources/dist ${KW_DIST_DIR}
    DEPENDS ${exe_target} ${skin_files} ${static_files} ${CMAKE_SOURCE_DIR}/i18n/Lang0409.ini
    COMMENT "Staging the distributable folder ${KW_DIST_DIR}"
    VERBATIM)
endfunction()
