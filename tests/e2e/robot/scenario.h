// The robot's scenarios: the table they register in, and Run, what a scenario
// is handed: its language, its parameters, the checks it makes and the
// screenshots it asks for.
//
// A scenario is a function in a file of tests/e2e/scenarios/, registered
// where it is defined:
//
//   E2E_SCENARIO(PlainInstall, "setup.install", "the default English or Chinese install") {
//     run.Check(..., "what was checked");
//   }
#ifndef LUMAVIEW_E2E_SCENARIO_H
#define LUMAVIEW_E2E_SCENARIO_H

#include <windows.h>

#include <map>
#include <string>
#include <vector>

namespace e2e {

class Run {
 public:
  // LANGUAGE is "en" or "zh"; PARAMETERS the KEY=VALUE words of the command
  // line ("shots" names the folder of screenshot requests).
  Run(std::string scenario, std::string language, std::map<std::string, std::string> parameters);

  const std::string& scenario() const { return scenario_; }
  const std::string& language() const { return language_; }
  bool chinese() const { return language_ == "zh"; }
  // The text of the run's language (UTF-8).
  std::string Pick(const std::string& english, const std::string& chinese) const;

  // A parameter given on the command line; a missing one fails a check and
  // yields "".
  std::string Param(const std::string& key);
  bool HasParam(const std::string& key) const;
  // The Windows path of a file the test supplied (FILES of the test, copied
  // by the runner into the folder of the parameter "files").
  std::string Supplied(const std::string& name);

  // One line "ok: WHAT" or "FAILED: WHAT"; returns OK, so that a scenario
  // can stop where going on makes no sense: if (!run.Check(...)) return;
  bool Check(bool ok, const std::string& what);
  int passed() const { return passed_; }
  int failed() const { return failed_; }

  // Asks the runner for a picture of the screen, saved as
  // <run>-<N>-<STEP>-<language>.png (N counts the screenshots of this run).
  // First lets WINDOW (if any) finish painting. Without "shots" it only
  // says what it would have taken.
  void Screenshot(HWND window, const std::string& step);

 private:
  std::string scenario_;
  std::string language_;
  std::map<std::string, std::string> parameters_;
  int passed_ = 0;
  int failed_ = 0;
  int shots_ = 0;
};

using ScenarioFunction = void (*)(Run&);

struct Scenario {
  const char* name;
  const char* about;
  ScenarioFunction function;
};

// The table, in the order of registration.
std::vector<Scenario>& Scenarios();

struct ScenarioRegistration {
  ScenarioRegistration(const char* name, const char* about, ScenarioFunction function);
};

}  // namespace e2e

#define E2E_SCENARIO(identifier, name, about)                                               \
  static void identifier(e2e::Run& run);                                                    \
  static const e2e::ScenarioRegistration identifier##Registration(name, about, identifier); \
  static void identifier(e2e::Run& run)

#endif
