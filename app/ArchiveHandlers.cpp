// The window's part in the archive: every download goes in after its data file is written, and
// the erase question warns when the logger holds samples the archive lacks. Without an archive
// (Services::archive empty) the window is as specified.

#include "app/MainWindow.h"
#include "archive/Archive.h"
#include "archive/DataFileSamples.h"
#include "log/DataFileState.h"
#include "log/Download.h"

#include <ctime>

#ifndef VELKOR_VERSION
#define VELKOR_VERSION "unknown"
#endif

namespace velkor {

namespace {

// Why the archive failed, in the window's language; the database's own words follow.
QString Reason(const archive::ArchiveError& e, Language language) {
    const bool english = language == Language::English;
    const char* reason = nullptr;
    switch (e.Fault()) {
    case archive::ArchiveFault::NotAnArchive:
        reason = english ? "the file is not an archive of this program"
                         : "plik nie jest archiwum tego programu";
        break;
    case archive::ArchiveFault::Damaged:
        reason = english ? "it is damaged" : "jest uszkodzone";
        break;
    case archive::ArchiveFault::Busy:
        reason = english ? "another program keeps it locked" : "inny program je blokuje";
        break;
    case archive::ArchiveFault::Full:
        reason = english ? "the disk is full" : "dysk jest pełny";
        break;
    case archive::ArchiveFault::ReadOnly:
        reason = english ? "it is read-only" : "jest tylko do odczytu";
        break;
    case archive::ArchiveFault::CannotOpen:
        reason = english ? "it cannot be opened or created" : "nie można go otworzyć ani utworzyć";
        break;
    case archive::ArchiveFault::NewerSchema:
        reason = english ? "a newer version of the program wrote it"
                         : "zapisała je nowsza wersja programu";
        break;
    case archive::ArchiveFault::Authentication:
        reason = english ? "the server refused the login" : "serwer odrzucił logowanie";
        break;
    case archive::ArchiveFault::NotBuilt:
        reason = english ? "this build cannot use such an archive"
                         : "ta wersja programu nie obsługuje takiego archiwum";
        break;
    default:
        return QString::fromUtf8(e.what());
    }
    return QString::fromUtf8(reason) + QStringLiteral(" (") + QString::fromUtf8(e.what()) + u')';
}

QString Shown(const std::string& location) {
    return QString::fromStdString(archive::LocationForDisplay(location));
}

} // namespace

QString MainWindow::ArchiveDownload(const DownloadResult& result, bool complete, bool& failed) {
    failed = false;
    const std::string& location = services_.archive;
    if (location.empty())
        return {};
    archive::DownloadMeta meta;
    meta.storedAt = static_cast<archive::UnixSeconds>(std::time(nullptr));
    meta.program = "velkor";
    meta.version = VELKOR_VERSION;
    // A lost device has closed the port by now; the result names it.
    const std::string port = result.portName.empty() ? services_.link.PortName() : result.portName;
    try {
        const auto counts =
            archive::StoreDownload(*archive::OpenArchive(location), meta, services_.settings, port,
                                   result, complete, services_.dataFile.DataFileName);
        return Text(RunText::ArchiveSummary)
            .arg(counts.added)
            .arg(counts.alreadyThere)
            .arg(counts.conflicting);
    } catch (const archive::ArchiveError& e) {
        failed = true;
        return Text(RunText::ArchiveFailed).arg(Shown(location), Reason(e, language_));
    } catch (const std::exception& e) {
        // The data file could not be read back.
        failed = true;
        return Text(RunText::ArchiveFailed).arg(Shown(location), QString::fromUtf8(e.what()));
    }
}

std::int64_t MainWindow::SamplesOutsideArchive() {
    const std::string& location = services_.archive;
    if (location.empty())
        return 0;
    try {
        return archive::SamplesOutsideArchive(*archive::OpenArchive(location), services_.settings);
    } catch (const archive::ArchiveError&) {
        // An archive that cannot be read protects nothing.
        return archive::SamplesHeld(archive::SettingsOf(services_.settings));
    }
}

QString MainWindow::RecordErase(bool confirmed) {
    const std::string& location = services_.archive;
    if (location.empty())
        return {};
    try {
        archive::OpenArchive(location)->RecordErase(
            {services_.settings.Identifier, static_cast<archive::UnixSeconds>(std::time(nullptr)),
             confirmed});
        return {};
    } catch (const archive::ArchiveError& e) {
        return Text(RunText::ArchiveEraseFailed).arg(Shown(location), Reason(e, language_));
    }
}

} // namespace velkor
