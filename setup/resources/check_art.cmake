# Runs the art tool and checks what setup relies on: bitmap 104 is 121 x 219
# at 4 bits per pixel, the titles 111/112 are 526 x 160 monochrome and carry
# ink (0 bits) as well as background (1 bits), and each of the eleven icons
# holds a 32 x 32 image.
#   cmake -DTOOL=lumaart -DFONT=font.ttc -DOUT=dir -P check_art.cmake
file(REMOVE_RECURSE ${OUT})
file(MAKE_DIRECTORY ${OUT})
execute_process(COMMAND ${TOOL} ${OUT} ${FONT} RESULT_VARIABLE result)
if(NOT result EQUAL 0)
  message(FATAL_ERROR "the art tool failed: ${result}")
endif()

# Little-endian unsigned value of `bytes` bytes at `offset`.
function(read_le file offset bytes out)
  file(READ ${file} hex OFFSET ${offset} LIMIT ${bytes} HEX)
  set(value 0)
  math(EXPR last "${bytes} - 1")
  foreach(i RANGE ${last} 0 -1)
    math(EXPR at "${i} * 2")
    string(SUBSTRING ${hex} ${at} 2 byte)
    math(EXPR value "${value} * 256 + 0x${byte}")
  endforeach()
  set(${out} ${value} PARENT_SCOPE)
endfunction()

function(check_bitmap name width height bits)
  set(file ${OUT}/${name})
  file(READ ${file} magic LIMIT 2 HEX)
  read_le(${file} 18 4 w)
  read_le(${file} 22 4 h)
  read_le(${file} 28 2 b)
  read_le(${file} 30 4 compression)
  if(NOT magic STREQUAL "424d" OR NOT w EQUAL width OR NOT h EQUAL height OR NOT b EQUAL bits
     OR NOT compression EQUAL 0)
    message(FATAL_ERROR "${name}: [${magic}] ${w} x ${h} at ${b} bits (compression ${compression}), wanted ${width} x ${height} at ${bits}")
  endif()
  message(STATUS "${name}: ${w} x ${h} at ${b} bits")
endfunction()

check_bitmap(welcome.bmp 121 219 4)
foreach(title title_zh.bmp title_en.bmp)
  check_bitmap(${title} 526 160 1)
  read_le(${OUT}/${title} 10 4 offset)
  file(READ ${OUT}/${title} pixels OFFSET ${offset} HEX)
  # Rows of 68 bytes: 526 bits, then 2 bits and 2 bytes of padding, so a
  # blank title has 160 x 3 bytes that are not ff. Ink adds to them.
  string(REGEX REPLACE "(..)" "\\1;" bytes "${pixels}")
  set(inked ${bytes})
  list(FILTER inked EXCLUDE REGEX "^ff$")
  list(LENGTH inked ink_bytes)
  set(clear ${bytes})
  list(FILTER clear INCLUDE REGEX "^ff$")
  list(LENGTH clear clear_bytes)
  message(STATUS "${title}: ${ink_bytes} bytes with ink or padding, ${clear_bytes} clear ones")
  if(ink_bytes LESS 1000 OR clear_bytes LESS 5000)
    message(FATAL_ERROR "${title}: ${ink_bytes} inked bytes, ${clear_bytes} clear ones")
  endif()
endforeach()

foreach(frame 01 02 03 04 05 06 07 08 09 10 11)
  set(icon ${OUT}/copy${frame}.ico)
  read_le(${icon} 2 2 type)
  read_le(${icon} 4 2 count)
  file(READ ${icon} first_width OFFSET 6 LIMIT 1 HEX)
  if(NOT type EQUAL 1 OR count LESS 1 OR NOT first_width STREQUAL "20")
    message(FATAL_ERROR "copy${frame}.ico: type ${type}, ${count} images, first width 0x${first_width}")
  endif()
endforeach()
message(STATUS "eleven copy icons")
