// The host's side of the game's console and environment under Node, where
// no page sets the hooks (web/host-contract.md): lines from process.stdin as
// bytes, output to process.stdout as bytes, and the environment's variables
// for the game's getenv (the locale's name, as on Linux).
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
  // The game reads the locale from the real environment, not emscripten's
  // made-up one (whose LANG would claim a UTF-8 locale).
  Module.preRun = [].concat(Module.preRun || [], () => {
    for (const name of Object.keys(ENV)) ENV[name] = undefined;
    for (const name of ["LANG", "USER", "LOGNAME", "PATH", "PWD", "HOME", "_"]) ENV[name] = undefined;
    Object.assign(ENV, process.env);
    // The real files: emscripten drops O_NONBLOCK on the way to Node, and
    // the file layer's open of a FIFO would then wait for a writer forever.
    if (typeof NODEFS === "object") {
      const flagsForNode = NODEFS.flagsForNode;
      const nonBlocking = 0o4000; // O_NONBLOCK of emscripten's C library
      NODEFS.flagsForNode = (flags) =>
        flagsForNode(flags) | (flags & nonBlocking ? fs.constants.O_NONBLOCK : 0);
    }
  });
}

// A main that waited for a line has unwound (asyncify) by the time callMain
// sees it return, so emscripten never learns its status: once the resumed
// main has returned, the program exits with that status here, as it would
// have had it never waited (and the page's onExit learns the run's status).
Module.preRun = [].concat(Module.preRun || [], () => {
  const main = Module["_main"];
  Module["_main"] = function () {
    const status = main.apply(null, arguments);
    if (Asyncify.currData) {
      Asyncify.whenDone().then(
        (finalStatus) => {
          try {
            exit(finalStatus);
          } catch (e) {
            if (!(e instanceof ExitStatus)) throw e;
          }
        },
        (error) => abort(error),
      );
    }
    return status;
  };
});
