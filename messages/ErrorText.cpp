#include "messages/ErrorText.h"

#include "log/DataFileReader.h"
#include "messages/Messages.h"

namespace velkor {

std::string FileProblemText(Language language, FileProblem problem, const std::string& systemText) {
    switch (problem) {
    case FileProblem::NotFound:
        return MessageText(language, Message::FileNotFound);
    case FileProblem::AccessDenied:
        return MessageText(language, Message::FileAccessDenied);
    case FileProblem::IsFolder:
        return MessageText(language, Message::FileIsFolder);
    case FileProblem::LinkLoop:
        return MessageText(language, Message::FileLinkLoop);
    case FileProblem::DiskFull:
        return MessageText(language, Message::FileDiskFull);
    case FileProblem::ReadOnly:
        return MessageText(language, Message::FileReadOnly);
    case FileProblem::Busy:
        return MessageText(language, Message::FileBusy);
    case FileProblem::NoDevice:
        return MessageText(language, Message::FileNoDevice);
    case FileProblem::InOut:
        return MessageText(language, Message::FileInOut);
    case FileProblem::Other:
        break;
    }
    return systemText;
}

std::optional<std::string> KnownErrorText(Language language, const std::exception& error) {
    if (const auto* lost = dynamic_cast<const LostDeviceError*>(&error))
        return MessageText(language, Message::DeviceLost, {lost->PortName(), lost->SystemText()});
    if (const auto* special = dynamic_cast<const NotRegularFileError*>(&error))
        return MessageText(language, Message::NotRegularFile, {special->fileName()});
    if (const auto* empty = dynamic_cast<const NoLoggerDataError*>(&error))
        return MessageText(language, Message::NoLoggerData, {empty->fileName()});
    if (const auto* shrank = dynamic_cast<const DataFileShrankError*>(&error))
        return MessageText(language, Message::FileShrank, {shrank->fileName()});
    if (const auto* file = dynamic_cast<const FileError*>(&error))
        return MessageText(
            language, Message::FileError,
            {file->fileName(), FileProblemText(language, file->problem(), file->what())});
    return std::nullopt;
}

} // namespace velkor
