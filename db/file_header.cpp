#include "db/file_header.h"

#include <cstdint>
#include <cstring>
#include <istream>
#include <limits>
#include <ostream>

static_assert(sizeof(double) == 8 && std::numeric_limits<double>::is_iec559,
              "the header stores the version as an IEEE-754 double");

const double kVolumeVersion = 2.0;
const char* const kVolumeSignature = "QuoteDatabaseV2<T, B>";
const char* const kVolumeBrand = "Keldovane";

namespace {

void encode_double(double value, unsigned char out[FileHeader::kVersionSize])
{
    uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    for (unsigned i = 0; i < FileHeader::kVersionSize; ++i)
        out[i] = static_cast<unsigned char>(bits >> (8 * i));
}

double decode_double(const unsigned char in[FileHeader::kVersionSize])
{
    uint64_t bits = 0;
    for (unsigned i = 0; i < FileHeader::kVersionSize; ++i)
        bits |= static_cast<uint64_t>(in[i]) << (8 * i);
    double value = 0.0;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Reads exactly n bytes; 0 (and a failed stream) when fewer arrive.
int read_exact(std::istream& is, unsigned char* out, unsigned n)
{
    is.read(reinterpret_cast<char*>(out), static_cast<std::streamsize>(n));
    return is.gcount() == static_cast<std::streamsize>(n) ? 1 : 0;
}

}  // namespace

FileHeader::FileHeader() : m_found(0), m_version(0.0) {}

FileHeader::~FileHeader() = default;

int FileHeader::found() const
{
    return m_found;
}

std::ostream& FileHeader::write(std::ostream& os) const
{
    unsigned char version[kVersionSize];
    encode_double(m_version, version);
    os.write(reinterpret_cast<const char*>(kMagic), kMagicSize);
    m_signature.write_stream(os);
    m_brand.write_stream(os);
    return os.write(reinterpret_cast<const char*>(version), kVersionSize);
}

std::istream& FileHeader::read(std::istream& is)
{
    m_found = 0;
    if (!is)
        return is;
    const std::istream::pos_type start = is.tellg();
    unsigned char magic[kMagicSize];
    if (!read_exact(is, magic, kMagicSize) || std::memcmp(magic, kMagic, kMagicSize) != 0) {
        // A read the system failed says nothing about the file: the stream
        // stays bad for the caller to see.
        if (is.bad())
            return is;
        // A foreign file: leave the stream as the caller handed it over.
        is.clear();
        is.seekg(start);
        return is;
    }
    m_found = 1;
    m_signature.read_stream(is);
    m_brand.read_stream(is);
    unsigned char version[kVersionSize];
    m_version = read_exact(is, version, kVersionSize) ? decode_double(version) : 0.0;
    return is;
}

void fill_volume_header(FileHeader& header)
{
    header.set_version(kVolumeVersion);
    header.set_signature(kVolumeSignature);
    header.set_brand(kVolumeBrand);
}

int is_volume_header(const FileHeader& header)
{
    return header.found() && header.brand() == zstring(kVolumeBrand) &&
           header.version() == kVolumeVersion;
}
