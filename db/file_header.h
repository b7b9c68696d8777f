#pragma once

#include <iosfwd>

#include "base/zstring.h"

// The fixed header at the start of a quote volume's data file: a 6-byte
// magic, the class signature and brand as length-prefixed texts, then the
// format version as an 8-byte little-endian IEEE-754 double.
class FileHeader {
public:
    static constexpr unsigned kMagicSize = 6;
    static constexpr unsigned kVersionSize = 8;
    // FE "kOXr" FF
    static constexpr unsigned char kMagic[kMagicSize] = {0xFE, 'k', 'O', 'X', 'r', 0xFF};

    FileHeader();
    virtual ~FileHeader();

    // 1 when the last read found the magic, else 0.
    virtual int found() const;
    virtual std::ostream& write(std::ostream& os) const;
    // On a magic mismatch the stream is put back where it was (and cleared
    // of the failure the short read may have caused) and found() is 0. A
    // read error (the stream gone bad) is left as it is, so that it is not
    // taken for a foreign file. After a match, a truncated header fails the
    // stream and the version reads 0.
    virtual std::istream& read(std::istream& is);

    double version() const { return m_version; }
    void set_version(double version) { m_version = version; }
    const zstring& signature() const { return m_signature; }
    void set_signature(const zstring& signature) { m_signature = signature; }
    const zstring& brand() const { return m_brand; }
    void set_brand(const zstring& brand) { m_brand = brand; }

private:
    int m_found;
    double m_version;
    zstring m_signature;
    zstring m_brand;
};

// What a quote volume writes and expects in its header.
extern const double kVolumeVersion;         // 2.0
extern const char* const kVolumeSignature;  // "QuoteDatabaseV2<T, B>"
extern const char* const kVolumeBrand;      // "Keldovane"

// Sets the version, signature and brand a quote volume writes.
void fill_volume_header(FileHeader& header);

// 1 when a header read from a data file belongs to a volume this program
// opens as it is: magic found, brand equal letter for letter, version
// exactly 2.0. The signature is not compared.
int is_volume_header(const FileHeader& header);
