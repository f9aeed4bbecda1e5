#pragma once
// The logger's side of the protocol: one command in, the reply out, set commands applied to
// the state. No timing and no faults here; LoggerSim adds those.
//
// Replies (CR is 0x0D):
//   N?        the identification, as it stands in the state
//   T?        "T?" hhmmss CR          D?  "D?" DDMMYY CR         I?  "I?" hhmmss CR
//   R?        "R?" hhmmssDDMMYY CR    S?  "S?" nnnnnnn CR        U?  "U?" vvvvv CR
//   G?kkkkk   250 bytes: the records 25k to 25k+24, 0xFF bytes for slots past the log
//   E!        "E!OK" CR once the erase is done (LoggerSim sends it after the erase delay)
//   T! D! I! R! S!  no reply; the state changes when the fields are valid
// Anything else, or a command with bad fields, gets no reply and changes nothing.

#include "tools/loggersim/LoggerState.h"

#include <cstdint>
#include <string>

namespace velkor::sim {

struct Answer {
    enum class Kind { Query, Set, Erase, Unknown };
    Kind kind = Kind::Unknown;
    // The reply to send now (queries); empty for the others.
    std::string reply;
};

// Answers one command, given without its CR. Set commands change `state`.
Answer AnswerCommand(const std::string& command, LoggerState& state);

// The reply to G? for block `block`.
std::string BlockReply(const LoggerState& state, long block);

// The confirmation of a finished erase.
inline const std::string EraseConfirmation = "E!OK\r";

// The 10 bytes of a record as the logger stores and sends it.
void EncodeRecord(const cmd::LogRecord& record, std::uint8_t* bytes);

} // namespace velkor::sim
