#pragma once
// Saves a copy of the current data file under another name.

#include <exception>
#include <string>

namespace velkor {

enum class CopyOutcome {
    Copied,   // the destination now holds a copy of the source
    SameFile, // the destination is the source itself (the same name, a link to it): left alone
    Failed,   // no copy was made; CopyResult::error says why
};

struct CopyResult {
    CopyOutcome outcome = CopyOutcome::Failed;
    std::string error; // the platform's message, with the names, when the copy failed
    // The error that stopped the copy (a FileError naming the file and the problem), for a
    // front end to word; empty when no error was raised.
    std::exception_ptr cause;
};

// Copies source over destination, replacing an existing file without a question (asking is the
// window's). The copy goes to a temporary file in the destination's folder, is flushed to disk
// and then renamed over the destination, so that a failure (a full disk) leaves an existing
// destination as it was; error then ends with the system's text ("No space left on device").
// A source that is the destination itself is never touched. Raises nothing.
CopyResult CopyDataFile(const std::string& source, const std::string& destination) noexcept;

} // namespace velkor
