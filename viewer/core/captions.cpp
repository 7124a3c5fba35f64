// Title, failure message and open-dialog filter texts.
#include "core/captions.h"

#include <cstddef>

namespace viewer {

namespace {

// The index of the last separator that is a whole character, or npos.
std::size_t LastSeparator(const std::string& path, LeadByteTest lead) {
  std::size_t last = std::string::npos;
  for (std::size_t i = 0; i < path.size(); ++i) {
    auto byte = static_cast<unsigned char>(path[i]);
    if (lead(byte)) {
      ++i;  // the second byte belongs to the character
      continue;
    }
    if (byte == '\\' || byte == '/' || byte == ':') last = i;
  }
  return last;
}

}  // namespace

bool NoLeadBytes(unsigned char /*byte*/) { return false; }

std::string FileNamePart(const std::string& path, LeadByteTest lead) {
  std::size_t separator = LastSeparator(path, lead);
  return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string FolderPart(const std::string& path, LeadByteTest lead) {
  std::size_t separator = LastSeparator(path, lead);
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

std::string TitleText(const std::string& application, const std::string& path, int width,
                      int height, const std::string& format, int zoom_percent, LeadByteTest lead) {
  if (path.empty()) return application;
  std::string title = FileNamePart(path, lead) + " - " + std::to_string(width) + " x " +
                      std::to_string(height) + " - " + format + " - ";
  if (zoom_percent > 0) title += std::to_string(zoom_percent) + "% - ";
  return title + application;
}

std::string FillPattern(const std::string& pattern, const std::vector<std::string>& values) {
  std::string text;
  std::size_t next = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '%' && i + 1 < pattern.size()) {
      if (pattern[i + 1] == 's') {
        if (next < values.size()) text += values[next];
        ++next;
        ++i;
        continue;
      }
      if (pattern[i + 1] == '%') {
        text += '%';
        ++i;
        continue;
      }
    }
    text += pattern[i];
  }
  return text;
}

std::string ReasonText(const std::string& reason, const std::string& description) {
  if (description.empty()) return reason;
  if (reason.empty()) return description;
  return reason + " (" + description + ")";
}

std::string OpenFilter(const std::string& pictures, const std::string& all_files,
                       const std::vector<std::string>& formats) {
  std::string patterns;
  for (const std::string& format : formats) {
    if (format.empty()) continue;
    if (!patterns.empty()) patterns += ';';
    patterns += "*." + format;
  }
  std::string filter;
  if (!patterns.empty()) {
    filter += pictures + " (" + patterns + ")";
    filter += '\0';
    filter += patterns;
    filter += '\0';
  }
  filter += all_files + " (*.*)";
  filter += '\0';
  filter += "*.*";
  filter += '\0';
  filter += '\0';
  return filter;
}

}  // namespace viewer
