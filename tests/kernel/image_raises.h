// Records what the library raises while a test runs, in place of the
// handlers that would end the process, and puts the handlers back after.
#ifndef LUMAVIEW_TESTS_IMAGE_RAISES_H
#define LUMAVIEW_TESTS_IMAGE_RAISES_H

#include <string>
#include <vector>

#include "pixbase/exceptions.h"

namespace lumaview::testing {

struct Raise {
  bool error;  // raised through RaiseError (else RaiseWarning)
  ExceptionSeverity severity;
  std::string reason;
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

 private:
  static std::vector<Raise>& Records() {
    static std::vector<Raise> records;
    return records;
  }
  static void Store(bool error, ExceptionSeverity severity, const char* reason,
                    const char* description) {
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

}  // namespace lumaview::testing

#endif
