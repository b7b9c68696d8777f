#pragma once

#include <iosfwd>
#include <string>
#include <vector>

// The orvvol console tool: runs one command given as its arguments (the
// program name left out), writing its output to out and its messages to
// err, and returns the exit status: 0 success, 1 the operation failed,
// 2 a bad command line, 3 check found problems. A progress bar is drawn
// only when err is standard error and that is a terminal.
int run_volume_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);
