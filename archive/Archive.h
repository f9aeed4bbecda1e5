#pragma once
// The archive: every download kept per logger, merged without duplicates. One interface, two
// implementations: SQLite (a file, the default) and PostgreSQL (a server shared by many
// machines). Both use the same tables (Schema.h) and behave the same. Plain C++20, no Qt.
//
// Times of samples and of the logger's settings are integer seconds of the logger's own clock,
// counted from 1970-01-01 00:00:00 of that clock; the clock knows no time zone. Times of the
// computer (when a download was stored, when an erase happened) are Unix seconds (UTC).
// Temperature and humidity are tenths, as the logger sends them.
//
// Errors are raised as ArchiveError with an outcome (ArchiveFault) and the database's own text;
// the front ends word them. Nothing here shows or prints anything.

#include "analysis/Summary.h"
#include "messages/Messages.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace velkor::archive {

// Seconds of the logger's clock since 1970-01-01 00:00:00 of that clock.
using LoggerSeconds = std::int64_t;
// Seconds since 1970-01-01 00:00:00 UTC on the computer's clock.
using UnixSeconds = std::int64_t;

// The day counts of the rest of the program (days since 1899-12-30, the time of day as the
// fraction) to and from logger seconds, rounded to the nearest second.
LoggerSeconds FromDayCount(double dayCount);
double ToDayCount(LoggerSeconds seconds);

struct Sample {
    LoggerSeconds time = 0;
    std::int32_t temperature = 0; // tenths of a degree
    std::int32_t humidity = 0;    // tenths of a percent
    friend bool operator==(const Sample&, const Sample&) = default;
};

// A sample as archived, with the download that first brought it.
struct StoredSample {
    Sample sample;
    std::int64_t download = 0;
};

// Both ends inclusive; an absent end is open.
struct Period {
    std::optional<LoggerSeconds> from;
    std::optional<LoggerSeconds> to;
};

// The logger's settings as read before the download.
struct SettingsRead {
    LoggerSeconds clock = 0;
    std::int64_t interval = 0; // seconds
    LoggerSeconds loggingStart = 0;
    std::int64_t sampleCount = 0;
    std::int32_t batteryMillivolts = 0;
};

enum class DownloadKind {
    Download, // read from the logger
    Import,   // read from a data file
};

// What is known of one download or import besides its samples.
struct DownloadMeta {
    DownloadKind kind = DownloadKind::Download;
    UnixSeconds storedAt = 0;
    std::string program;                  // "velkor-cli", "velkor"
    std::string version;                  // "1.1.0"
    std::string port;                     // "COM3"; empty for an import
    std::string source;                   // the data file an import read; empty for a download
    std::optional<SettingsRead> settings; // absent for an import
    std::int64_t recordsExpected = 0;     // the sample count of the settings (imports: the lines)
    std::int64_t recordsReceived = 0;     // records accepted (imports: the samples read)
    bool complete = false;
    std::string sha256; // of the data file written or read, 64 lower-case hex digits
};

struct LoggerIdentity {
    std::string id;                     // the identifier, at most 16 characters
    std::optional<bool> humiditySensor; // unknown for an import; a download sets it
};

// What one Store did with the samples it was given.
struct StoreCounts {
    std::int64_t added = 0;        // new (logger, time): archived
    std::int64_t alreadyThere = 0; // archived before with the same values: skipped
    std::int64_t conflicting = 0;  // archived before with other values: the first values stay
    std::int64_t download = 0;     // the id of the download row written
    friend bool operator==(const StoreCounts&, const StoreCounts&) = default;
};

struct LoggerSummary {
    std::string id;
    std::optional<bool> humiditySensor;
    std::string label; // empty when the user set none
    std::int64_t samples = 0;
    std::optional<LoggerSeconds> first; // absent with no sample
    std::optional<LoggerSeconds> last;
    std::optional<UnixSeconds> lastDownload; // the latest download or import stored
};

struct DownloadSummary {
    std::int64_t id = 0;
    std::string logger;
    DownloadMeta meta;
    StoreCounts counts; // as Store returned them
};

struct EraseEvent {
    std::string logger;
    UnixSeconds at = 0;
    bool confirmed = false; // the logger confirmed the erase
};

struct Conflict {
    std::string logger;
    Sample sample;             // the values that were not archived
    std::int64_t download = 0; // the first download that brought them
};

struct RemoveResult {
    std::int64_t samplesRemoved = 0; // held by no other download: gone
    std::int64_t samplesKept = 0;    // held by another download too: kept, now credited to it
};

struct CheckResult {
    bool intact = true;                // the database's own integrity check passed
    std::vector<std::string> problems; // its report when not intact, the database's words
    std::int64_t loggers = 0;
    std::int64_t downloads = 0;
    std::int64_t samples = 0;
    std::int64_t conflicts = 0;
    std::int64_t eraseEvents = 0;
    int schemaVersion = 0;
};

