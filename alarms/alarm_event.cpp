#include "alarms/alarm_event.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>
#include <string>

#include "alarms/sound_table.h"
#include "base/file_path.h"

const char kArmedEventFileName[] = "ORVLS3.ALM";

namespace {

const char kEventTimeFormat[] = "%02d/%02d/%04d %02d:%02d";
const unsigned kEventTimeLength = 16;  // MM/DD/YYYY HH:MM

// The number spelt by the count characters at text[at], or -1 when one of
// them is no digit.
int digits_at(const char* text, unsigned at, unsigned count)
{
    int value = 0;
    for (unsigned i = 0; i < count; ++i) {
        const unsigned char c = static_cast<unsigned char>(text[at + i]);
        if (!std::isdigit(c))
            return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Reads the byte that must come next; false (and the stream failed) when
// another byte or none comes.
bool expect_byte(std::istream& is, char byte)
{
    const int c = is.get();
    if (c != static_cast<unsigned char>(byte)) {
        is.setstate(std::ios::failbit);
        return false;
    }
    return true;
}

// A decimal number written by write: an optional minus sign and digits,
// then the blank that ends it.
bool read_number(std::istream& is, long long& value)
{
    std::string digits;
    int c = is.get();
    if (c == '-') {
        digits += '-';
        c = is.get();
    }
    while (c != EOF && std::isdigit(c) && digits.size() < 20) {
        digits += static_cast<char>(c);
        c = is.get();
    }
    if (c != ' ' || digits.empty() || digits == "-") {
        is.setstate(std::ios::failbit);
        return false;
    }
    char* end = nullptr;
    errno = 0;
    value = std::strtoll(digits.c_str(), &end, 10);
    if (errno != 0 || *end != '\0') {
        is.setstate(std::ios::failbit);
        return false;
    }
    return true;
}

}  // namespace

AlarmEvent::AlarmEvent()
    : m_enabled(0), m_execute(0), m_sound_choice(kSoundNormal)
{
    m_message = "This is a reminder!";
}

AlarmEvent::~AlarmEvent() = default;

std::ostream& AlarmEvent::write(std::ostream& os) const
{
    os << ' ' << static_cast<long long>(m_time.ToSeconds()) << ' ';
    os << ' ' << m_enabled << ' ' << m_execute << ' ' << m_sound_choice << ' ';
    m_message.write(os);
    m_sound_file.write(os);
    return os;
}

std::istream& AlarmEvent::read(std::istream& is)
{
    long long seconds = 0, enabled = 0, execute = 0, choice = 0;
    if (!expect_byte(is, ' ') || !read_number(is, seconds) || !expect_byte(is, ' ') ||
        !read_number(is, enabled) || !read_number(is, execute) || !read_number(is, choice))
        return is;
    n_stream message, sound_file;
    message.read(is);
    sound_file.read(is);
    if (!is)
        return is;
    const EventTime time(seconds);
    if (seconds < 0 || time.ToSeconds() != seconds || enabled < 0 || enabled > 1 ||
        execute < 0 || execute > 1 || choice < 0 || choice >= kSoundChoiceCount) {
        is.setstate(std::ios::failbit);
        return is;
    }
    m_time = time;
    m_enabled = static_cast<unsigned>(enabled);
    m_execute = static_cast<unsigned>(execute);
    m_sound_choice = static_cast<unsigned>(choice);
    m_message = message;
    m_sound_file = sound_file;
    return is;
}

void AlarmEvent::FormatEventTime(zstring& text) const
{
    const std::tm& t = m_time.Fields();
    char buffer[80];
    std::snprintf(buffer, sizeof buffer, kEventTimeFormat, t.tm_mon + 1, t.tm_mday,
                  t.tm_year + 1900, t.tm_hour, t.tm_min);
    text = buffer;
}

int AlarmEvent::ParseEventTime(const zstring& text)
{
    // Only MM/DD/YYYY HH:MM, every position a digit: no sign, no blank and
    // nothing before or after it.
    const char* s = text.c_str();
    if (text.length() != kEventTimeLength || s[2] != '/' || s[5] != '/' || s[10] != ' ' ||
        s[13] != ':')
        return 0;
    const int month = digits_at(s, 0, 2);
    const int day = digits_at(s, 3, 2);
    const int year = digits_at(s, 6, 4);
    const int hour = digits_at(s, 11, 2);
    const int minute = digits_at(s, 14, 2);
    if (month < 1 || month > 12 || day < 1 || day > 31 || year < 1 || hour < 0 || hour > 23 ||
        minute < 0 || minute > 59)
        return 0;
    const EventTime kept = m_time;
    zstring message;
    if (!m_time.SetDate(year, month, day, message)) {
        m_time = kept;
        return 0;
    }
    m_time.SetTime(hour, minute, 0);
    // A time the clock never reaches would count as due at once.
    if (m_time.ToSeconds() < 0) {
        m_time = kept;
        return 0;
    }
    return 1;
}

int AlarmEvent::SetSoundFile(const zstring& name)
{
    const zstring resolved = ResolveSoundName(name, SoundTable::ProgramFolder(), FilePath::FileExists);
    FilePath path;
    if (!path.SetPath(resolved) || !path.Exists())
        return 0;
    m_sound_file = resolved;
    return 1;
}

void AlarmEvent::ResetEventTime()
{
    m_time = EventTime();
}

const char* AlarmEvent::SoundToPlay() const
{
    if (m_sound_choice == kSoundNone || m_sound_file.length() == 0)
        return nullptr;
    return m_sound_file.c_str();
}

int SaveArmedEvent(const zstring& path, const AlarmEvent& event)
{
    std::ostringstream form;
    event.write(form);
    const std::string bytes = form.str();
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (written && closed)
        return 1;
    std::remove(path.c_str());
    return 0;
}

int LoadArmedEvent(const zstring& path, AlarmEvent& event)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return 0;
    AlarmEvent loaded;
    loaded.read(in);
    if (!in || in.peek() != EOF)
        return 0;
    event = loaded;
    return 1;
}

int ForgetArmedEvent(const zstring& path)
{
    std::remove(path.c_str());
    return FilePath::FileMissing(path.c_str());
}
