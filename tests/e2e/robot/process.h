// A program of ours started inside the prefix. The robot owns it: a process
// still running when its Process goes out of scope is ended, so a scenario
// that stops early leaves nothing behind.
#ifndef LUMAVIEW_E2E_PROCESS_H
#define LUMAVIEW_E2E_PROCESS_H

#include <windows.h>

#include <string>
#include <vector>

namespace e2e {

class Process {
 public:
  Process() = default;
  ~Process();
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;

  // Starts PROGRAM (a Windows path) with ARGUMENTS (already quoted where
  // needed), its working folder FOLDER or the robot's when empty.
  static Process Start(const std::string& program, const std::string& arguments = "",
                       const std::string& folder = "");

  bool started() const { return handle_ != nullptr; }
  DWORD id() const { return id_; }
  bool Ended() const;
  // True when the process ended within SECONDS; its exit code in *CODE.
  bool WaitForExit(int seconds, DWORD* code);
  void Terminate();

 private:
  HANDLE handle_ = nullptr;
  DWORD id_ = 0;
};

// Holds every thread of a process still while it lives (a screenshot of a
// window that is up only briefly, a copy caught at one point).
class Frozen {
 public:
  explicit Frozen(DWORD process);
  ~Frozen();
  Frozen(const Frozen&) = delete;
  Frozen& operator=(const Frozen&) = delete;

 private:
  std::vector<HANDLE> threads_;
};

}  // namespace e2e

#endif
