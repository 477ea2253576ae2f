# Writes the two files of the site that name the others (cmake -P): the page,
# whose head starts fetching the faces and the WebAssembly at once, before its
# script asks for them, and which carries that script and the table of faces
# inline (two requests fewer before the first frame); and the service worker,
# which keeps every file and whose cache's name changes whenever any file does.
# -DSITE=<the site's folder> -DPAGE=<page/index.html> -DSCRIPT=<page/page.js>
# -DFACES=<the table of faces> -DWORKER=<page/sw.js>

function(write_if_changed file text)
  file(WRITE ${file}.new "${text}")
  file(COPY_FILE ${file}.new ${file} ONLY_IF_DIFFERENT)
  file(REMOVE ${file}.new)
endfunction()

set(preloads "<link rel=\"preload\" href=\"fonts/faces.bin\" as=\"fetch\" crossorigin>
<link rel=\"preload\" href=\"tessaly.wasm\" as=\"fetch\" type=\"application/wasm\" crossorigin>")
file(READ ${SCRIPT} script)
file(READ ${FACES} faces)
set(import "import faces from './fonts.js';")
string(FIND "${script}" "${import}" at)
string(FIND "${script}" "</script" closes)
if(at EQUAL -1 OR NOT closes EQUAL -1)
  message(FATAL_ERROR "${SCRIPT} must import the faces as \"${import}\" and never close a script element")
endif()
string(REPLACE "${import}" "const faces = ${faces};" script "${script}")
file(READ ${PAGE} page)
string(REPLACE "<!-- preloads -->" "${preloads}" page "${page}")
string(REPLACE "<!-- script -->" "<script type=\"module\">\n${script}</script>" page "${page}")
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
