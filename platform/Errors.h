#pragma once
// The errors a handler may raise. The window's error report shows what() of any of them;
// the classes only tell apart where an error came from.

#include <stdexcept>
#include <string>

namespace velkor {

// A file or device operation failed; the message is the platform's.
class InOutError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A text did not convert to a number ("'%s' is not a valid integer value").
class ConvertError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A floating-point division by zero or an invalid floating-point operation.
class MathError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An invalid property value of the chart engine.
class ChartError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Converts a decimal integer text the way the handlers need it: optional blanks and sign,
// then digits only. Anything else raises ConvertError with the usual message.
int StrToInt(const std::string& text);

} // namespace velkor
