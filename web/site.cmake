# Lays out the page's folder afresh (cmake -P, from web/CMakeLists.txt):
# the page, the game's module, xterm.js with its addons, the guide as HTML
# and the licences.
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

execute_process(COMMAND sh ${GUIDE_HTML} ${GUIDE} ${SITE}/guide.html COMMAND_ERROR_IS_FATAL ANY)
