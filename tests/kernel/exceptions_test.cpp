// Exception reporting: raising, the handler slots, the console and box
// handlers with their exact message formats, process texts and reports.
#include "pixbase/exceptions.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "operator_new_failure.h"
#include "pixbase/memory.h"
#include "raise_recorder.h"
#include "services/test_hooks.h"
#include "system_error.h"

namespace {

using lumaview::testing::ExitStatusFor;

struct Raised {
  int calls = 0;
  ExceptionSeverity severity = 0;
  std::string reason;
  std::string description;
  bool had_description = false;
};
Raised g_raised;

void RecordingHandler(ExceptionSeverity severity, const char* reason, const char* description) {
  ++g_raised.calls;
  g_raised.severity = severity;
  g_raised.reason = reason ? reason : "(null)";
  g_raised.had_description = description != nullptr;
  g_raised.description = description ? description : "";
}

// Stands in for message boxes; the text goes to standard error, where a death
// test can read it.
void PrintingBoxObserver(const char* text, const char* caption) {
  std::fprintf(stderr, "<%s>%s", caption, text);
  std::fflush(stderr);
}

std::string g_box_text;
std::string g_box_caption;
void RecordingBoxObserver(const char* text, const char* caption) {
  g_box_text = text;
  g_box_caption = caption;
}

class ExceptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_raised = Raised();
    errno = 0;
  }
  void TearDown() override {
    pixbase::testing::ObserveMessageBoxes(nullptr);
    pixbase::testing::StopFailingAllocations();
    UpdateClientName("Tessel");
  }
};

std::string CapturedWarning(ExceptionSeverity severity, const char* reason, const char* description,
                            int error_number) {
  ::testing::internal::CaptureStderr();
  errno = error_number;
  RaiseWarning(severity, reason, description);
  return ::testing::internal::GetCapturedStderr();
}

TEST_F(ExceptionsTest, ConsoleWarningFormatsAndQuietSeverity) {
  std::string system_text = std::strerror(ENOENT);
  EXPECT_EQ(CapturedWarning(320, "Unable to load", "the module", 0),
            "Tessel: Unable to load (the module).\n");
  EXPECT_EQ(CapturedWarning(310, "Quiet", "d", ENOENT), "Tessel: Quiet (d).\n");
  EXPECT_EQ(CapturedWarning(311, "Loud", nullptr, ENOENT), "Tessel: Loud [" + system_text + "].\n");
  EXPECT_EQ(errno, ENOENT);  // a warning leaves errno alone
  EXPECT_EQ(CapturedWarning(320, nullptr, "ignored", 0), "");
}

TEST_F(ExceptionsTest, LongTextsAreCutTo1024Characters) {
  std::string reason(2000, 'r');
  EXPECT_EQ(CapturedWarning(300, reason.c_str(), nullptr, 0),
            "Tessel: " + std::string(1024, 'r') + ".\n");
  pixbase::testing::ObserveMessageBoxes(RecordingBoxObserver);
  ShowWarningBox(300, reason.c_str(), reason.c_str());
  EXPECT_EQ(g_box_text,
            "Tessel: " + std::string(1024, 'r') + " (" + std::string(1024, 'r') + ").\n");
}

TEST_F(ExceptionsTest, ConsoleErrorWritesTheMessageAndExitsWithTheSeverity) {
  EXPECT_EXIT(RaiseError(420, "Unable to decode", "bad header"),
              ::testing::ExitedWithCode(ExitStatusFor(420)),
              "^Tessel: Unable to decode \\(bad header\\)\\.\n$");
}

TEST_F(ExceptionsTest, ConsoleErrorSystemTextAndTheQuietError) {
  EXPECT_EXIT(
      {
        errno = ENOENT;
        RaiseError(400, "Unable to open", nullptr);
      },
      ::testing::ExitedWithCode(ExitStatusFor(400)), "^Tessel: Unable to open \\[.+\\]\\.\n$");
  EXPECT_EXIT(
      {
        errno = ENOENT;
        RaiseError(410, "Quiet", nullptr);
      },
      ::testing::ExitedWithCode(ExitStatusFor(410)), "^Tessel: Quiet\\.\n$");
  EXPECT_EXIT(RaiseError(401, nullptr, "nothing to report"),
              ::testing::ExitedWithCode(ExitStatusFor(401)), "^$");
}

