# Fails the build when EXE imports anything but the system DLLs we allow: the known DLLs, which
# Windows loads from the system folder only, and COMCTL32, which the manifest binds to the
# side-by-side assembly. Any other DLL would first be looked for beside the exe.
cmake_policy(SET CMP0057 NEW)  # IN_LIST in script mode
set(allowed KERNEL32.dll USER32.dll GDI32.dll COMCTL32.dll SHELL32.dll ole32.dll OLEAUT32.dll msvcrt.dll
  ADVAPI32.dll)
string(TOLOWER "${allowed}" allowedLower)
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\r\n]+" lines "${dump}")
if(NOT lines)
  message(FATAL_ERROR "${EXE}: no import table found")
endif()
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: " "" dll "${line}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dllLower)
  if(NOT dllLower IN_LIST allowedLower)
    message(FATAL_ERROR "${EXE} imports ${dll}, which is not a system DLL we allow")
  endif()
endforeach()
execute_process(COMMAND ${OBJDUMP} -f ${EXE} OUTPUT_VARIABLE head)
if(NOT head MATCHES "pei-i386")
  message(FATAL_ERROR "${EXE} is not PE32 i386")
endif()
