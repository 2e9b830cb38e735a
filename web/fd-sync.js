// fsync for the game's file layer. Emscripten 3.1.6's own, built with
// asyncify, looks for the file's mount, which the real files under Node
// (NODERAWFS) do not have, and fails. Here the real file is flushed with
// Node's fsync; an in-memory file (the browser) has nothing to flush: the
// page stores it through the file hooks.
mergeInto(LibraryManager.library, {
  fd_sync: function (fd) {
    try {
      var stream = SYSCALLS.getStreamFromFD(fd);
      if (stream.nfd !== undefined) require("fs").fsyncSync(stream.nfd);
      return 0;
    } catch (e) {
      if (typeof FS != "undefined" && e instanceof FS.ErrnoError) return e.errno;
      return 29; // EIO
    }
  },
});
