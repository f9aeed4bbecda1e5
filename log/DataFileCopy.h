#pragma once
// Saves a copy of the current data file under another name.

#include <string>

namespace velkor {

// Copies source over destination, replacing an existing file without a question. Nothing is
// raised: the window reports nothing either way. A source that is the destination itself
// (the same name, a link to it) is left alone, never truncated. True when a copy was made.
bool CopyDataFile(const std::string& source, const std::string& destination) noexcept;

} // namespace velkor
