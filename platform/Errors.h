#pragma once
// The errors a handler may raise. The window's error report shows what() of any of them;
// the classes only tell apart where an error came from.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <utility>

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

// Where in a file an error was found; attached to errors raised while loading a data file.
// The window finds it with dynamic_cast<const ErrorLocation*>(&error).
struct ErrorLocation {
    std::string file;
    std::size_t line = 0; // 1-based; 0: no line
};

// Why a file operation failed, for the reasons a user meets often; Other for the rest, whose
// wording is the system's text.
enum class FileProblem {
    Other,
    NotFound,     // ENOENT
    AccessDenied, // EACCES, EPERM
    IsFolder,     // EISDIR
    LinkLoop,     // ELOOP
    DiskFull,     // ENOSPC
    ReadOnly,     // EROFS
    Busy,         // EBUSY, a sharing violation
    NoDevice,     // ENXIO
    InOut,        // EIO
};

// A file operation failed. what() is the system's text, as for every InOutError; the front
// ends word the problem in their language and name the file.
class FileError : public InOutError {
public:
    FileError(std::string fileName, FileProblem problem, const std::string& systemText)
        : InOutError(systemText), fileName_(std::move(fileName)), problem_(problem) {}
    const std::string& fileName() const { return fileName_; }
    FileProblem problem() const { return problem_; }

private:
    std::string fileName_;
    FileProblem problem_;
};

// The device of an open port went away or failed while in use (an unplugged adapter, EIO).
// what() is the system's error text.
class LostDeviceError : public InOutError {
public:
    LostDeviceError(std::string portName, std::string systemText);
    const std::string& PortName() const { return portName_; }     // "COM3"
    const std::string& SystemText() const { return systemText_; } // "Input/output error"

private:
    std::string portName_;
    std::string systemText_;
};

// A data file that is not a regular file (a FIFO, a device, a folder). The window words the
// message itself; what() is a plain English one.
class NotRegularFileError : public InOutError {
public:
    explicit NotRegularFileError(std::string fileName);
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

// A data file that holds no logger data: UTF-16, binary, or data lines none of which loads.
class NoLoggerDataError : public InOutError {
public:
    explicit NoLoggerDataError(std::string fileName);
    const std::string& fileName() const { return fileName_; }

private:
    std::string fileName_;
};

// Errors of one line of a data file: the kind of the original error, with its place.
class LocatedConvertError : public ConvertError, public ErrorLocation {
public:
    LocatedConvertError(const std::string& message, ErrorLocation where)
        : ConvertError(message), ErrorLocation(std::move(where)) {}
};

class LocatedFileError : public FileError, public ErrorLocation {
public:
    LocatedFileError(const FileError& error, ErrorLocation where)
        : FileError(error), ErrorLocation(std::move(where)) {}
};

class LocatedInOutError : public InOutError, public ErrorLocation {
public:
    LocatedInOutError(const std::string& message, ErrorLocation where)
        : InOutError(message), ErrorLocation(std::move(where)) {}
};

// Converts a decimal integer text the way the handlers need it: optional blanks and sign,
// then digits only. Anything else raises ConvertError with the usual message.
int StrToInt(const std::string& text);

} // namespace velkor
