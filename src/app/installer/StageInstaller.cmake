# Gathers what the installer carries into STAGE (run by the `installer` target with
# cmake -P): the program, the control library and its registration tool, the loading
# animation, every DLL they load from the kit (found by following their imports, not
# listed by hand), the Qt plugins the program needs with their own DLLs, Qt's Korean
# translations, and deploy.ini when one is given.
#
# Variables: STAGE, PROGRAM, CONTROL, REGSVR, LOADING_GIF, KIT, TRANSLATIONS, DEPLOY_INI,
# OBJDUMP (the cross toolchain's).
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${STAGE}")
file(MAKE_DIRECTORY "${STAGE}/platforms" "${STAGE}/styles" "${STAGE}/imageformats"
     "${STAGE}/image" "${STAGE}/translations")

set(plugins
  "${KIT}/plugins/platforms/qwindows.dll"
  "${KIT}/plugins/styles/qwindowsvistastyle.dll"
  "${KIT}/plugins/imageformats/qgif.dll"
  "${KIT}/plugins/imageformats/qico.dll")
foreach(p IN LISTS plugins)
  get_filename_component(folder "${p}" DIRECTORY)
  get_filename_component(folder "${folder}" NAME)
  file(COPY "${p}" DESTINATION "${STAGE}/${folder}")
endforeach()

# Reading a Windows program's imports on the build machine.
set(CMAKE_GET_RUNTIME_DEPENDENCIES_PLATFORM "windows+pe")
set(CMAKE_GET_RUNTIME_DEPENDENCIES_TOOL "objdump")
set(CMAKE_GET_RUNTIME_DEPENDENCIES_COMMAND "${OBJDUMP}")
# The imports name DLLs in any case and CMake looks them up in lower case; the kit's
# names are mixed case on a case-sensitive disk. Follow the imports round by round and
# match the kit's files without regard to case.
file(GLOB kit_dlls "${KIT}/bin/*.dll")
set(found)
set(executables "${PROGRAM}" "${REGSVR}")
set(libraries "${CONTROL}" ${plugins})
while(executables OR libraries)
  set(inputs)
  if(executables)
    list(APPEND inputs EXECUTABLES ${executables})
  endif()
  if(libraries)
    list(APPEND inputs LIBRARIES ${libraries})
  endif()
  file(GET_RUNTIME_DEPENDENCIES ${inputs}
    DIRECTORIES "${KIT}/bin"
    RESOLVED_DEPENDENCIES_VAR resolved
    UNRESOLVED_DEPENDENCIES_VAR unresolved
    # The system's own DLLs are on every Windows machine.
    PRE_EXCLUDE_REGEXES "^api-ms-" "^ext-ms-")
  set(executables)
  set(libraries)
  foreach(name IN LISTS resolved unresolved)
    get_filename_component(name "${name}" NAME)
    string(TOLOWER "${name}" name)
    foreach(dll IN LISTS kit_dlls)
      get_filename_component(kit_name "${dll}" NAME)
      string(TOLOWER "${kit_name}" kit_name)
      if(kit_name STREQUAL name AND NOT dll IN_LIST found)
        list(APPEND found "${dll}")
        list(APPEND libraries "${dll}")
      endif()
    endforeach()
  endforeach()
endwhile()
file(COPY "${PROGRAM}" "${CONTROL}" "${REGSVR}" ${found} DESTINATION "${STAGE}")
file(COPY "${LOADING_GIF}" DESTINATION "${STAGE}/image")
foreach(qm qtbase_ko.qm qt_ko.qm)
  if(EXISTS "${TRANSLATIONS}/${qm}")
    file(COPY "${TRANSLATIONS}/${qm}" DESTINATION "${STAGE}/translations")
  endif()
endforeach()
if(DEPLOY_INI)
  file(COPY_FILE "${DEPLOY_INI}" "${STAGE}/deploy.ini")
endif()
list(LENGTH found count)
message(STATUS "Installer stage: ${count} DLLs from the kit")
