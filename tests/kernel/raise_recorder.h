// A test fixture that records what the library raises instead of letting the
// console handlers end the process, and undoes the fault injection afterwards.
#ifndef LUMAVIEW_TESTS_RAISE_RECORDER_H
#define LUMAVIEW_TESTS_RAISE_RECORDER_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "pixbase/exceptions.h"
#include "test_hooks.h"

namespace lumaview::testing {

struct RaisedException {
  bool error;  // raised through RaiseError, else RaiseWarning
  ExceptionSeverity severity;
  std::string reason;
  std::string description;
  bool has_description;
};

inline std::vector<RaisedException>& RaisedExceptions() {
  static std::vector<RaisedException> raised;
  return raised;
}

inline void Record(bool error, ExceptionSeverity severity, const char* reason,
                   const char* description) {
  RaisedExceptions().push_back({error, severity, reason ? reason : "(null)",
                                description ? description : "", description != nullptr});
}

inline void PIXBASE_CALL RecordError(ExceptionSeverity severity, const char* reason,
                                     const char* description) {
  Record(true, severity, reason, description);
}

inline void PIXBASE_CALL RecordWarning(ExceptionSeverity severity, const char* reason,
                                       const char* description) {
  Record(false, severity, reason, description);
}

class RaiseRecorderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RaisedExceptions().clear();
    previous_error_ = InstallErrorHandler(RecordError);
    previous_warning_ = InstallWarningHandler(RecordWarning);
  }
  void TearDown() override {
    pixbase::testing::StopFailingAllocations();
    InstallErrorHandler(previous_error_);
    InstallWarningHandler(previous_warning_);
  }

  const std::vector<RaisedException>& raised() const { return RaisedExceptions(); }

  // True when exactly one out-of-memory error with this reason was raised;
  // clears the record.
  ::testing::AssertionResult RaisedOutOfMemory(const std::string& reason) {
    std::vector<RaisedException> seen = RaisedExceptions();
    RaisedExceptions().clear();
    if (seen.size() != 1)
      return ::testing::AssertionFailure() << seen.size() << " exceptions raised";
    const RaisedException& e = seen[0];
    if (!e.error || e.severity != 400 || e.reason != reason ||
        e.description != "Memory allocation failed")
      return ::testing::AssertionFailure() << (e.error ? "error " : "warning ") << e.severity
                                           << " '" << e.reason << "' / '" << e.description << "'";
    return ::testing::AssertionSuccess();
  }

 private:
  ExceptionHandler previous_error_ = nullptr;
  ExceptionHandler previous_warning_ = nullptr;
};

}  // namespace lumaview::testing

#endif
