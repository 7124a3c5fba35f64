// robot: plays one registered scenario inside a Wine prefix.
//
//   robot SCENARIO en|zh [KEY=VALUE...]
//   robot --list
//
// Prints one line per check and closes with "N passed, N failed"; the exit
// status is 0 only when every check passed. The runner (run-scenario) passes
// "shots=" (the folder of screenshot requests) and the parameters a test
// names (program paths and the like).
#include <objbase.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <string>

#include "scenario.h"

int main(int argc, char** argv) {
  if (argc == 2 && std::strcmp(argv[1], "--list") == 0) {
    for (const e2e::Scenario& scenario : e2e::Scenarios())
      std::printf("%-28s %s\n", scenario.name, scenario.about);
    return 0;
  }
  if (argc < 3 || (std::strcmp(argv[2], "en") != 0 && std::strcmp(argv[2], "zh") != 0)) {
    std::fprintf(stderr, "usage: robot SCENARIO en|zh [KEY=VALUE...]\n       robot --list\n");
    return 2;
  }
  const e2e::Scenario* chosen = nullptr;
  for (const e2e::Scenario& scenario : e2e::Scenarios())
    if (scenario.name == std::string(argv[1])) chosen = &scenario;
  if (chosen == nullptr) {
    std::fprintf(stderr, "robot: no scenario %s (robot --list names them)\n", argv[1]);
    return 2;
  }
  std::map<std::string, std::string> parameters;
  for (int i = 3; i < argc; ++i) {
    const char* equals = std::strchr(argv[i], '=');
    if (equals == nullptr) {
      std::fprintf(stderr, "robot: %s is no KEY=VALUE\n", argv[i]);
      return 2;
    }
    parameters[std::string(argv[i], static_cast<std::size_t>(equals - argv[i]))] = equals + 1;
  }

  e2e::Run run(chosen->name, argv[2], parameters);
  // The language of a run is the code page Wine was started with: 936 for
  // Chinese, any other for English. A mismatch means the runner's locale
  // did not take, and every later check would test the wrong dialogs.
  const UINT code_page = GetACP();
  if (run.Check((code_page == 936) == run.chinese(),
                "code page " + std::to_string(code_page) + " fits the language " + argv[2])) {
    CoInitialize(nullptr);
    chosen->function(run);
    CoUninitialize();
  }
  std::printf("%d passed, %d failed\n", run.passed(), run.failed());
  return run.failed() == 0 ? 0 : 1;
}
