# The desktop game's faces cut down to the characters the game writes, for the
# builds that carry faces of their own (cmake -P).
# -DMANIFEST=<tessaly-font-manifest's output>, then
# - for the page, -DSITE=<the site's folder> -DTABLE=<the table's file>
#   -DBUNDLE=<the faces' file> (both outside the site): each face as WOFF2,
#   all of them one after another in one file that the page carries inline,
#   and the table of where each face lies in it; the copyright file of the
#   Debian package each comes from goes on the site, in fonts/.
# - for the Windows zip, -DFACES=<its fonts folder> -DLICENCES=<its licences
#   folder>: each face as a font file FreeType draws just as it draws the
#   installed one, and the copyright file of its package as <package>.txt.
find_program(PYFTSUBSET pyftsubset REQUIRED)
file(READ ${MANIFEST} manifest)

# Every caption and figure the game writes is printable ASCII.
set(game_characters U+0020-007E)

function(json_text out index key)
  string(JSON value GET "${manifest}" ${index} ${key})
  set(${out} "${value}" PARENT_SCOPE)
endfunction()

function(json_flag out index key)
  string(JSON value GET "${manifest}" ${index} ${key})
  if(value)
    set(${out} true PARENT_SCOPE)
  else()
    set(${out} false PARENT_SCOPE)
  endif()
endfunction()

# The Debian package that installed `file`.
function(package_of out file)
  execute_process(COMMAND dpkg-query -S ${file} OUTPUT_VARIABLE owner RESULT_VARIABLE failed ERROR_QUIET)
  if(failed)
    message(FATAL_ERROR "${file} belongs to no Debian package: its licence cannot go with it")
  endif()
  string(REGEX REPLACE ":.*" "" owner "${owner}")
  set(${out} ${owner} PARENT_SCOPE)
endfunction()

# Face `index` of `file` cut down to the characters the game writes, as
# `output`; what else goes is for pyftsubset's further options to say.
function(cut_face file index output)
  execute_process(COMMAND ${PYFTSUBSET} ${file} --font-number=${index} --unicodes=${game_characters} ${ARGN}
                          --output-file=${output} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "pyftsubset could not cut ${file} down")
  endif()
endfunction()

string(JSON count LENGTH "${manifest}")
if(count EQUAL 0)
  message(FATAL_ERROR "${MANIFEST} lists no face")
endif()
math(EXPR last "${count} - 1")

if(DEFINED FACES)
  file(REMOVE_RECURSE ${FACES})
  file(MAKE_DIRECTORY ${FACES} ${LICENCES})
  foreach(i RANGE ${last})
    json_text(file ${i} file)
    json_text(index ${i} index)
    package_of(package ${file})
    file(COPY_FILE /usr/share/doc/${package}/copyright ${LICENCES}/${package}.txt)
    get_filename_component(name ${file} NAME)
    if(file MATCHES "\\.(pfb|pfa|t1)$")
      # pyftsubset reads no Type 1 face; such a face is small as it is.
      file(COPY_FILE ${file} ${FACES}/${name})
      continue()
    endif()
    # One face of a collection becomes a font file of its own (uming.ttc's
    # first, uming-0.ttf).
    string(REGEX REPLACE "\\.(tt|ot)c$" "-${index}.\\1f" name ${name})
    if(NOT EXISTS ${FACES}/${name})
      # FreeType and HarfBuzz draw these pixel for pixel as they draw the
      # installed faces on Linux, given what pyftsubset leaves out unless
      # told: the embedded bitmaps (AR PL UMing's characters are bitmaps from
      # 11 to 16 pixels) and the old kerning table, which HarfBuzz reads for
      # text of no named script, as SDL_ttf lays out captions. The hinting
      # programs stay by default. Every name stays, among them the face's own
      # copyright and licence.
      cut_face(${file} ${index} ${FACES}/${name} --drop-tables-=EBDT,EBLC,EBSC --legacy-kern --name-IDs=*)
    endif()
  endforeach()
  return()
endif()

file(REMOVE_RECURSE ${SITE}/fonts)
file(MAKE_DIRECTORY ${SITE}/fonts)
set(scratch ${TABLE}.faces)  # each face cut down, before they go into one file
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch})
set(bundled "")
set(end 0)
set(table "")
foreach(i RANGE ${last})
  json_text(file ${i} file)
  json_text(index ${i} index)
  get_filename_component(stem ${file} NAME_WE)
  package_of(package ${file})
  # A browser reads no Type 1 face: the package's OpenType file of the same
  # name has the same outlines.
  set(outlines ${file})
  if(file MATCHES "\\.(pfb|pfa|t1)$")
    execute_process(COMMAND dpkg-query -L ${package} OUTPUT_VARIABLE listed)
    string(REGEX MATCH "[^\n]*/${stem}\\.otf" outlines "${listed}")
    if(NOT outlines)
      message(FATAL_ERROR "${file} is a Type 1 face and ${package} has no ${stem}.otf beside it")
    endif()
  endif()
  set(woff2 ${scratch}/${stem}.woff2)
  if(NOT EXISTS ${woff2})
    # Without the hinting programs: they were over a third of the faces'
    # bytes, and a face without them is readied sooner. Chromium draws the
    # very same pixels without them, at 1x and at 2x.
    cut_face(${outlines} ${index} ${woff2} --flavor=woff2 --no-hinting)
    file(SIZE ${woff2} size)
    set(at_${stem} ${end})
    set(bytes_${stem} ${size})
    math(EXPR end "${end} + ${size}")
    list(APPEND bundled ${woff2})
  endif()
  file(COPY_FILE /usr/share/doc/${package}/copyright ${SITE}/fonts/${package}.copyright.txt)

  json_text(face ${i} face)
  json_flag(bold ${i} bold)
  json_text(charset ${i} charset)
  json_text(family ${i} family)
  json_flag(synthetic ${i} syntheticBold)
  json_text(em ${i} unitsPerEm)
  json_text(ascender ${i} ascender)
  json_text(descender ${i} descender)
  string(APPEND table "  { face: '${face}', bold: ${bold}, charset: ${charset}, at: ${at_${stem}}, bytes: ${bytes_${stem}}, "
         "installed: '${family}', syntheticBold: ${synthetic}, unitsPerEm: ${em}, ascender: ${ascender}, "
         "descender: ${descender} },\n")
endforeach()
execute_process(COMMAND ${CMAKE_COMMAND} -E cat ${bundled} OUTPUT_FILE ${BUNDLE} RESULT_VARIABLE failed)
file(SIZE ${BUNDLE} size)
if(failed OR NOT size EQUAL end)
  message(FATAL_ERROR "the faces did not go into ${BUNDLE} whole")
endif()
file(WRITE ${TABLE} "[\n${table}]")
