// Running a program from a test built as WebAssembly, under Node: Node's
// spawnSync, with the environment of this program (which its setenv
// changed, not Node's). A .js program (the game built by emscripten) is run
// by the same Node. The output goes to a file first, so that standard error
// can join it in the order written.
#include <emscripten.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "testsupport/process_runner.h"

extern char** environ;

namespace velkor::test {

namespace {

// clang-format off
// Runs the NUL-ended strings of args in cwd with the NUL-ended "NAME=value"
// strings of env and input as standard input. Returns the exit status, -1
// when a signal ended it, -2 when it ran out of time, 127 when it could not
// start; its output is kept for TakeOutput.
EM_JS(int, SpawnAndWait, (const char* args, int argsSize, const char* cwd, const char* env, int envSize,
                          const char* input, int inputSize, int timeoutMs, int mergeErrors), {
  const fs = require("fs");
  const path = require("path");
  // (No backslash escapes: emscripten 3.1.6 passes this text through JSON.)
  const strings = (at, size) => {
    const list = new TextDecoder().decode(HEAPU8.slice(at, at + size)).split(String.fromCharCode(0));
    list.pop();
    return list;
  };
  let argv = strings(args, argsSize);
  if (argv[0].endsWith(".js")) argv = [process.execPath, "--no-experimental-fetch"].concat(argv);
  const environment = {};
  for (const entry of strings(env, envSize)) {
    const equals = entry.indexOf("=");
    if (equals > 0) environment[entry.slice(0, equals)] = entry.slice(equals + 1);
  }
  const folder = fs.mkdtempSync(path.join(require("os").tmpdir(), "velkor-run-"));
  const file = path.join(folder, "output");
  const output = fs.openSync(file, "w");
  try {
    const run = require("child_process").spawnSync(argv[0], argv.slice(1), {
      cwd: UTF8ToString(cwd),
      env: environment,
      input: HEAPU8.slice(input, input + inputSize),
      stdio: ["pipe", output, mergeErrors ? output : "inherit"],
      timeout: timeoutMs,
      killSignal: "SIGKILL",
    });
    Module.velkorRunOutput = fs.readFileSync(file);
    if (run.error && run.error.code === "ETIMEDOUT") return -2;
    if (run.status === null && run.signal === null) return 127;
    return run.status === null ? -1 : run.status;
  } finally {
    fs.closeSync(output);
    fs.rmSync(folder, {recursive: true, force: true});
  }
});

EM_JS(int, OutputSize, (), { return Module.velkorRunOutput.length; });

EM_JS(void, TakeOutput, (char* buffer), {
  HEAPU8.set(Module.velkorRunOutput, buffer);
  Module.velkorRunOutput = null;
});
// clang-format on

// The strings one after another, each ended by a NUL.
std::string Joined(const std::vector<std::string>& strings) {
  std::string joined;
  for (const std::string& text : strings) joined += text + '\0';
  return joined;
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& workDir,
                         const std::string& input, int timeoutSeconds, const ProcessLimits& limits,
                         bool mergeErrors) {
  if (limits.fileSizeBytes >= 0 || limits.addressSpaceBytes >= 0)
    ADD_FAILURE() << "resource limits are not available under Node";
  std::vector<std::string> variables;
  for (char** variable = environ; *variable != nullptr; ++variable) variables.emplace_back(*variable);
  const std::string args = Joined(argv);
  const std::string env = Joined(variables);
  const int status = SpawnAndWait(args.data(), static_cast<int>(args.size()), workDir.c_str(), env.data(),
                                  static_cast<int>(env.size()), input.data(), static_cast<int>(input.size()),
                                  timeoutSeconds * 1000, mergeErrors ? 1 : 0);
  ProcessResult result;
  result.output.resize(static_cast<std::size_t>(OutputSize()));
  TakeOutput(result.output.data());
  result.timedOut = status == -2;
  result.exitStatus = status < 0 ? -1 : status;
  return result;
}

}  // namespace velkor::test
