// Starting, awaiting and ending the programs under test.
#include "process.h"

#include <tlhelp32.h>

#include <utility>
#include <vector>

#include "text.h"

namespace e2e {

Process::~Process() { Terminate(); }

Process::Process(Process&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), id_(std::exchange(other.id_, 0)) {}

Process& Process::operator=(Process&& other) noexcept {
  if (this != &other) {
    Terminate();
    handle_ = std::exchange(other.handle_, nullptr);
    id_ = std::exchange(other.id_, 0);
  }
  return *this;
}

Process Process::Start(const std::string& program, const std::string& arguments,
                       const std::string& folder) {
  Process process;
  std::wstring command = L"\"" + Wide(program) + L"\"";
  if (!arguments.empty()) command += L" " + Wide(arguments);
  std::vector<wchar_t> line(command.begin(), command.end());
  line.push_back(L'\0');
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  std::wstring directory = Wide(folder);
  if (!CreateProcessW(Wide(program).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &info))
    return process;
  CloseHandle(info.hThread);
  process.handle_ = info.hProcess;
  process.id_ = info.dwProcessId;
  return process;
}

bool Process::Ended() const {
  return handle_ == nullptr || WaitForSingleObject(handle_, 0) == WAIT_OBJECT_0;
}

bool Process::WaitForExit(int seconds, DWORD* code) {
  *code = STILL_ACTIVE;
  if (handle_ == nullptr) return false;
  if (WaitForSingleObject(handle_, static_cast<DWORD>(seconds) * 1000) != WAIT_OBJECT_0)
    return false;
  GetExitCodeProcess(handle_, code);
  return true;
}

void Process::Terminate() {
  if (handle_ == nullptr) return;
  if (WaitForSingleObject(handle_, 0) != WAIT_OBJECT_0) {
    TerminateProcess(handle_, 9);
    WaitForSingleObject(handle_, 10000);
  }
  CloseHandle(handle_);
  handle_ = nullptr;
  id_ = 0;
}

Frozen::Frozen(DWORD process) {
  if (process == 0 || process == GetCurrentProcessId()) return;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  THREADENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry)) {
    if (entry.th32OwnerProcessID != process) continue;
    HANDLE thread = OpenThread(THREAD_SUSPEND_RESUME, FALSE, entry.th32ThreadID);
    if (thread == nullptr) continue;
    if (SuspendThread(thread) == static_cast<DWORD>(-1)) {
      CloseHandle(thread);
      continue;
    }
    threads_.push_back(thread);
  }
  CloseHandle(snapshot);
}

Frozen::~Frozen() {
  for (HANDLE thread : threads_) {
    ResumeThread(thread);
    CloseHandle(thread);
  }
}

}  // namespace e2e
