#pragma once

#include <iosfwd>

#include "base/zstring.h"

// The version of the program that wrote a state file, or of the one running:
// an edition name, which is only a label, and a major and minor number.
class VersionInfo {
public:
    void Fill(const char* edition, int major, int minor);

    // Three length-prefixed texts run together: the edition, then the major
    // and minor numbers in decimal ("12 Lite Version1 31 2").
    std::ostream& Write(std::ostream& out) const;
    // A record that does not read whole leaves the empty name and 0.0.
    std::istream& Read(std::istream& in);

    // Only the numbers take part; the edition names are not compared.
    int Equal(const VersionInfo& other) const;
    int Newer(const VersionInfo& other) const;
    int Older(const VersionInfo& other) const;

    // "Lite Version (3.2)"
    zstring Text() const;

    const zstring& Edition() const { return m_edition; }
    int Major() const { return m_major; }
    int Minor() const { return m_minor; }

private:
    zstring m_edition;
    int m_major = 0;
    int m_minor = 0;
};
