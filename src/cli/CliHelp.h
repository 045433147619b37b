#pragma once

#include "CliCommands.h"

namespace vexora::cli {

// What --help prints, from the command table: every command with its synopsis, or one command with
// its options.
QString helpText();
QString commandHelpText(const CliCommand& command);

}  // namespace vexora::cli
