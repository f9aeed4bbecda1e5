#include "tools/loggersim/CommandLine.h"

#include "platform/DateTime.h"
#include "tools/loggersim/LogSource.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QStringList>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <stdexcept>

namespace velkor::sim {

namespace {

long ReadInteger(const std::string& option, const std::string& text, long low, long high) {
    std::size_t used = 0;
    long value = 0;
    try {
        value = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != text.size() || value < low || value > high)
        throw std::invalid_argument(option + " needs a whole number from " + std::to_string(low) +
                                    " to " + std::to_string(high) + ", not '" + text + "'");
    return value;
}

double ReadDateTime(const std::string& option, const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    char separator = ' ', tail = 0;
    const int fields = std::sscanf(text.c_str(), "%4d-%2d-%2d%c%2d:%2d:%2d%c", &year, &month, &day,
                                   &separator, &hour, &minute, &second, &tail);
    double value = 0;
    const bool shapeOk = fields == 3 || (fields == 7 && (separator == ' ' || separator == 'T'));
    if (!shapeOk || !TryEncodeDateTime(year, month, day, hour, minute, second, 0, value))
        throw std::invalid_argument(option +
                                    " needs \"yyyy-mm-dd hh:mm:ss\" or \"yyyy-mm-dd\", "
                                    "not '" +
                                    text + "'");
    return value;
}

int ReadDuration(const std::string& option, const std::string& text) {
    int hour = 0, minute = 0, second = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%2d:%2d:%2d%c", &hour, &minute, &second, &tail) != 3 ||
        hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59)
        throw std::invalid_argument(option + " needs hh:mm:ss (at most 23:59:59), not '" + text +
                                    "'");
    return hour * 3600 + minute * 60 + second;
}

std::vector<std::string> ReadList(const std::string& text) {
    std::vector<std::string> items;
    std::size_t from = 0;
    while (from <= text.size()) {
        const std::size_t comma = std::min(text.find(',', from), text.size());
        if (comma > from)
            items.push_back(text.substr(from, comma - from));
        from = comma + 1;
    }
    return items;
}

} // namespace

std::string Unescape(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char c = text[++i];
        if (c == 'r')
            out += '\r';
        else if (c == 'n')
            out += '\n';
        else if (c == 't')
            out += '\t';
        else if (c == 'x' && i + 2 < text.size() &&
                 std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
                 std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
            out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else
            out += c;
    }
    return out;
}

