/*
 * Exception reporting: severities, the report record embedded in every image,
 * the two replaceable handlers and the process-wide texts that open every
 * message (client name) and locate the coder modules (configure path).
 */
#ifndef PIXBASE_EXCEPTIONS_H
#define PIXBASE_EXCEPTIONS_H

#include "api.h"

PIXBASE_BEGIN_DECLS

/* 0 is nothing recorded, 1 to 399 warnings, 400 and above errors. */
typedef int32_t ExceptionSeverity;
enum {
  NoException = 0,
  QuietWarning = 310, /* the console warning handler omits the system text */
  ExternalWarning = 315,
  ModuleWarning = 320,
  OutOfMemoryError = 400,
  QuietError = 410, /* the console error handler omits the system text */
  ErrorThreshold = 400
};

#define PIXBASE_REPORT_SIGNATURE 0xCAFEu

typedef struct ExceptionReport {
  ExceptionSeverity severity; /* 0 when nothing is recorded */
  char* reason;               /* owned text or null */
  char* description;          /* owned text or null */
  uint32_t signature;         /* 0xCAFE once initialised */
} ExceptionReport;
PIXBASE_CHECK_LAYOUT(sizeof(ExceptionReport) == 16, "ExceptionReport is 16 bytes");

/* The texts belong to the caller and are valid only during the call. */
typedef void(PIXBASE_CALL* ExceptionHandler)(ExceptionSeverity severity, const char* reason,
                                             const char* description);

void PIXBASE_CALL RaiseError(ExceptionSeverity severity, const char* reason,
                             const char* description);
void PIXBASE_CALL RaiseWarning(ExceptionSeverity severity, const char* reason,
                               const char* description);
ExceptionHandler PIXBASE_CALL InstallErrorHandler(ExceptionHandler handler);
ExceptionHandler PIXBASE_CALL InstallWarningHandler(ExceptionHandler handler);

/* Handlers for windowed clients. ShowErrorBox ends the process. */
void PIXBASE_CALL ShowErrorBox(ExceptionSeverity severity, const char* reason,
                               const char* description);
void PIXBASE_CALL ShowWarningBox(ExceptionSeverity severity, const char* reason,
                                 const char* description);

void PIXBASE_CALL EndProcess(int code) PIXBASE_NORETURN;
/* The text of the last system error, as a block the caller releases; null,
 * with error 400 "Unable to allocate string", when there is no memory. */
char* PIXBASE_CALL GetSystemErrorText(void);

/* Copy a non-null text (cut to fit) and return the current value, which stays
 * the library's own. */
const char* PIXBASE_CALL UpdateClientName(const char* name);
const char* PIXBASE_CALL UpdateConfigurePath(const char* path);

ExceptionReport* PIXBASE_CALL InitExceptionReport(ExceptionReport* report);
void PIXBASE_CALL DisposeExceptionReport(ExceptionReport* report);

PIXBASE_END_DECLS

#endif
