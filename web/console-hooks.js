// The host's side of the game's console under Node, where no page sets the
// hooks (web/host-contract.md): lines from process.stdin as bytes, output to
// process.stdout as bytes. (The environment's variables, for the locale's
// name as on Linux, are emscripten-internals.js's.)
if (typeof process === "object" && process.versions && process.versions.node) {
  const fs = require("fs");
  if (!Module.velkorReadLine) {
    // What has been read from stdin and not yet handed out as a line.
    let pending = Buffer.alloc(0);
    let ended = false;
    const readMore = () =>
      new Promise((resolve) => {
        const onData = (chunk) => {
          cleanUp();
          pending = Buffer.concat([pending, chunk]);
          resolve();
        };
        const onEnd = () => {
          cleanUp();
          ended = true;
          resolve();
        };
        const cleanUp = () => {
          process.stdin.off("data", onData);
          process.stdin.off("end", onEnd);
          process.stdin.off("error", onEnd);
          process.stdin.pause();
        };
        process.stdin.on("data", onData);
        process.stdin.on("end", onEnd);
        process.stdin.on("error", onEnd);
        process.stdin.resume();
      });
    Module.velkorReadLine = async () => {
      for (;;) {
        const end = pending.indexOf(10);
        if (end >= 0) {
          const line = new Uint8Array(pending.subarray(0, end));
          pending = pending.subarray(end + 1);
          return line;
        }
        if (ended) {
          if (pending.length === 0) return null;
          const line = new Uint8Array(pending);
          pending = Buffer.alloc(0);
          return line;
        }
        await readMore();
      }
    };
  }
  if (!Module.velkorWrite) {
    Module.velkorWrite = (bytes) => {
      for (let done = 0; done < bytes.length; ) {
        try {
          done += fs.writeSync(1, bytes, done, bytes.length - done);
        } catch (e) {
          if (e.code !== "EAGAIN") throw e;
        }
      }
    };
  }
  if (!Module.velkorConsole) {
    Module.velkorConsole = {
      inputIsTerminal: !!process.stdin.isTTY,
      outputIsTerminal: !!process.stdout.isTTY,
    };
  }
}

