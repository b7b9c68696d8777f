#pragma once

#include <string>

#include "base/zstring.h"

// The Windows folder and name (which starts with a backslash), or the empty
// text when the platform cannot say where that folder is: the file is then
// left alone rather than made at the drive's root.
zstring WindowsFile(const char* name);

// The state file is text with CR LF line ends. Loading gives its text with
// plain line feeds, as the stream forms read it; false when it cannot be
// read.
bool LoadStateText(const zstring& path, std::string& text);
// Writes text with CR LF line ends beside path, then moves it into path's
// place: a full disk or a held file leaves the old state file whole.
bool SaveStateText(const zstring& path, const std::string& text);

