#pragma once
// The commands. Each returns the exit code, writes its results to stdout and its messages to
// stderr, and raises Failure (or the errors of link/ and log/) when it cannot go on.

#include "cli/Cli.h"
#include "cli/Options.h"
#include "link/WriteSettings.h"

namespace velkor::cli {

int RunPorts(Context& context, const Invocation& invocation);
int RunInfo(Context& context, const Invocation& invocation);
int RunSetClock(Context& context, const Invocation& invocation);
int RunConfigure(Context& context, const Invocation& invocation);
int RunErase(Context& context, const Invocation& invocation);
int RunDownload(Context& context, const Invocation& invocation);
int RunExport(Context& context, const Invocation& invocation);
int RunSummary(Context& context, const Invocation& invocation);
int RunSummary(Context& context, const Invocation& invocation);

// Why configure refuses the settings it was given.
Message SettingsProblemMessage(SettingsProblem problem);

// "logger.txt" -> "logger.csv", "data" -> "data.csv", "dir.d/log" -> "dir.d/log.csv".
std::string CsvNameFor(const std::string& dataFile);

} // namespace velkor::cli
