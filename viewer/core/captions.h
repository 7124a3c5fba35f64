// The texts the viewer composes: its title bar, the message for a picture
// that cannot be shown, and the filter of the File > Open dialog. Patterns
// come from the language's string table; the inserted texts (file names,
// the kernel's reasons) are copied as they are, never read as patterns.
#ifndef LUMAVIEW_VIEWER_CAPTIONS_H
#define LUMAVIEW_VIEWER_CAPTIONS_H

#include <string>
#include <vector>

namespace viewer {

// True for the first byte of a two-byte character of the ANSI code page
// (code page 936 has '\' among its second bytes, so a path is split only at
// separators that are whole characters). NoLeadBytes: a single-byte code page.
using LeadByteTest = bool (*)(unsigned char byte);
bool NoLeadBytes(unsigned char byte);

// The last component of a path (after the last '\', '/' or ':').
std::string FileNamePart(const std::string& path, LeadByteTest lead = NoLeadBytes);

// The folder of a path with its separator ("C:\a\" for "C:\a\b.ppm"); empty
// for a bare name.
std::string FolderPart(const std::string& path, LeadByteTest lead = NoLeadBytes);

// "<file> - <width> x <height> - <format> - <zoom>% - <application>" (the
// zoom left out when it is not above 0), or the application's name alone
// when no picture is shown.
std::string TitleText(const std::string& application, const std::string& path, int width,
                      int height, const std::string& format, int zoom_percent,
                      LeadByteTest lead = NoLeadBytes);

// The pattern with each "%s" replaced by the next of `values` in turn (an
// empty text once they run out); "%%" gives "%".
std::string FillPattern(const std::string& pattern, const std::vector<std::string>& values);

// The kernel's reason with its description: "reason (description)", or the
// reason alone.
std::string ReasonText(const std::string& reason, const std::string& description);

// The filter of the open dialog: "<pictures> (*.A;*.B)", its patterns, then
// "<all files> (*.*)" and "*.*", each text ended by a zero and the whole by
// a second zero. `formats` are the registered format names.
std::string OpenFilter(const std::string& pictures, const std::string& all_files,
                       const std::vector<std::string>& formats);

}  // namespace viewer

#endif