TEST_F(ExceptionsTest, HandlerSlotsReturnWhatTheyReplace) {
  ExceptionHandler console = InstallErrorHandler(RecordingHandler);
  EXPECT_NE(console, nullptr);
  EXPECT_EQ(InstallErrorHandler(nullptr), RecordingHandler);
  EXPECT_EQ(InstallErrorHandler(console), nullptr);

  ExceptionHandler console_warning = InstallWarningHandler(RecordingHandler);
  EXPECT_NE(console_warning, nullptr);
  EXPECT_EQ(InstallWarningHandler(console_warning), RecordingHandler);
}

TEST_F(ExceptionsTest, RaiseCallsTheHandlerThenClearsErrno) {
  ExceptionHandler console = InstallErrorHandler(RecordingHandler);
  errno = ENOENT;
  RaiseError(400, "Unable to allocate image", "Memory allocation failed");
  EXPECT_EQ(g_raised.calls, 1);
  EXPECT_EQ(g_raised.severity, 400);
  EXPECT_EQ(g_raised.reason, "Unable to allocate image");
  EXPECT_EQ(g_raised.description, "Memory allocation failed");
  EXPECT_EQ(errno, 0);

  InstallErrorHandler(nullptr);
  errno = ENOENT;
  RaiseError(400, "nobody listens", nullptr);
  EXPECT_EQ(g_raised.calls, 1);
  EXPECT_EQ(errno, 0);
  InstallErrorHandler(console);

  ExceptionHandler console_warning = InstallWarningHandler(nullptr);
  errno = ENOENT;
  RaiseWarning(300, "nobody listens", nullptr);
  EXPECT_EQ(errno, ENOENT);
  InstallWarningHandler(RecordingHandler);
  RaiseWarning(315, "external", nullptr);
  EXPECT_EQ(g_raised.calls, 2);
  EXPECT_EQ(g_raised.severity, 315);
  EXPECT_FALSE(g_raised.had_description);
  InstallWarningHandler(console_warning);
}

TEST_F(ExceptionsTest, ErrorBoxFormatsAndEndsWithTheSeverity) {
  pixbase::testing::ObserveMessageBoxes(PrintingBoxObserver);
  EXPECT_EXIT(
      {
        errno = ENOENT;
        ShowErrorBox(400, "Unable to read", nullptr);
      },
      ::testing::ExitedWithCode(ExitStatusFor(400)),
      "^<Tesselworks Exception>Tessel: Unable to read \\[.+\\]\\.\n$");
  EXPECT_EXIT(
      {
        errno = ENOENT;
        ShowErrorBox(410, "Unable to read", "file");
      },
      ::testing::ExitedWithCode(ExitStatusFor(410)),
      "^<Tesselworks Exception>Tessel: Unable to read \\(file\\) \\[.+\\]\\.\n$");
  EXPECT_EXIT(ShowErrorBox(450, "Plain", "d"), ::testing::ExitedWithCode(ExitStatusFor(450)),
              "^<Tesselworks Exception>Tessel: Plain \\(d\\)\\.\n$");
  EXPECT_EXIT(ShowErrorBox(460, "Plain", nullptr), ::testing::ExitedWithCode(ExitStatusFor(460)),
              "^<Tesselworks Exception>Tessel: Plain\\.\n$");
}

TEST_F(ExceptionsTest, WarningBoxNeverAddsTheSystemText) {
  pixbase::testing::ObserveMessageBoxes(RecordingBoxObserver);
  errno = ENOENT;
  ShowWarningBox(320, "Unable to load module", "VELOX.dll");
  EXPECT_EQ(g_box_caption, "Tesselworks Warning");
  EXPECT_EQ(g_box_text, "Tessel: Unable to load module (VELOX.dll).\n");
  ShowWarningBox(320, "Short", nullptr);
  EXPECT_EQ(g_box_text, "Tessel: Short.\n");
  g_box_text.clear();
  ShowWarningBox(320, nullptr, "ignored");
  EXPECT_EQ(g_box_text, "");
}

