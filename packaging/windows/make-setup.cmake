# Builds the setup program (cmake -P, from the build's target tickwell_setup):
# installs component Tickwell into STAGE, lists what it holds for the
# installer and the uninstaller, writes the NSIS script and runs makensis.
#
#   -DBINARY_DIR= -DSTAGE= -DSETUP_EXE= -DNSI_IN= -DWORK= -DMAKENSIS=
#   -DPROJECT_VERSION= -DPROJECT_VERSION_MAJOR= -DPROJECT_VERSION_MINOR= -DTICKWELL_ICO=

file(REMOVE_RECURSE ${STAGE})
execute_process(COMMAND ${CMAKE_COMMAND} --install ${BINARY_DIR} --component Tickwell --prefix ${STAGE}
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)

file(GLOB_RECURSE staged RELATIVE ${STAGE} ${STAGE}/*)
list(SORT staged)
set(install_lines "")
set(uninstall_lines "")
set(folders "")
set(bytes 0)
foreach(file ${staged})
  get_filename_component(folder "${file}" DIRECTORY)
  string(REPLACE "/" "\\" folder_win "${folder}")
  string(REPLACE "/" "\\" file_win "${file}")
  if(folder STREQUAL "")
    string(APPEND install_lines "SetOutPath \"$INSTDIR\"\n")
  else()
    string(APPEND install_lines "SetOutPath \"$INSTDIR\\${folder_win}\"\n")
    # Each folder and the folders above it, to be removed once empty.
    while(NOT folder STREQUAL "")
      list(APPEND folders "${folder}")
      get_filename_component(folder "${folder}" DIRECTORY)
    endwhile()
  endif()
  string(APPEND install_lines "File \"${STAGE}/${file}\"\n")
  string(APPEND uninstall_lines "Delete \"$INSTDIR\\${file_win}\"\n")
  file(SIZE ${STAGE}/${file} size)
  math(EXPR bytes "${bytes} + ${size}")
endforeach()
list(REMOVE_DUPLICATES folders)
# The deepest first.
list(SORT folders)
list(REVERSE folders)
foreach(folder ${folders})
  string(REPLACE "/" "\\" folder_win "${folder}")
  string(APPEND uninstall_lines "RMDir \"$INSTDIR\\${folder_win}\"\n")
endforeach()

set(TICKWELL_SETUP_FILES ${WORK}/install-files.nsh)
set(TICKWELL_SETUP_UNFILES ${WORK}/uninstall-files.nsh)
set(TICKWELL_SETUP_STAGE ${STAGE})
set(TICKWELL_SETUP_EXE ${SETUP_EXE})
math(EXPR TICKWELL_SETUP_KB "(${bytes} + 1023) / 1024")
file(WRITE ${TICKWELL_SETUP_FILES} "${install_lines}")
file(WRITE ${TICKWELL_SETUP_UNFILES} "${uninstall_lines}")
configure_file(${NSI_IN} ${WORK}/tickwell.nsi @ONLY)
execute_process(COMMAND ${MAKENSIS} -V2 -INPUTCHARSET UTF8 ${WORK}/tickwell.nsi COMMAND_ERROR_IS_FATAL ANY)
