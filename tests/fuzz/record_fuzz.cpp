// Feeds arbitrary bytes to the readers of a quote volume's data file: the
// header, the record envelope and the item record. Any crash or sanitizer
// report is a fault, and so is a read that claims success on a failed stream.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "db/field_record.h"
#include "db/file_header.h"
#include "db/quote_item.h"
#include "db/volume_names.h"

namespace {

void read_header_then_items(std::istream& in)
{
    FileHeader header;
    header.read(in);
    (void)is_volume_header(header);
    QuoteEntry item;
    uint32_t offset = 0;
    for (int i = 0; i < 16 && in.good(); ++i) {
        if (item.read_record(in) && in.fail())
            std::abort();
        (void)tombstone_offset(item.classification(), offset);
    }
}

void read_records(std::istream& in)
{
    FieldRecord record;
    for (int i = 0; i < 16 && in.good(); ++i) {
        record.read(in);
        for (unsigned f = 0; f <= record.field_count(); ++f)
            (void)record.field(f).length();
    }
    if (in.fail())
        return;
    // What was read must write and read back to the same fields.
    std::stringstream copy(std::ios::in | std::ios::out | std::ios::binary);
    record.write(copy);
    FieldRecord back;
    back.read(copy);
    if (copy.fail() || back.plain_body() != record.plain_body())
        std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::istringstream in(bytes, std::ios::in | std::ios::binary);
    if (data[0] % 3 == 0)
        read_header_then_items(in);
    else if (data[0] % 3 == 1)
        read_records(in);
    else
        (void)index_file_name(bytes.c_str());
    return 0;
}
