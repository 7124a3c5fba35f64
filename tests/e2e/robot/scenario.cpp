// The scenario table and Run: checks, parameters and screenshot requests.
#include "scenario.h"

#include <cstdio>
#include <utility>

#include "files.h"
#include "gui.h"
#include "process.h"
#include "text.h"

namespace e2e {

std::vector<Scenario>& Scenarios() {
  static std::vector<Scenario> table;
  return table;
}

ScenarioRegistration::ScenarioRegistration(const char* name, const char* about,
                                           ScenarioFunction function) {
  Scenarios().push_back(Scenario{name, about, function});
}

Run::Run(std::string scenario, std::string language, std::map<std::string, std::string> parameters)
    : scenario_(std::move(scenario)),
      language_(std::move(language)),
      parameters_(std::move(parameters)) {}

std::string Run::Pick(const std::string& english, const std::string& chinese) const {
  return this->chinese() ? chinese : english;
}

bool Run::HasParam(const std::string& key) const { return parameters_.count(key) != 0; }

std::string Run::Param(const std::string& key) {
  auto found = parameters_.find(key);
  if (found == parameters_.end()) {
    Check(false, "the runner passes the parameter " + key);
    return "";
  }
  return found->second;
}

std::string Run::Supplied(const std::string& name) { return Param("files") + "\\" + name; }

bool Run::Check(bool ok, const std::string& what) {
  std::printf("%s: %s\n", ok ? "ok" : "FAILED", what.c_str());
  std::fflush(stdout);
  (ok ? passed_ : failed_)++;
  return ok;
}

void Run::Screenshot(HWND window, const std::string& step) {
  const std::string name = std::to_string(++shots_) + "-" + step;
  if (window != nullptr) LetPaint(window);
  const auto shots = parameters_.find("shots");
  if (shots == parameters_.end()) {
    std::printf("screenshot %s (not taken: no runner)\n", name.c_str());
    return;
  }
  // The runner answers NAME.want with NAME.done once the picture is saved,
  // or NAME.failed when it could not be taken.
  const std::string want = shots->second + "\\" + name + ".want";
  const std::string done = shots->second + "\\" + name + ".done";
  const std::string failed = shots->second + "\\" + name + ".failed";
  // The window's process is held still while the picture is taken: some
  // windows are up for a fraction of a second.
  DWORD process = 0;
  if (window != nullptr) GetWindowThreadProcessId(window, &process);
  Frozen frozen(process);
  WriteBytes(want, "");
  bool answered = false;
  for (int i = 0; i < 600 && !answered; ++i) {
    answered = Exists(done) || Exists(failed);
    if (!answered) Sleep(100);
  }
  Check(answered && Exists(done), "screenshot " + name + " taken");
  DeleteFileW(Wide(done).c_str());
  DeleteFileW(Wide(failed).c_str());
}

}  // namespace e2e
