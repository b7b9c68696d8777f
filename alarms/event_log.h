#pragma once

#include "base/zstring.h"

class AlarmEvent;
class EventTime;

// The event log ("ORVLS.TXT"): one entry per firing, each
// "MM/DD/YY  HH:MM:SS    " and the text in double quotes, lines ending in
// CR LF. A text of several lines keeps its line breaks, each written as
// CR LF; double quotes inside it are written as they are.

// Appends an entry with the event's message; 1 when written, 0 when the
// log cannot be opened or written.
int LogEvent(const AlarmEvent& event, const zstring& log_path);
// The same with text (the event is not used).
int LogText(const AlarmEvent& event, const zstring& log_path, const zstring& text);

// The entry's bytes for text stamped with when, line end included.
zstring FormatLogLine(const EventTime& when, const zstring& text);
// Appends line to the file, binary, creating it when missing; 1 when the
// bytes were written and the file closed without error.
int AppendLogLine(const zstring& log_path, const zstring& line);
