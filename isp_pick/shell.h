// The one way isp_pick runs an outside command.
#pragma once

/// Runs `line` through the shell and waits for it to end. Without `reply`
/// returns the wait status, or -1 when no process could be made for the
/// shell (or waiting for it failed). With
/// `reply`, the command's standard output is read through a pipe and its
/// first line, at most `reply_size - 1` characters, lands in `reply`; returns
/// 1 then, or -1 when the command cannot start or prints nothing (`reply`
/// untouched).
int run_command(const char *line, char *reply, int reply_size);