TEST_F(ExceptionsTest, ClientNameOpensEveryMessageAndIsCutToFit) {
  EXPECT_STREQ(UpdateClientName(nullptr), "Tessel");
  EXPECT_STREQ(UpdateClientName("Viewer"), "Viewer");
  EXPECT_EQ(CapturedWarning(300, "Hello", nullptr, 0), "Viewer: Hello.\n");
  std::string long_name(5000, 'n');
  EXPECT_EQ(std::strlen(UpdateClientName(long_name.c_str())),
            static_cast<size_t>(PIXBASE_TEXT_EXTENT - 1));
  const char* path = UpdateConfigurePath(nullptr);
  EXPECT_STREQ(path, "c:\\Tesselworks\\");
  EXPECT_STREQ(UpdateConfigurePath("d:\\modules\\"), "d:\\modules\\");
  EXPECT_EQ(UpdateConfigurePath(nullptr), path);
  UpdateConfigurePath("c:\\Tesselworks\\");
}

TEST_F(ExceptionsTest, EndProcessExitsWithTheCode) {
  EXPECT_EXIT(EndProcess(3), ::testing::ExitedWithCode(ExitStatusFor(3)), "");
}

TEST_F(ExceptionsTest, SystemErrorTextIsAnOwnedCopy) {
  lumaview::testing::SetLastSystemErrorWithoutText();
  char* text = GetSystemErrorText();
  ASSERT_NE(text, nullptr);
  EXPECT_STREQ(text, "An unknown error occurred");
  ReleaseMemory(&text);
  lumaview::testing::SetLastSystemErrorFileNotFound();
  text = GetSystemErrorText();
  ASSERT_NE(text, nullptr);
  EXPECT_GT(std::strlen(text), 0u);
  EXPECT_STRNE(text, "An unknown error occurred");
  ReleaseMemory(&text);
}

TEST_F(ExceptionsTest, SystemErrorTextReportsAFailedAllocation) {
  lumaview::testing::RecordedRaises raises;
  pixbase::testing::FailAllocationsAfter(0, 1);
  EXPECT_EQ(GetSystemErrorText(), nullptr);
  EXPECT_TRUE(raises.OutOfMemory("Unable to allocate string"));
}

// With the memory exhausted, the C++ heap fails too: nothing may escape the
// C interface, and the failure ends in the usual report.
TEST_F(ExceptionsTest, SystemErrorTextUnderExhaustedMemoryIsReported) {
  lumaview::testing::RecordedRaises raises;
  for (bool with_system_text : {false, true}) {
    if (with_system_text)
      lumaview::testing::SetLastSystemErrorFileNotFound();
    else
      lumaview::testing::SetLastSystemErrorWithoutText();
    char* text = nullptr;
    bool escaped = false;
    {
      lumaview::testing::OperatorNewFails exhausted;
      pixbase::testing::FailAllocationsAfter(0, -1);
      try {
        text = GetSystemErrorText();
      } catch (...) {
        escaped = true;
      }
      pixbase::testing::StopFailingAllocations();
    }
    EXPECT_FALSE(escaped) << with_system_text;
    EXPECT_EQ(text, nullptr) << with_system_text;
    EXPECT_TRUE(raises.OutOfMemory("Unable to allocate string")) << with_system_text;
    // The C++ heap alone failing changes nothing.
    if (with_system_text)
      lumaview::testing::SetLastSystemErrorFileNotFound();
    else
      lumaview::testing::SetLastSystemErrorWithoutText();
    {
      lumaview::testing::OperatorNewFails exhausted;
      try {
        text = GetSystemErrorText();
      } catch (...) {
        escaped = true;
      }
    }
    EXPECT_FALSE(escaped) << with_system_text;
    ASSERT_NE(text, nullptr) << with_system_text;
    EXPECT_EQ(std::strcmp(text, "An unknown error occurred") != 0, with_system_text) << text;
    ReleaseMemory(&text);
  }
}

TEST_F(ExceptionsTest, ReportRecordsAreInitialisedAndEmptied) {
  ExceptionReport report;
  std::memset(&report, 0x5A, sizeof report);
  EXPECT_EQ(InitExceptionReport(&report), &report);
  EXPECT_EQ(report.severity, 0);
  EXPECT_EQ(report.reason, nullptr);
  EXPECT_EQ(report.description, nullptr);
  EXPECT_EQ(report.signature, 0xCAFEu);
  report.severity = 400;
  report.reason = static_cast<char*>(AllocateMemory(8));
  report.description = static_cast<char*>(AllocateMemory(8));
  DisposeExceptionReport(&report);
  EXPECT_EQ(report.reason, nullptr);
  EXPECT_EQ(report.description, nullptr);
  EXPECT_EQ(report.severity, 400);
  EXPECT_EQ(report.signature, 0xCAFEu);
}

}  // namespace
