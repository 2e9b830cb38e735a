// The end of the game's main for the page (a --post-js of the browser
// module). A main that has waited for a line (asyncify) returns long after
// callMain did, and emscripten then neither runs the exit handlers nor calls
// Module.onExit: here its return is awaited and ends the program as a
// return from main does, so the page learns the run's status.
var velkorCallMain = callMain;
Module["callMain"] = function (args) {
  var status = velkorCallMain(args);
  if (Asyncify.currData) {
    Asyncify.whenDone().then(
      function (returned) {
        try {
          exit(returned);
        } catch (e) {
          if (!(e instanceof ExitStatus)) throw e;
        }
      },
      function (error) {
        abort(error);
      }
    );
  }
  return status;
};
