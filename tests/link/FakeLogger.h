#pragma once
// A scripted logger on an in-memory port: each command written gets the reply the test set for
// it; commands without one get no reply at all.

#include "platform/MemorySerial.h"

#include <map>
#include <string>

namespace velkor::testing {

inline void AnswerCommands(MemoryLine& line, std::map<std::string, std::string> replies) {
    line.onWrite = [replies = std::move(replies)](const std::string& written, MemoryLine& l) {
        const auto it = replies.find(written);
        if (it != replies.end())
            l.send(it->second);
    };
}

} // namespace velkor::testing
