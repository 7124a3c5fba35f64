# CTest entries of setup.exe's scenarios (scenarios/setup.cpp), each in
# English and in Chinese (code page 936). An upgrade plays two installs in
# one prefix. Only with the installer built.
if(NOT TARGET setup)
  return()
endif()

set(setup_e2e FILES $<TARGET_FILE:setup> PATHS members=${SETUP_PAYLOAD_MEMBERS_DIR})
foreach(language en zh)
  foreach(scenario install cancel-start cancel-copy chooser exit-when-done)
    lumaview_e2e_test(setup-${scenario} STEPS setup.${scenario}:${language} ${setup_e2e})
  endforeach()
endforeach()
# A path whose double-byte character ends in the byte of a backslash (code
# page 936 only).
lumaview_e2e_test(setup-install-dbcs STEPS setup.install-dbcs:zh ${setup_e2e})
# A Chinese group name is written in code page 936: an English run after a
# Chinese one reads another name, as on Windows, so no zh-then-en upgrade.
foreach(pair en:en en:zh zh:zh)
  string(REPLACE ":" ";" languages ${pair})
  list(GET languages 0 first)
  list(GET languages 1 second)
  lumaview_e2e_test(setup-upgrade STEPS setup.install:${first} setup.upgrade:${second} ${setup_e2e})
endforeach()
