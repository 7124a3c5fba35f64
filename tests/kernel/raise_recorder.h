// Records what the library raises while a test runs, in place of the console
// handlers that would end the process, and puts the handlers back after.
//   RecordedRaises     the recorder for one scope
//   RaiseRecorderTest  a fixture that records for the whole test and undoes
//                      the allocation fault injection afterwards
#ifndef LUMAVIEW_TESTS_RAISE_RECORDER_H
#define LUMAVIEW_TESTS_RAISE_RECORDER_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "operator_new_failure.h"
#include "pixbase/exceptions.h"
#include "services/test_hooks.h"

namespace lumaview::testing {

struct Raise {
  bool error;  // raised through RaiseError, else RaiseWarning
  ExceptionSeverity severity;
  std::string reason;  // "(null)" for a null reason
  std::string description;
  bool has_description;
};

class RecordedRaises {
 public:
  RecordedRaises() {
    Records().clear();
    error_ = InstallErrorHandler(OnError);
    warning_ = InstallWarningHandler(OnWarning);
  }
  ~RecordedRaises() {
    InstallErrorHandler(error_);
    InstallWarningHandler(warning_);
  }
  RecordedRaises(const RecordedRaises&) = delete;
  RecordedRaises& operator=(const RecordedRaises&) = delete;

  const std::vector<Raise>& all() const { return Records(); }
  void clear() { Records().clear(); }

  // Success when exactly one error was raised since the last clear, of
  // severity 400 with this reason and "Memory allocation failed"; clears.
  ::testing::AssertionResult OutOfMemory(const std::string& reason) {
    OperatorNewAllowed bookkeeping;
    std::vector<Raise> seen = Records();
    Records().clear();
    if (seen.size() != 1)
      return ::testing::AssertionFailure() << seen.size() << " exceptions raised";
    const Raise& e = seen[0];
    if (!e.error || e.severity != 400 || e.reason != reason ||
        e.description != "Memory allocation failed")
      return ::testing::AssertionFailure() << (e.error ? "error " : "warning ") << e.severity
                                           << " '" << e.reason << "' / '" << e.description << "'";
    return ::testing::AssertionSuccess();
  }

 private:
  static std::vector<Raise>& Records() {
    static std::vector<Raise> records;
    return records;
  }
  static void Store(bool error, ExceptionSeverity severity, const char* reason,
                    const char* description) {
    OperatorNewAllowed bookkeeping;
    Records().push_back({error, severity, reason ? reason : "(null)",
                         description ? description : "", description != nullptr});
  }
  static void PIXBASE_CALL OnError(ExceptionSeverity s, const char* r, const char* d) {
    Store(true, s, r, d);
  }
  static void PIXBASE_CALL OnWarning(ExceptionSeverity s, const char* r, const char* d) {
    Store(false, s, r, d);
  }

  ExceptionHandler error_;
  ExceptionHandler warning_;
};

class RaiseRecorderTest : public ::testing::Test {
 protected:
  void TearDown() override { pixbase::testing::StopFailingAllocations(); }

  const std::vector<Raise>& raised() const { return raises_.all(); }
  ::testing::AssertionResult RaisedOutOfMemory(const std::string& reason) {
    return raises_.OutOfMemory(reason);
  }

 private:
  RecordedRaises raises_;
};

}  // namespace lumaview::testing

#endif
