#pragma once
// The words for the errors of the libraries that both front ends explain alike: a lost device,
// a file that is no regular file, holds no logger data or shrank while read, a file operation that
// failed.

#include "messages/Language.h"
#include "platform/Errors.h"

#include <exception>
#include <optional>
#include <string>

namespace velkor {

// The reason of a file error in the language; the system's text for FileProblem::Other.
std::string FileProblemText(Language language, FileProblem problem, const std::string& systemText);

// The message for an error of the kinds above; nothing for any other error, whose what() is
// shown as it is.
std::optional<std::string> KnownErrorText(Language language, const std::exception& error);

} // namespace velkor
