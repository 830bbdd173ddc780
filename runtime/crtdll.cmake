# The program's C runtime is crtdll.dll, not msvcrt.dll.
#
# Windows 95 as first released has no msvcrt.dll (OSR2, Internet Explorer 4 and applications
# brought it later), and its loader refuses a program that imports a DLL it lacks, so the
# program would never reach its own notice window there. Every 95, 98, ME, NT 4.0, 2000 and XP
# has crtdll.dll, the older C runtime.
#
# gcc names the runtime in its built-in link rules (-lmsvcrt in the libgcc rule); the link is
# given a copy of that rule with -lcrtdll instead. mingw-w64's libcrtdll.a carries the glue that
# its crt2.o, libmingw32 and libmingwex expect from msvcrt (__getmainargs over __GetMainArgs,
# __p__fmode over _fmode_dll, ...); crtdll_gaps.c supplies the few names libstdc++ still needs,
# and semaphore_of_family.c fills the thread runtime's CreateSemaphoreW import slot with the
# call of the family it runs on.
# A function that neither crtdll.dll nor that glue provides fails the link; what is imported is
# checked against tests/build/allowed-imports.txt by tests/build/import_table.py.

# olvex_link_crtdll(<target>): links <target> against crtdll.dll instead of msvcrt.dll.
function(olvex_link_crtdll target)
  execute_process(COMMAND ${CMAKE_CXX_COMPILER} -dumpspecs
                  OUTPUT_VARIABLE specs RESULT_VARIABLE failed)
  string(REGEX MATCH "\\*libgcc:\n[^\n]*" libgcc "${specs}")
  string(REGEX MATCHALL " -lmsvcrt " runtime "${libgcc}")
  list(LENGTH runtime count)
  if(failed OR NOT count EQUAL 1)
    message(FATAL_ERROR "${CMAKE_CXX_COMPILER}'s libgcc link rule does not name -lmsvcrt once; "
                        "cannot put crtdll in its place:\n${libgcc}")
  endif()
  string(REPLACE " -lmsvcrt " " -lcrtdll " libgcc "${libgcc}")
  set(file ${CMAKE_BINARY_DIR}/crtdll.specs)
  file(CONFIGURE OUTPUT ${file} CONTENT "${libgcc}\n\n" @ONLY)
  target_link_options(${target} PRIVATE -specs=${file})
  target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/crtdll_gaps.c
                                   ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/semaphore_of_family.c)
  # A changed link rule must relink.
  set_property(TARGET ${target} APPEND PROPERTY LINK_DEPENDS ${file})
endfunction()
