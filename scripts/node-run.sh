#!/usr/bin/env bash
# Runs a JavaScript program built by emscripten under Node: the test programs
# (as CTest's emulator) and velkor-node.js. Node 20's fetch cannot load a
# .wasm file by path, so the module must not see it.
exec node --no-experimental-fetch "$@"
