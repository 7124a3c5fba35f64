// Text between the robot's UTF-8 strings and the wide strings of Windows.
// Scenarios write every text in UTF-8 (Chinese included); the robot talks to
// windows, files and the registry through the wide calls, so the code page
// of the run never garbles what is compared.
#ifndef LUMAVIEW_E2E_TEXT_H
#define LUMAVIEW_E2E_TEXT_H

#include <string>

namespace e2e {

std::wstring Wide(const std::string& utf8);
std::string Utf8(const std::wstring& wide);
// Case-blind comparison, as Windows compares file names.
bool SameNoCase(const std::string& a, const std::string& b);

}  // namespace e2e

#endif
