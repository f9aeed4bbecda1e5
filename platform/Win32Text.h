#pragma once
// Text conversions for the Win32 calls: file and device names go to the wide-character API as
// UTF-16, and the system's error messages come back as UTF-8.

#include <string>

namespace velkor {

// UTF-8 to UTF-16.
std::wstring WideText(const std::string& text);
// UTF-16 to UTF-8.
std::string NarrowText(const std::wstring& text);

// The system's message for a GetLastError() code, without the final period and line end
// ("Access denied"), in the style of the POSIX error texts.
std::string Win32ErrorText(unsigned long error);

} // namespace velkor
