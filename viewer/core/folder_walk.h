// Stepping through the pictures of one folder: the order of its file names
// and the next (or previous) name, going round the folder, that a test
// accepts (the viewer's test: the kernel decides the file's format).
#ifndef LUMAVIEW_VIEWER_FOLDER_WALK_H
#define LUMAVIEW_VIEWER_FOLDER_WALK_H

#include <functional>
#include <string>
#include <vector>

namespace viewer {

// The order of the folder: names compared without regard to the case of the
// letters A to Z, runs of digits by their value ("pic2" before "pic10"),
// then, between names that still compare equal, byte by byte.
bool NameBefore(const std::string& a, const std::string& b);
void OrderNames(std::vector<std::string>& names);

enum class Step { Next, Previous };

// The first name after (or before) `current` in the ordered `names`, going
// round the end of the folder, that `accept` takes; `current` itself is not
// offered. When `current` is not among the names (it was renamed or
// removed), the walk starts from where it would stand. Empty when no other
// name is accepted.
std::string StepFrom(const std::vector<std::string>& names, const std::string& current, Step step,
                     const std::function<bool(const std::string&)>& accept);

}  // namespace viewer

#endif