SimOptions ParseCommandLine(const std::vector<std::string>& args) {
    // Options with a value, then the switches; the help text below describes them.
    static const char* const valued[] = {"port",
                                         "ports-folder",
                                         "id",
                                         "clock",
                                         "interval",
                                         "start",
                                         "samples",
                                         "battery",
                                         "generate",
                                         "seed",
                                         "log",
                                         "records",
                                         "erase-delay",
                                         "set-reply",
                                         "reply-delay",
                                         "split-at",
                                         "split-pause",
                                         "extra",
                                         "drip",
                                         "reply",
                                         "fault-commands",
                                         "vanish-after-blocks"};
    static const char* const switches[] = {"clock-stopped", "erase-never", "silent", "hold-port"};
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addOption(QCommandLineOption(QStringList{"h", "help"}));
    for (const char* name : valued)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name), {}, "value"));
    for (const char* name : switches)
        parser.addOption(QCommandLineOption(QString::fromLatin1(name)));

    QStringList arguments{"loggersim"};
    for (const std::string& a : args)
        arguments << QString::fromLocal8Bit(a.c_str());
    if (!parser.parse(arguments))
        throw std::invalid_argument(parser.errorText().toLocal8Bit().toStdString());
    if (!parser.positionalArguments().isEmpty())
        throw std::invalid_argument("unexpected argument '" +
                                    parser.positionalArguments().front().toStdString() + "'");

    auto given = [&](const char* name) { return parser.isSet(QString::fromLatin1(name)); };
    auto text = [&](const char* name) {
        return parser.value(QString::fromLatin1(name)).toLocal8Bit().toStdString();
    };
    auto integer = [&](const char* name, long low, long high) {
        return ReadInteger(std::string("--") + name, text(name), low, high);
    };

    SimOptions o;
    o.help = given("help");
    if (given("port"))
        o.port = static_cast<int>(integer("port", 0, 255));
    if (given("ports-folder"))
        o.portsFolder = text("ports-folder");
    if (given("id"))
        o.identification = Unescape(text("id")) + "\r";
    if (given("clock"))
        o.clock = ReadDateTime("--clock", text("clock"));
    o.clockStopped = given("clock-stopped");
    if (given("interval"))
        o.intervalSeconds = ReadDuration("--interval", text("interval"));
    if (given("start"))
        o.start = ReadDateTime("--start", text("start"));
    if (given("samples"))
        o.samples = static_cast<std::uint32_t>(integer("samples", 0, 9999999));
    if (given("battery"))
        o.batteryMillivolts = static_cast<int>(integer("battery", 0, 99999));
    if (given("generate"))
        o.generate = static_cast<std::size_t>(integer("generate", 0, 2500000));
    if (given("seed"))
        o.seed = static_cast<unsigned>(integer("seed", 0, 2147483647));
    if (given("log"))
        o.dataFile = text("log");
    if (given("records"))
        o.recordFile = text("records");
    if (given("erase-delay"))
        o.faults.eraseDelayMs = static_cast<int>(integer("erase-delay", 0, 3600000));
    o.faults.eraseNeverConfirms = given("erase-never");
    if (given("set-reply"))
        o.faults.setCommandReply = Unescape(text("set-reply"));
    o.faults.silent = given("silent");
    if (given("reply-delay"))
        o.faults.delayMs = static_cast<int>(integer("reply-delay", 0, 600000));
    if (given("split-at"))
        o.faults.splitAt = static_cast<std::size_t>(integer("split-at", 0, 4096));
    if (given("split-pause"))
        o.faults.splitPauseMs = static_cast<int>(integer("split-pause", 0, 600000));
    if (given("extra"))
        o.faults.extra = Unescape(text("extra"));
    if (given("drip"))
        o.faults.dripMs = static_cast<int>(integer("drip", 0, 60000));
    if (given("vanish-after-blocks"))
        o.faults.vanishAfterBlocks = static_cast<int>(integer("vanish-after-blocks", 0, 99999));
    o.faults.holdPort = given("hold-port");
    // PREFIX=TEXT: the reply to the commands beginning with PREFIX, replaced whole.
    for (const QString& value : parser.values("reply")) {
        const std::string spec = value.toLocal8Bit().toStdString();
        const std::size_t equals = spec.find('=');
        if (equals == std::string::npos || equals == 0)
            throw std::invalid_argument("--reply needs PREFIX=TEXT, e.g. G?00001=\\xFF");
        o.faults.replies[spec.substr(0, equals)] = Unescape(spec.substr(equals + 1));
    }
    if (given("fault-commands"))
        o.faults.commands = ReadList(text("fault-commands"));

    const int logSources = (o.generate > 0) + !o.dataFile.empty() + !o.recordFile.empty();
    if (logSources > 1)
        throw std::invalid_argument("give only one of --generate, --log and --records");
    return o;
}

std::string HelpText() {
    return R"(Usage: loggersim [options]
Plays the temperature and humidity logger on a pseudo-terminal that velkor finds as COMn:
the device side is linked as COMn in the ports folder, and the link is removed again when
the program ends (Ctrl+C, SIGTERM). It answers N? T? D? I? R? S? U? T! D! I! R! S! G? E!.

Port:
  --port N              appear as COM<N>, 0 to 255 (default 1)
  --ports-folder DIR    default $XDG_CONFIG_HOME/velkor/ports, else ~/.config/velkor/ports
State:
  --id TEXT             identification reply, CR appended (default RTW01234; RTT... is a
                        logger without humidity sensor)
  --clock "yyyy-mm-dd hh:mm:ss"   the logger's clock (default: this computer's local time);
                        it runs unless --clock-stopped is given
  --interval hh:mm:ss   measurement interval (default 00:10:00, or the spacing of the
                        first two records of --log/--records)
  --start "yyyy-mm-dd hh:mm:ss"   logging start (default: the first record of the log; for
                        --generate, so that the log ends now)
  --samples N           sample count reply (default: the number of records in the log)
  --battery MV          battery voltage in millivolts (default 3650)
