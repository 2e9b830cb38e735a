// Every part of emscripten's own runtime that the web build relies on
// beyond its documented interface, in one place (a --js-library of every web
// program). They are emscripten 3.1.6's; when the module starts it checks
// that each is there and stops with a message naming what is missing, rather
// than failing later in the middle of a run.
//
// - fd_sync: the game's file layer flushes each new file. Emscripten's own,
//   built with asyncify, looks for the file's mount, which the real files
//   under Node (NODERAWFS) do not have, and fails. Here a real file is
//   flushed with Node's fsync (SYSCALLS.getStreamFromFD, stream.nfd,
//   FS.ErrnoError); an in-memory file (the browser) has nothing to flush:
//   the page stores it through the file hooks.
// - Module._main, Asyncify.currData, Asyncify.whenDone, exit, ExitStatus: a
//   main that waited for a line has unwound (asyncify) by the time callMain
//   sees it return, so emscripten never learns its status. Once the resumed
//   main has returned, the program exits with that status here, as it would
//   have had it never waited (and the page's onExit learns the run's
//   status).
// - ENV: under Node the game reads the locale from the real environment,
//   not emscripten's made-up one (whose LANG would claim a UTF-8 locale).
// - NODEFS.flagsForNode: under Node emscripten drops O_NONBLOCK on the way
//   to the real files, and the file layer's open of a FIFO would then wait
//   for a writer forever.
// - convertFrameToPC: __builtin_return_address, for the failure report's
//   location. V8 (Node, Chromium) names each frame of a stack by its offset
//   in the module, which emscripten's own takes as the address too, but only
//   with -sUSE_OFFSET_CONVERTER, whose converter reads the whole module on
//   the main thread at every start for the engines that do not.
mergeInto(LibraryManager.library, {
  velkor_internals__deps: ["$Asyncify", "$SYSCALLS", "$FS", "$ENV"],
  velkor_internals__postset: "_velkor_internals();",
  velkor_internals: function () {
    const onNode = typeof process === "object" && !!process.versions && !!process.versions.node;
    const missing = (checks) =>
      Object.entries(checks)
        .filter(([, present]) => !present)
        .map(([name]) => name);
    const stop = (names) => {
      const message = `VELKOR needs emscripten 3.1.6's ${names.join(", ")}, which this module lacks`;
      err(message);
      abort(message);
    };
    const atStart = missing({
      "Asyncify.currData": typeof Asyncify === "object" && "currData" in Asyncify,
      "Asyncify.whenDone": typeof Asyncify === "object" && typeof Asyncify.whenDone === "function",
      "SYSCALLS.getStreamFromFD": typeof SYSCALLS === "object" && typeof SYSCALLS.getStreamFromFD === "function",
      ENV: typeof ENV === "object",
      exit: typeof exit === "function",
      ExitStatus: typeof ExitStatus === "function",
      addOnPreRun: typeof addOnPreRun === "function",
      "NODEFS.flagsForNode": !onNode || (typeof NODEFS === "object" && typeof NODEFS.flagsForNode === "function"),
    });
    if (atStart.length > 0) stop(atStart);

    addOnPreRun(() => {
      // The exports and the file system's errors exist only once the module
      // is instantiated.
      const atRun = missing({
        "Module._main": typeof Module["_main"] === "function",
        "FS.ErrnoError": typeof FS.ErrnoError === "function",
      });
      if (atRun.length > 0) stop(atRun);
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
      if (!onNode) return;
      for (const name of Object.keys(ENV)) ENV[name] = undefined;
      for (const name of ["LANG", "USER", "LOGNAME", "PATH", "PWD", "HOME", "_"]) ENV[name] = undefined;
      Object.assign(ENV, process.env);
      const flagsForNode = NODEFS.flagsForNode;
      const nonBlocking = 0o4000; // O_NONBLOCK of emscripten's C library
      NODEFS.flagsForNode = (flags) =>
        flagsForNode(flags) | (flags & nonBlocking ? require("fs").constants.O_NONBLOCK : 0);
    });
  },

  $convertFrameToPC: function (frame) {
    var match = /\bwasm-function\[\d+\]:(0x[0-9a-f]+)/.exec(frame);
    return match ? +match[1] : 0;
  },

  fd_sync__deps: ["velkor_internals"],
  fd_sync: function (fd) {
    try {
      var stream = SYSCALLS.getStreamFromFD(fd);
      if (stream.nfd !== undefined) require("fs").fsyncSync(stream.nfd);
      return 0;
    } catch (e) {
      if (e instanceof FS.ErrnoError) return e.errno;
      return 29; // EIO
    }
  },
});
