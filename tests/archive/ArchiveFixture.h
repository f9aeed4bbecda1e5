#pragma once
// One fixture for the archive tests of every backend: a test gets a fresh, empty archive. A
// backend instantiates the backend-independent tests (ArchiveTest.cpp) with its Backend.

#include "archive/Archive.h"
#include "tests/support/TempFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace velkor::testing {

struct ArchiveBackend {
    std::string name;
    // The location of a new, empty archive; `folder` is the test's own temporary folder. Empty
    // when the backend cannot be tried here (no test server): the test is skipped.
    std::function<std::string(const std::filesystem::path& folder)> freshLocation;
};

inline std::string PrintBackend(const ::testing::TestParamInfo<ArchiveBackend>& info) {
    return info.param.name;
}

// `count` samples every `step` seconds from `first`; the values follow the time, shifted by
// `offset` tenths so that a different offset makes conflicting values.
inline std::vector<archive::Sample> Samples(archive::LoggerSeconds first, std::int64_t step,
                                            std::int64_t count, std::int32_t offset = 0) {
    std::vector<archive::Sample> out;
    out.reserve(static_cast<std::size_t>(count));
    for (std::int64_t i = 0; i < count; ++i) {
        const auto t = first + i * step;
        out.push_back(archive::Sample{t, static_cast<std::int32_t>(t / 60 % 400 - 100) + offset,
                                      static_cast<std::int32_t>(t / 60 % 900) + offset});
    }
    return out;
}

inline archive::DownloadMeta Meta(archive::DownloadKind kind = archive::DownloadKind::Download,
                                  std::int64_t records = 0) {
    archive::DownloadMeta m;
    m.kind = kind;
    m.storedAt = 1'700'000'000;
    m.program = "velkor-cli";
    m.version = "1.1.0";
    if (kind == archive::DownloadKind::Download) {
        m.port = "COM3";
        m.settings = archive::SettingsRead{1'700'000'000, 60, 1'690'000'000, records, 3000};
    } else {
        m.source = "logger.txt";
    }
    m.recordsExpected = records;
    m.recordsReceived = records;
    m.complete = true;
    m.sha256 = std::string(64, 'a');
    return m;
}

// 2024-01-01 00:00:00 of the logger's clock.
constexpr archive::LoggerSeconds Jan2024 = 1'704'067'200;

class ArchiveTest : public ::testing::TestWithParam<ArchiveBackend> {
protected:
    void SetUp() override {
        location = GetParam().freshLocation(folder.path());
        if (location.empty())
            GTEST_SKIP() << GetParam().name << " is not available to this run";
        archive = archive::OpenArchive(location);
    }
    archive::StoreCounts Store(const std::string& logger,
                               const std::vector<archive::Sample>& samples,
                               archive::DownloadKind kind = archive::DownloadKind::Download) {
        return archive->Store({logger, true}, Meta(kind, static_cast<std::int64_t>(samples.size())),
                              samples);
    }

    TempFolder folder;
    std::string location;
    std::unique_ptr<archive::Archive> archive;
};

} // namespace velkor::testing
