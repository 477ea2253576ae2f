# Writes the two files of the site that name or carry the others (cmake -P):
# the page, which carries its script, the engine's JavaScript and WebAssembly
# and the faces inline, so that nothing waits on a second request before the
# first frame; and the service worker, which keeps every file and whose
# cache's name changes whenever any file does.
# The page's modules become one plain script at the end of its body: a module
# script waits for the page to be parsed and for its own loading, which put
# the first frame on the screen about 40 ms later.
# -DSITE=<the site's folder> -DPAGE=<page/index.html> -DSCRIPT=<page/page.js>
# (the modules it imports lie beside it: page/engine.js, which wraps the
# engine, and the page's own) -DENGINE=<the engine's .js and .wasm, without the suffix>
# -DFACE_TABLE=<the table of faces> -DFACE_BUNDLE=<the faces, one file>
# -DWORKER=<page/sw.js>

function(write_if_changed file text)
  file(WRITE ${file}.new "${text}")
  file(COPY_FILE ${file}.new ${file} ONLY_IF_DIFFERENT)
  file(REMOVE ${file}.new)
endfunction()

# `text` with `import` replaced by `replacement`, or the build stops.
function(replace_import out text import replacement what)
  string(FIND "${text}" "${import}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "${what} must read \"${import}\"")
  endif()
  string(REPLACE "${import}" "${replacement}" text "${text}")
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

function(base64 out file)
  execute_process(COMMAND base64 -w0 ${file} OUTPUT_VARIABLE text RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "base64 could not read ${file}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

file(READ ${SCRIPT} script)
get_filename_component(modules ${SCRIPT} DIRECTORY)
file(READ ${ENGINE}.js engine)
file(READ ${FACE_TABLE} faces)
base64(engine_data ${ENGINE}.wasm)
base64(face_data ${FACE_BUNDLE})
# The base64 goes into elements of its own ahead of the script, where the
# page's parser passes over it faster than the script's compiler would.
replace_import(script "${script}" "import { faces, faceData, engineData } from './inline.js';"
               "const faces = ${faces};\nconst faceData = document.getElementById('tessaly-faces').textContent;\nconst engineData = document.getElementById('tessaly-engine').textContent;" ${SCRIPT})
set(data "<script type=\"application/octet-stream\" id=\"tessaly-engine\">${engine_data}</script>\n<script type=\"application/octet-stream\" id=\"tessaly-faces\">${face_data}</script>\n")
# The engine's factory, as emcc writes it without ES module syntax.
string(FIND "${engine}" "var createTessaly" factory)
if(factory EQUAL -1)
  message(FATAL_ERROR "${ENGINE}.js must define createTessaly as a plain script")
endif()
# Each module the page imports goes in place of its import, in a scope of its
# own from which the page takes what it imports by name; the engine's module
# goes inside its wrapper's (engine.js). The page's modules import nothing.
while(script MATCHES "import \\{ ([A-Za-z, ]+) \\} from '\\./([a-z_]+)\\.js';")
  set(statement "${CMAKE_MATCH_0}")
  set(names "${CMAKE_MATCH_1}")
  set(path ${modules}/${CMAKE_MATCH_2}.js)
  file(READ ${path} module)
  if(path MATCHES "/engine\\.js$")
    replace_import(module "${module}" "import createTessaly from './tessaly.js';" "" ${path})
  endif()
  if(module MATCHES "(^|\n)import ")
    message(FATAL_ERROR "${path} imports a module: only the page's script may")
  endif()
  string(REGEX REPLACE "\nexport " "\n" module "${module}")
  if(path MATCHES "/engine\\.js$")
    set(module "${engine}\n${module}")
  endif()
  replace_import(script "${script}" "${statement}"
                 "const { ${names} } = (() => {\n${module}\nreturn { ${names} };\n})();" ${SCRIPT})
endwhile()
if(script MATCHES "(^|\n)import ")
  message(FATAL_ERROR "${SCRIPT} must import what it uses of its modules by name")
endif()
string(FIND "${script}" "</script" closes)
string(FIND "${script}" "<!--" escapes)
if(NOT closes EQUAL -1 OR NOT escapes EQUAL -1)
  message(FATAL_ERROR "${SCRIPT} or ${ENGINE}.js closes or escapes a script element: it cannot go into the page")
endif()
file(READ ${PAGE} page)
# Strict, as a module is, and waiting in a function of its own where a module may wait at its top.
string(REPLACE "<!-- script -->" "${data}<script>\n(async () => {\n'use strict';\n${script}})();\n</script>" page "${page}")
write_if_changed(${SITE}/index.html "${page}")

file(GLOB_RECURSE files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM files sw.js)
list(SORT files)
set(listing "'./'")
set(fingerprint "")
foreach(file IN LISTS files)
  file(SHA256 ${SITE}/${file} hash)
  string(APPEND fingerprint "${file} ${hash}\n")
  string(APPEND listing ",\n  './${file}'")
endforeach()
string(SHA256 version "${fingerprint}")
string(SUBSTRING ${version} 0 16 version)
file(READ ${WORKER} worker)
string(REPLACE "'@FILES@'" "${listing}" worker "${worker}")
string(REPLACE "@VERSION@" "${version}" worker "${worker}")
write_if_changed(${SITE}/sw.js "${worker}")
