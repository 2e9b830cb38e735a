# Builds the game as WebAssembly with Debian's emscripten: the game under
# Node (velkor-node.js), the browser module (velkor.js) and the test programs,
# which run under Node. Debian's emscripten optimiser needs its acorn from
# /usr/share/nodejs, and a module run by Node 20 must not use Node's fetch
# to load its .wasm.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

set(VELKOR_NODE_PATH /usr/share/nodejs)
set(CMAKE_CXX_COMPILER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${VELKOR_NODE_PATH})
set(CMAKE_CXX_LINKER_LAUNCHER ${CMAKE_COMMAND} -E env NODE_PATH=${VELKOR_NODE_PATH})
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/node-run.sh)
