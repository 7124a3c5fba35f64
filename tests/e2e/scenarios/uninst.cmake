# CTest entries of UNINST32.exe's scenarios (scenarios/uninst.cpp), each in
# English and in Chinese (code page 936). Every test starts with a complete
# install by setup.exe in the same prefix: the round trip install, remove
# through the group's link, install again into the same place, remove again;
# and the silent removal followed by runs with nothing installed.
if(NOT TARGET setup OR NOT TARGET uninst32)
  return()
endif()

set(uninst_e2e FILES $<TARGET_FILE:setup> $<TARGET_FILE:uninst32>
               PATHS members=${SETUP_PAYLOAD_MEMBERS_DIR})
foreach(language en zh)
  lumaview_e2e_test(uninst-round-trip
                    STEPS setup.install-full:${language} uninst.remove:${language}
                          setup.install-full:${language} uninst.remove-again:${language}
                    ${uninst_e2e} TIMEOUT 1200)
  lumaview_e2e_test(uninst-silent
                    STEPS setup.install-full:${language} uninst.silent:${language}
                          uninst.nothing:${language}
                    ${uninst_e2e})
endforeach()
