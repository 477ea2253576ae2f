# Writes the two files of the site that name or carry the others (cmake -P):
# the page, which carries its script, the engine's JavaScript and WebAssembly
# and the faces inline, so that nothing waits on a second request before the
# first frame; and the service worker, which keeps every file and whose
# cache's name changes whenever any file does.
# The page's modules are bundled (esbuild) into one plain script at the end
# of its body: a module script waits for the page to be parsed and for its
# own loading, which put the first frame on the screen about 40 ms later.
# -DSITE=<the site's folder> -DPAGE=<page/index.html> -DSCRIPT=<the page's
# script as the build lays it out, page/page.js its entry>
# -DENGINE=<the engine's .wasm, without the suffix> -DFACE_TABLE=<the table of
# faces> -DFACE_BUNDLE=<the faces, one file> -DWORKER=<page/sw.js> -DESBUILD=<esbuild>

function(write_if_changed file text)
  file(WRITE ${file}.new "${text}")
  file(COPY_FILE ${file}.new ${file} ONLY_IF_DIFFERENT)
  file(REMOVE ${file}.new)
endfunction()

function(base64 out file)
  execute_process(COMMAND base64 -w0 ${file} OUTPUT_VARIABLE text RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "base64 could not read ${file}")
  endif()
  set(${out} "${text}" PARENT_SCOPE)
endfunction()

# What the page carries inline, as the module the script imports it from
# (page/inline.d.ts): the table of served faces, and the faces and the
# engine's WebAssembly as base64, read from elements of their own ahead of the
# script, where the page's parser passes over them faster than the script's
# compiler would.
file(READ ${FACE_TABLE} faces)
write_if_changed(${SCRIPT}/page/inline.js "// Made by the build (cmake/site_files.cmake).
export const faces = ${faces};
/** @param {string} id */
const text = (id) => document.getElementById(id)?.textContent ?? '';
export const faceData = text('tessaly-faces');
export const engineData = text('tessaly-engine');
")
base64(engine_data ${ENGINE}.wasm)
base64(face_data ${FACE_BUNDLE})
set(data "<script type=\"application/octet-stream\" id=\"tessaly-engine\">${engine_data}</script>\n<script type=\"application/octet-stream\" id=\"tessaly-faces\">${face_data}</script>\n")

# Whitespace only: the test of the page's calls reads the engine's export
# names from the script as the engine's JavaScript writes them.
execute_process(COMMAND ${ESBUILD} ${SCRIPT}/page/page.js --bundle --format=iife --target=es2022
                        --preserve-symlinks --minify-whitespace --log-level=warning
                OUTPUT_VARIABLE script RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR "esbuild could not bundle ${SCRIPT}/page/page.js")
endif()
string(FIND "${script}" "</script" closes)
string(FIND "${script}" "<!--" escapes)
if(NOT closes EQUAL -1 OR NOT escapes EQUAL -1)
  message(FATAL_ERROR "the page's script closes or escapes a script element: it cannot go into the page")
endif()
file(READ ${PAGE} page)
string(REPLACE "<!-- script -->" "${data}<script>\n\"use strict\";\n${script}</script>" page "${page}")
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
