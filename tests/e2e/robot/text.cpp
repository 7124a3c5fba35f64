// UTF-8 and wide text conversions, case-blind comparison.
#include "text.h"

#include <windows.h>

#include <vector>

namespace e2e {

std::wstring Wide(const std::string& utf8) {
  if (utf8.empty()) return std::wstring();
  int size =
      MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
  if (size <= 0) return std::wstring();
  std::wstring wide(static_cast<std::size_t>(size), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), &wide[0], size);
  return wide;
}

std::string Utf8(const std::wstring& wide) {
  if (wide.empty()) return std::string();
  int size = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                 nullptr, nullptr);
  if (size <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), &utf8[0], size,
                      nullptr, nullptr);
  return utf8;
}

bool SameNoCase(const std::string& a, const std::string& b) {
  return lstrcmpiW(Wide(a).c_str(), Wide(b).c_str()) == 0;
}

}  // namespace e2e
