#pragma once
// Bytes of a file or a device quoted in a message. A message travels as a C string (what() of
// an error), which a zero byte would cut short, and a box cannot show control bytes or bytes
// that are not UTF-8. Such bytes are written as \xNN instead.

#include <string>
#include <string_view>

namespace velkor {

// The bytes with every control byte (0x00-0x1F, 0x7F) and every byte that is not part of a
// well-formed UTF-8 character written as \xNN (lower-case hex); the rest as it is.
std::string EscapeForMessage(std::string_view bytes);

} // namespace velkor
