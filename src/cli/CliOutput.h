#pragma once

#include "CliArguments.h"
#include "foundation/Json.h"

namespace vexora {
class UGCAppState;
}

// How commands answer: text for people, JSON with --json; errors on stderr.
namespace vexora::cli {

void print(const QString& line);
void printJson(const Json& json);
// One JSON document on one line, for output read a line at a time.
void printJsonLine(const Json& json);
std::string text(const QString& value);
// The user-facing text on stderr (and as {"error": ...} with --json); answers the failure code.
int fail(const CliArguments& arguments, const QString& message);
// A usage problem on stderr; answers the usage code.
int usage(const QString& message);
// The run's title, video and publish results.
void printRunResult(const CliArguments& arguments, const UGCAppState& state);
Json runResultJson(const UGCAppState& state);
void printRunResultText(const UGCAppState& state);

}  // namespace vexora::cli
