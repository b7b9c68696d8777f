#pragma once

#include <cstdint>
#include <string>

#include "base/zstring.h"
#include "db/progress_quote_database.h"

// A file name as the user finds it: absolute.
std::string FullName(const zstring& name);
// Why the database's last operation failed, in the platform's words when
// the system refused a write.
std::string FailureText(ProgressQuoteDatabase& database);
// Text for the code page's message boxes: a character the page lacks
// shows as the system shows it ('?').
std::string NarrowText(const std::wstring& text);
// The size of the header a volume's data file starts with.
int64_t VolumeHeaderSize();