Log (at most one; without any the memory is empty):
  --generate N          N records of realistic temperature and humidity curves (a daily
                        cycle, slow weather changes, noise), one per interval from the start
  --seed N              seed of --generate (default 1)
  --log FILE            a data file as velkor writes it (logger.txt): per line the record
                        number, TAB, yyyy-mm-dd hh:mm:ss, TAB, temperature, TAB, humidity
  --records FILE        raw 10-byte records as the logger stores them (day, month, year-2000,
                        hour, minute, second, temperature*10 and humidity*10 as signed
                        16-bit little-endian)
Erase:
  --erase-delay MS      E! confirms ("E!OK" CR) after MS milliseconds (default 3000)
  --erase-never         E! never confirms
Faults (TEXT takes \r \n \t \\ \xHH):
  --set-reply TEXT      reply sent after T! D! I! R! S! (e.g. "OK\r"); velkor never reads it
  --silent              never reply
  --reply-delay MS      every reply MS milliseconds late
  --split-at N          send a reply's first N bytes, then the rest after --split-pause MS
  --extra TEXT          bytes sent after every reply
  --drip MS             send replies one byte every MS milliseconds
  --reply PREFIX=TEXT   replace the reply to the commands beginning with PREFIX (repeatable;
                        "G?00001=AAAA" makes block 1 garbage, an empty TEXT no reply)
  --fault-commands L    the faults above only for these commands (comma-separated
                        prefixes: "G?" every block, "G?00003" one block, "T?")
  --vanish-after-blocks N   answer N block requests, then disappear like an unplugged
                        adapter at the next one
  --hold-port           hold the port locked, as another program using it would
)";
}

LoggerState BuildState(const SimOptions& o, double now) {
    LoggerState state;
    state.identification = o.identification;
    state.clock = o.clock.value_or(now);
    state.clockRuns = !o.clockStopped;
    state.batteryMillivolts = o.batteryMillivolts;

    if (!o.dataFile.empty())
        state.records = ReadDataFile(o.dataFile);
    else if (!o.recordFile.empty())
        state.records = ReadRecordFile(o.recordFile);

    double first = 0, second = 0;
    const bool firstValid = !state.records.empty() && state.records[0].DateTime(first);
    int interval = 600;
    if (o.intervalSeconds)
        interval = *o.intervalSeconds;
    else if (firstValid && state.records.size() > 1 && state.records[1].DateTime(second) &&
             second > first && second - first < 1.0)
        interval = static_cast<int>(std::lround((second - first) * SecondsPerDay));
    state.intervalSeconds = interval;

    if (o.start)
        state.loggingStart = *o.start;
    else if (o.generate > 0)
        state.loggingStart =
            std::floor(now * 1440.0) / 1440.0 -
            static_cast<double>(o.generate) * interval / SecondsPerDay; // ends about now
    else if (firstValid)
        state.loggingStart = first;
    else
        state.loggingStart = std::floor(now * 1440.0) / 1440.0;

    if (o.generate > 0)
        state.records = GenerateLog(o.generate, state.loggingStart, interval, o.seed);
    state.sampleCount = o.samples.value_or(static_cast<std::uint32_t>(state.records.size()));
    return state;
}

double LocalNow() {
    const std::time_t seconds = std::time(nullptr);
    std::tm local{};
    localtime_r(&seconds, &local);
    double value = 0;
    TryEncodeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                      local.tm_min, std::min(local.tm_sec, 59), 0, value);
    return value;
}

} // namespace velkor::sim
