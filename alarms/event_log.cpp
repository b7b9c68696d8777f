#include "alarms/event_log.h"

#include <cstdio>

#include "alarms/alarm_event.h"
#include "alarms/event_time.h"

namespace {

// "%m/%d/%y  %H:%M:%S    ": 22 characters.
const char kStampFormat[] = "%02d/%02d/%02d  %02d:%02d:%02d    ";

}  // namespace

zstring FormatLogLine(const EventTime& when, const zstring& text)
{
    const std::tm& t = when.Fields();
    // The stamp is built from the fields, so no locale and no field out of
    // a formatter's range can change its width.
    char stamp[64];
    int year = (t.tm_year + 1900) % 100;
    if (year < 0)
        year += 100;
    std::snprintf(stamp, sizeof stamp, kStampFormat, t.tm_mon + 1, t.tm_mday, year, t.tm_hour,
                  t.tm_min, t.tm_sec);
    zstring line(stamp);
    line.append('"');
    // Each line break of the text becomes CR LF: a bare LF gets its CR, a
    // CR LF pair stays one.
    const char* s = text.c_str();
    for (unsigned i = 0; s[i] != '\0'; ++i) {
        if (s[i] == '\n' && (i == 0 || s[i - 1] != '\r'))
            line.append('\r');
        line.append(s[i]);
    }
    line.append('"');
    line.append("\r\n");
    return line;
}

int AppendLogLine(const zstring& log_path, const zstring& line)
{
    // Binary: the line carries its own CR LF, which text mode would turn
    // into CR CR LF.
    std::FILE* file = std::fopen(log_path.c_str(), "ab");
    if (!file)
        return 0;
    const size_t size = line.length();
    const bool written = std::fwrite(line.c_str(), 1, size, file) == size;
    const bool flushed = std::fflush(file) == 0;
    const bool closed = std::fclose(file) == 0;
    return written && flushed && closed ? 1 : 0;
}

int LogEvent(const AlarmEvent& event, const zstring& log_path)
{
    return LogText(event, log_path, event.Message());
}

int LogText(const AlarmEvent&, const zstring& log_path, const zstring& text)
{
    return AppendLogLine(log_path, FormatLogLine(EventTime(), text));
}
