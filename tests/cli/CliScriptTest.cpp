// velkor-cli in scripts: -o - writes the data to standard output, --quiet leaves out progress
// and summary, --json gives the result as JSON (on standard error when standard output holds
// the data). The JSON is read back with a JSON parser.

#include "tests/cli/CliFixture.h"

#include "cli/Json.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace velkor::testing {
namespace {

using sim::MakeDateTime;

// The one JSON value of `text` (a line), or a null value when it does not parse.
QJsonDocument Json(const std::string& text) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    return error.error == QJsonParseError::NoError ? document : QJsonDocument();
}

class CliScripts : public CliOverPty {
protected:
    void SetUp() override {
        CliOverPty::SetUp();
        logger.changeState([](sim::LoggerState& s) {
            s.records = sim::GenerateLog(30, MakeDateTime(2024, 3, 1), 600, 3);
            s.sampleCount = 30;
            s.loggingStart = MakeDateTime(2024, 3, 1);
        });
        ASSERT_EQ(Run({"download", "-o", data}).code, 0);
    }
    const std::string data = (home / "logger.txt").string();
    const std::string other = (home / "other.txt").string();
};

TEST_F(CliScripts, StandardOutputQuietAndJson) {
    const std::string file = Slurp(data);
    const std::string polishCsv = [&] {
        EXPECT_EQ(Run({"export", data, "--dialect", "pl", "-o", (home / "pl.csv").string()}).code,
                  0);
        return Slurp(home / "pl.csv");
    }();
    ASSERT_TRUE(polishCsv.starts_with("\xEF\xBB\xBFtime;temperature_c;humidity_pct\r\n"));

    const struct {
        std::vector<std::string> args;
        std::string out;     // standard output, unless it holds the JSON
        bool jsonOnStdout;   // the JSON summary is standard output
        bool jsonOnStderr;   // the JSON summary is standard error
        std::string err;     // standard error, unless it holds the JSON
        const char* written; // a file the command writes, as standard output would show it
    } cases[] = {
        // The fixture's download archived these samples already.
        {{"download", "-o", "-"},
         file,
         false,
         false,
         "30 of 30 samples written to -\n"
         "Archive: new samples: 0, already there: 30, conflicting: 0.\n",
         nullptr},
        {{"download", "-o", "-", "--json"}, file, false, true, {}, nullptr},
        {{"download", "-o", other, "-q"}, "", false, false, "", "file"},
        {{"download", "-o", other, "--json"}, {}, true, false, "", "file"},
        {{"export", data, "-o", "-", "--dialect", "pl", "-q"},
         polishCsv,
         false,
         false,
         "",
         nullptr},
        {{"export", data, "-o", "-", "--dialect", "pl", "--json"},
         polishCsv,
         false,
         true,
         {},
         nullptr},
        {{"export", data, "--json"}, {}, true, false, "", nullptr},
    };
    for (const auto& c : cases) {
        std::string trace;
        for (const std::string& a : c.args)
            trace += a + ' ';
        SCOPED_TRACE(trace);
        std::filesystem::remove(other);
        const CliRun run = Run(c.args);
        EXPECT_EQ(run.code, 0) << run.err;
        if (!c.jsonOnStdout) {
            EXPECT_EQ(run.out, c.out);
        }
        if (!c.jsonOnStderr) {
            EXPECT_EQ(run.err, c.err);
        }
        if (c.written) {
            EXPECT_EQ(Slurp(other), file);
        }
        if (!c.jsonOnStdout && !c.jsonOnStderr)
            continue;
        const QJsonObject json = Json(c.jsonOnStdout ? run.out : run.err).object();
        ASSERT_FALSE(json.isEmpty()) << run.out << run.err;
        if (c.args[0] == "download") {
            EXPECT_EQ(json["file"].toString().toStdString(), c.written ? other : "-");
            EXPECT_EQ(json["port"].toString(), "COM3");
            EXPECT_EQ(json["records"].toInt(), 30);
            EXPECT_EQ(json["expected"].toInt(), 30);
            EXPECT_EQ(json["file_written"].toBool(), true);
            EXPECT_EQ(json["end"].toString(), "complete");
            EXPECT_EQ(json["archive"].toObject()["new"].toInt(), 0);
            EXPECT_EQ(json["archive"].toObject()["already_there"].toInt(), 30);
        } else {
            EXPECT_EQ(json["rows"].toInt(), 30);
            EXPECT_EQ(json["bad_lines"].toInt(), 0);
            EXPECT_TRUE(json["first_bad_line"].isNull());
            EXPECT_EQ(json["dialect"].toString(), c.args.size() > 3 ? "pl" : "rfc");
        }
    }
}

TEST_F(CliScripts, PortsAsJson) {
    const CliRun run = Run({"ports", "--json"});
    EXPECT_EQ(run.code, 0);
    const QJsonArray ports = Json(run.out).array();
    ASSERT_EQ(ports.size(), 1) << run.out;
    EXPECT_EQ(ports[0].toObject()["name"].toString(), "COM3");
    EXPECT_TRUE(ports[0].toObject()["device"].toString().contains(
        QString::fromStdString(logger.linkPath().string())));
}

TEST(CliJson, TextsKeepUtf8AndEscapeTheRest) {
    const struct {
        std::string text, json;
    } cases[] = {
        {"pomiary-żółw.txt", "\"pomiary-żółw.txt\""},
        {"a\"b\\c", "\"a\\\"b\\\\c\""},
        {"\x1b[31m\r\n\x7f", "\"\\u001b[31m\\u000d\\u000a\\u007f\""},
        {"bad\xff\xc3", "\"bad\\u00ff\\u00c3\""},
        {"\xed\xa0\x80", "\"\\u00ed\\u00a0\\u0080\""}, // a surrogate is no UTF-8
    };
    for (const auto& c : cases)
        EXPECT_EQ(cli::JsonString(c.text), c.json) << c.text;
}

} // namespace
} // namespace velkor::testing
