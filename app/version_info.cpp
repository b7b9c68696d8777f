#include "app/version_info.h"

#include <istream>
#include <ostream>
#include <string>

#include "base/n_stream.h"

void VersionInfo::Fill(const char* edition, int major, int minor)
{
    m_edition = edition ? edition : "";
    m_major = major;
    m_minor = minor;
}

std::ostream& VersionInfo::Write(std::ostream& out) const
{
    n_stream(m_edition).write(out);
    n_stream(zstring(std::to_string(m_major).c_str())).write(out);
    return n_stream(zstring(std::to_string(m_minor).c_str())).write(out);
}

std::istream& VersionInfo::Read(std::istream& in)
{
    n_stream edition, major, minor;
    edition.read(in);
    major.read(in);
    minor.read(in);
    if (in.fail()) {
        Fill("", 0, 0);
        return in;
    }
    // A text that is not a number counts as 0.
    m_edition = edition;
    m_major = major.as_int();
    m_minor = minor.as_int();
    return in;
}

int VersionInfo::Equal(const VersionInfo& other) const
{
    return m_major == other.m_major && m_minor == other.m_minor;
}

int VersionInfo::Newer(const VersionInfo& other) const
{
    if (m_major != other.m_major)
        return m_major > other.m_major;
    return m_minor > other.m_minor;
}

int VersionInfo::Older(const VersionInfo& other) const
{
    return !Equal(other) && !Newer(other);
}

zstring VersionInfo::Text() const
{
    const std::string numbers =
        " (" + std::to_string(m_major) + "." + std::to_string(m_minor) + ")";
    zstring text(m_edition);
    return text.append(numbers.c_str());
}
