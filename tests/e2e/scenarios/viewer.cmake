# CTest entries of Lumaview.exe's scenarios (scenarios/viewer.cpp), with the
# coder modules VELOPNM.dll and VELOBMP.dll and the distribution's sample
# pictures. More pictures are made at build time by netpbm: raw pixmaps (one
# larger than the window), a 24-bit Windows bitmap and a pixmap whose header
# gives a height of 0. Only with the viewer, setup and the modules
# built.
if(NOT TARGET lumaview OR NOT TARGET setup OR NOT TARGET velo_pnm OR NOT TARGET velo_bmp
   OR NOT TARGET coder_samples)
  return()
endif()

# The distribution's sample pictures (tools/samples), as FULLDATA ships them.
set(samples ${CMAKE_BINARY_DIR}/tools/samples/samples)
list(TRANSFORM LUMAVIEW_SAMPLE_NAMES PREPEND ${samples}/ OUTPUT_VARIABLE sample_files)

set(pictures ${CMAKE_BINARY_DIR}/e2e-pictures)
set(pixmap ${pictures}/squiggles.ppm)      # 241 x 163
set(bitmap ${pictures}/camouflage.bmp)     # 233 x 151
set(malformed ${pictures}/broken.ppm)
set(large ${pictures}/large.ppm)          # 1300 x 950, larger than the window
add_custom_command(
  OUTPUT ${pixmap} ${bitmap} ${malformed} ${large}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${pictures}
  COMMAND sh -c "ppmpat -randomseed 7 -squig 241 163 >'${pixmap}' 2>/dev/null"
  COMMAND sh -c "ppmpat -randomseed 11 -camo 233 151 2>/dev/null | ppmtobmp -bpp 24 >'${bitmap}' 2>/dev/null"
  COMMAND sh -c "printf 'P6\\n12 0\\n255\\n' >'${malformed}'"
  COMMAND sh -c "ppmpat -randomseed 5 -squig 1300 950 >'${large}' 2>/dev/null"
  COMMENT "Making the pictures of the viewer's end-to-end tests (netpbm)"
  VERBATIM)
add_custom_target(viewer_e2e_pictures ALL DEPENDS ${pixmap} ${bitmap} ${malformed} ${large})

set(viewer_files FILES $<TARGET_FILE:lumaview> $<TARGET_FILE:pixbase> $<TARGET_FILE:velo_pnm>
                 $<TARGET_FILE:velo_bmp>)
set(modules modules=VELOPNM.dll,VELOBMP.dll)
set(as_pixmap PATHS picture=${pixmap} PARAMS ${modules} width=241 height=163 format=PPM)
set(as_bitmap PATHS picture=${bitmap} PARAMS ${modules} width=233 height=151 format=BMP)

# At 100%, the client area equals a sample picture: English with
# Gradient.ppm (320 x 240), Chinese with Rings.bmp (200 x 200). The robot
# reports where the client area lies on the screen; client_area_check.py then
# compares that part of the screenshot with the picture as netpbm reads it.
set(sample_pixmap ${samples}/Gradient.ppm)
set(sample_bitmap ${samples}/Rings.bmp)
set(as_sample_pixmap PATHS picture=${sample_pixmap} PARAMS ${modules} width=320 height=240
                     format=PPM)
set(as_sample_bitmap PATHS picture=${sample_bitmap} PARAMS ${modules} width=200 height=200
                     format=BMP)
set(reports ${CMAKE_BINARY_DIR}/e2e-reports)
file(MAKE_DIRECTORY ${reports})
foreach(case en:sample_pixmap zh:sample_bitmap)
  string(REPLACE ":" ";" fields ${case})
  list(GET fields 0 language)
  list(GET fields 1 kind)
  set(report ${reports}/viewer-actual-${language}.txt)
  lumaview_e2e_test(viewer-actual STEPS viewer.actual:${language} ${viewer_files}
                    ${as_${kind}} PATHS report=${report})
  set_tests_properties(e2e.viewer-actual-${language} PROPERTIES
                       FIXTURES_SETUP viewer_actual_${language})
  add_test(NAME e2e.viewer-pixels-${language}
           COMMAND ${CMAKE_SOURCE_DIR}/tests/viewer/client_area_check.py ${report}
                   ${CMAKE_SOURCE_DIR}/build/screenshots/viewer-actual-1-actual-${language}.png
                   ${${kind}})
  set_tests_properties(e2e.viewer-pixels-${language} PROPERTIES
                       FIXTURES_REQUIRED viewer_actual_${language} LABELS e2e)
endforeach()

# A picture larger than the window at 100%, scrolled to its far corner.
set(report ${reports}/viewer-scroll-en.txt)
lumaview_e2e_test(viewer-scroll STEPS viewer.scroll:en ${viewer_files} PATHS picture=${large}
                  report=${report} PARAMS ${modules} width=1300 height=950 format=PPM)
set_tests_properties(e2e.viewer-scroll-en PROPERTIES FIXTURES_SETUP viewer_scroll_en)
add_test(NAME e2e.viewer-scroll-pixels-en
         COMMAND ${CMAKE_SOURCE_DIR}/tests/viewer/client_area_check.py ${report}
                 ${CMAKE_SOURCE_DIR}/build/screenshots/viewer-scroll-2-scrolled-en.png ${large})
set_tests_properties(e2e.viewer-scroll-pixels-en PROPERTIES FIXTURES_REQUIRED viewer_scroll_en
                     LABELS e2e)

# File > Open: the filter built from the registered formats, the chosen file.
foreach(language en zh)
  lumaview_e2e_test(viewer-open STEPS viewer.open:${language} ${viewer_files} ${as_pixmap})
endforeach()

foreach(language en zh)
  lumaview_e2e_test(viewer-malformed STEPS viewer.malformed:${language} ${viewer_files}
                    ${as_pixmap} PATHS malformed=${malformed}
                    PARAMS "reason=Improper PNM image header")
endforeach()

# The installed product from its program group's link: setup installs a
# FULLDATA of the modules and the samples (in Samples), as the distribution
# ships it, then the link's target shows the first sample and steps to the
# second.
set(fulldata ${CMAKE_BINARY_DIR}/e2e-fulldata)
set(fulldata_stamp ${fulldata}/.staged)
add_custom_command(
  OUTPUT ${fulldata_stamp}
  COMMAND ${CMAKE_COMMAND} -E rm -rf ${fulldata}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${fulldata}/Samples
  COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:velo_pnm> $<TARGET_FILE:velo_bmp> ${fulldata}
  COMMAND ${CMAKE_COMMAND} -E copy ${sample_files} ${fulldata}/Samples
  COMMAND ${CMAKE_COMMAND} -E touch ${fulldata_stamp}
  DEPENDS velo_pnm velo_bmp coder_samples ${sample_files}
  COMMENT "Staging a FULLDATA for the viewer's end-to-end tests"
  VERBATIM)
add_custom_target(viewer_e2e_fulldata ALL DEPENDS ${fulldata_stamp})
foreach(language en zh)
  lumaview_e2e_test(viewer-link STEPS setup.install:${language} viewer.link:${language}
                    FILES $<TARGET_FILE:setup>
                    PATHS members=${SETUP_PAYLOAD_MEMBERS_DIR} fulldata=${fulldata})
endforeach()

lumaview_e2e_test(viewer-handshake STEPS viewer.handshake:en ${viewer_files}
                  FILES $<TARGET_FILE:setup> ${as_pixmap} TIMEOUT 1200)
