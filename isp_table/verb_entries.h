// The entry function of each verb, one file each (verb_*.cc), as git's
// builtin/ keeps its commands: each runs one parsed command line and
// returns the exit status. The verbs' table in cli.cc names them.
#pragma once

#include "command.h"
#include "exit_status.h"

ExitStatus cmd_generate(const Command &command);
ExitStatus cmd_check(const Command &command);
ExitStatus cmd_explain(const Command &command);
ExitStatus cmd_diff(const Command &command);
ExitStatus cmd_extend(const Command &command);
ExitStatus cmd_lint(const Command &command);
ExitStatus cmd_verify(const Command &command);
