# Lays out the page's folder afresh (cmake -P, from web/CMakeLists.txt):
# the page, the game's module, xterm.js with its addons, the guide as HTML,
# the licences, and the service worker that keeps them all, named for this
# version of the site.
file(REMOVE_RECURSE ${SITE})
file(MAKE_DIRECTORY ${SITE}/xterm ${SITE}/licenses)
file(COPY ${PAGE_SOURCES} DESTINATION ${SITE})
file(COPY ${GAME_DIR}/velkor.js ${GAME_DIR}/velkor.wasm ${GAME_DIR}/velkor.data DESTINATION ${SITE})

set(xterm ${NODE_MODULES}/@xterm)
file(COPY ${xterm}/xterm/lib/xterm.mjs ${xterm}/xterm/css/xterm.css ${xterm}/addon-fit/lib/addon-fit.mjs
          ${xterm}/addon-unicode11/lib/addon-unicode11.mjs DESTINATION ${SITE}/xterm)
file(COPY_FILE ${xterm}/xterm/LICENSE ${SITE}/licenses/xterm.txt)
file(COPY_FILE ${xterm}/addon-fit/LICENSE ${SITE}/licenses/addon-fit.txt)
file(COPY_FILE ${xterm}/addon-unicode11/LICENSE ${SITE}/licenses/addon-unicode11.txt)
# The module carries emscripten's runtime, C and C++ libraries.
file(COPY_FILE /usr/share/doc/emscripten/copyright ${SITE}/licenses/emscripten.txt)

execute_process(COMMAND sh ${GUIDE_HTML} ${GUIDE} ${SITE}/guide.html "./" COMMAND_ERROR_IS_FATAL ANY)

# The version is the digest of every file and its name: any change of the
# site is a new version, and the same files are always the same version.
file(GLOB_RECURSE site_files RELATIVE ${SITE} ${SITE}/*)
list(REMOVE_ITEM site_files sw.js)
list(SORT site_files)
set(digests "")
set(listed "\"./\"")
foreach(name IN LISTS site_files)
  file(SHA256 ${SITE}/${name} digest)
  string(APPEND digests "${name} ${digest}\n")
  string(APPEND listed ", \"${name}\"")
endforeach()
string(SHA256 version "${digests}")
string(SUBSTRING ${version} 0 16 VERSION)
set(FILES ${listed})
configure_file(${SERVICE_WORKER} ${SITE}/sw.js @ONLY)
