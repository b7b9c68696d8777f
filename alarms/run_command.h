#pragma once

class zstring;

// Starts command as a new process of its own, in a new process group, with
// the program's environment and current folder; a console it opens is 40 by
// 20 characters, blue on cyan, titled with the command. Returns
// CreateProcessA's result (nonzero when the process started); error_text
// always gets the system's text for the last error code afterwards. The
// process runs on unwatched: both of its handles are closed at once.
int RunCommand(const char* command, zstring& error_text);
