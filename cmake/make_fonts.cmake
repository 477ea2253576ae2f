# The desktop game's faces for the page (cmake -P): each face file cut down to
# the printable ASCII the game writes, as WOFF2, all of them one after another
# in one file that the page carries inline, and the table of where each face
# lies in it; the copyright file of the Debian package each comes from goes on
# the site, in fonts/.
# -DMANIFEST=<tessaly-font-manifest's output> -DSITE=<the site's folder>
# -DTABLE=<the table's file> -DBUNDLE=<the faces' file> (both outside the site)
find_program(PYFTSUBSET pyftsubset REQUIRED)
file(READ ${MANIFEST} manifest)
file(REMOVE_RECURSE ${SITE}/fonts)
file(MAKE_DIRECTORY ${SITE}/fonts)
set(scratch ${TABLE}.faces)  # each face cut down, before they go into one file
file(REMOVE_RECURSE ${scratch})
file(MAKE_DIRECTORY ${scratch})
set(bundled "")
set(end 0)

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

string(JSON count LENGTH "${manifest}")
if(count EQUAL 0)
  message(FATAL_ERROR "${MANIFEST} lists no face")
endif()
math(EXPR last "${count} - 1")
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
    execute_process(COMMAND ${PYFTSUBSET} ${outlines} --font-number=${index} --unicodes=U+0020-007E --flavor=woff2
                            --no-hinting --output-file=${woff2} RESULT_VARIABLE failed)
    if(failed)
      message(FATAL_ERROR "pyftsubset could not cut ${outlines} down")
    endif()
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