enum class ArchiveFault {
    NotBuilt,       // this build has no archive, or not this kind (a URL without PostgreSQL)
    CannotOpen,     // the file or folder cannot be opened or created; the server not reached
    NotAnArchive,   // the file is not a database, or a database of something else
    Damaged,        // the database is corrupt
    Busy,           // locked by another writer past the busy timeout
    Full,           // the disk or the database is full
    ReadOnly,       // the file, its folder or the database is read-only
    NewerSchema,    // written by a newer program: left alone
    Authentication, // the server refused the credentials
    NoSuchLogger,   // a command named a logger the archive does not hold
    NoSuchDownload, // a download id the archive does not hold
    Other,
};

// The catalogue's words for the kind of fault, said before the database's own text; none for
// the faults whose own text says it all (NoSuchLogger, NoSuchDownload, Other).
std::optional<Message> FaultMessage(ArchiveFault fault);

class ArchiveError : public std::runtime_error {
public:
    // `detail` is the database's own text; it never holds a password.
    ArchiveError(ArchiveFault fault, const std::string& detail)
        : std::runtime_error(detail), fault_(fault) {}
    ArchiveFault Fault() const { return fault_; }

private:
    ArchiveFault fault_;
};

// Receives samples in time order, a chunk at a time, so that a long period needs no more memory
// than a chunk.
using SampleChunkSink = std::function<void(std::span<const StoredSample>)>;

class Archive {
public:
    virtual ~Archive() = default;

    // The location as it may be shown and stored: a path, or a URL without its password.
    virtual std::string Location() const = 0;
    // The schema version the archive is at (Schema.h: CurrentSchemaVersion once opened).
    virtual int SchemaVersion() = 0;

    // Stores one download or import in one transaction: the logger is added when new (and its
    // humidity sensor set when known), the download row written, and each sample stored unless
    // its (logger, time) is archived already. A sample archived with other values is kept in the
    // conflicts once (a repeated conflict is not stored again) and counted as conflicting each
    // time. Samples repeated within `samples` count as if stored one after the other. On an
    // error nothing of this download is stored.
    virtual StoreCounts Store(const LoggerIdentity& logger, const DownloadMeta& meta,
                              std::span<const Sample> samples) = 0;

    // An erase of the logger's memory. Adds the logger when new.
    virtual void RecordErase(const EraseEvent& event) = 0;

    virtual std::vector<LoggerSummary> Loggers() = 0;
    // The logger's archived samples in the period, in time order.
    virtual void ReadSamples(const std::string& logger, const Period& period,
                             const SampleChunkSink& sink) = 0;
    virtual std::int64_t CountSamples(const std::string& logger, const Period& period) = 0;
    // Raises NoSuchLogger when the archive does not hold the logger.
    virtual void SetLabel(const std::string& logger, const std::string& label) = 0;
    // The database's integrity check and the counts; raises only when it cannot run at all.
    virtual CheckResult Check() = 0;
    // The downloads and imports of the logger, oldest first; all loggers' for an empty id.
    virtual std::vector<DownloadSummary> Downloads(const std::string& logger) = 0;
    // Takes a download out again in one transaction: its row, its conflicts, and its samples
    // that no other download holds. Where another download held other values at that time (a
    // conflict), those values take the sample's place. Raises NoSuchDownload.
    virtual RemoveResult RemoveDownload(std::int64_t download) = 0;
    virtual std::vector<Conflict> Conflicts(const std::string& logger) = 0;
    virtual std::vector<EraseEvent> EraseEvents(const std::string& logger) = 0;
    // A download already stored with the same logger, kind, time stored, records received and
    // SHA-256 (for copying one archive into another without doubling its downloads).
    virtual std::optional<std::int64_t> FindDownload(const std::string& logger,
                                                     const DownloadMeta& meta) = 0;

    // The whole period as one vector; for a bounded period.
    std::vector<Sample> Samples(const std::string& logger, const Period& period);
};

// True for a PostgreSQL connection URI ("postgresql://..." or "postgres://..."); anything else
// names a SQLite file.
bool IsServerUrl(const std::string& location);
// The location without a password (a URL's "user:password@" becomes "user@"); a path unchanged.
std::string LocationForDisplay(const std::string& location);

// True when `location` names an archive file that is not there (a server is never missing):
// the commands that only read an archive say so instead of creating an empty one.
bool ArchiveMissing(const std::string& location);

// Opens the archive at `location`, creating and migrating it to the current schema as needed
// (in one transaction). Picks the backend by IsServerUrl. Raises ArchiveError: NotBuilt when
// this build lacks that backend.
std::unique_ptr<Archive> OpenArchive(const std::string& location);

// How many samples the logger holds by its settings, without a download: the smaller of the
// sample count and the readings due from the logging start to the logger's clock (one at the
// start, then one an interval; none before the start).
std::int64_t SamplesHeld(const SettingsRead& settings);
// The period those samples cover: from the logging start to the last reading due.
Period HeldPeriod(const SettingsRead& settings);

// A logger's samples of the period between two day counts (an absent end is open), in °C and %
// with day-count times: what the analysis takes, from the archive as from a data file.
std::vector<analysis::Sample> ReadAnalysisSamples(Archive& archive, const std::string& logger,
                                                  std::optional<double> from,
                                                  std::optional<double> to);
std::vector<analysis::Sample> ReadAnalysisSamples(Archive& archive, const std::string& logger,
                                                  const Period& period);

} // namespace velkor::archive
