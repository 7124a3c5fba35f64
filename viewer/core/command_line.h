// The picture named on the viewer's command line.
#ifndef LUMAVIEW_VIEWER_COMMAND_LINE_H
#define LUMAVIEW_VIEWER_COMMAND_LINE_H

#include <functional>
#include <string>

namespace viewer {

// The arguments are split by the kernel (SplitCommandLine: double quotes
// removed). The picture is the first argument; but when there are several
// and the whole line, trimmed and unquoted, names an existing file, it is
// that file: a path with blanks passed without quotes ("Open with" of some
// shells). Empty when the line names nothing.
std::string CommandLinePicture(const char* line,
                               const std::function<bool(const std::string&)>& exists);

}  // namespace viewer

#endif
