// Random operations on a volume damaged by the input's first bytes. Faults:
// an append reported done that does not read back, a single or whole-volume
// read that disagrees with the stream reader, a copy or pack whose items
// differ from the live items read one by one.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "db/quote_database.h"
#include "db/quote_item.h"
#include "db/volume_reader.h"

#include <unistd.h>

namespace fs = std::filesystem;

namespace {

struct Input {
    const uint8_t* p;
    size_t n;
    uint8_t byte() { return n ? (--n, *p++) : 0; }
    std::string bytes(size_t count)
    {
        count = std::min(count, n);
        n -= count;
        p += count;
        return std::string(reinterpret_cast<const char*>(p - count), count);
    }
};

// The fuzzer's own folder; the current folder stays as it is, since
// libFuzzer reads its corpus through relative names.
const fs::path& folder()
{
    static const fs::path path = [] {
        const fs::path made = fs::temp_directory_path() / ("orvalis-fuzz-" + std::to_string(getpid()));
        fs::create_directories(made);
        return made;
    }();
    // Registered once the path exists, so it runs before the path is gone.
    static const int removed_at_exit = std::atexit([] { fs::remove_all(path); });
    (void)removed_at_exit;
    return path;
}

zstring in_folder(const char* name)
{
    return zstring((folder() / name).string().c_str());
}

std::string text_of(const StoredQuote& item)
{
    return std::to_string(item.quote_number()) + '|' + std::to_string(item.frequency()) + '|' +
           item.classification().c_str() + '|' + item.text().c_str();
}

// Live items read one call at a time, as the program's views read them.
std::vector<std::string> live_items(QuoteDatabaseV2& db)
{
    std::vector<std::string> items;
    StoredQuote item;
    for (uint32_t i = 0, n = db.count(); n != 0xFFFFFFFFu && i < n; ++i)
        if (db.read_item(i, item) && !db.is_deleted(item))
            items.push_back(text_of(item));
    return items;
}

// The reference: the stream reader on the record the entry names.
int stream_read(QuoteDatabaseV2& db, uint32_t n, StoredQuote& item)
{
    uint32_t offset = 0;
    if (!db.read_entry(n, offset) || offset == 0xFFFFFFFFu)
        return 0;
    std::ifstream data(db.file_name().c_str(), std::ios::binary);
    return data.seekg(offset) ? item.read_record(data) : 0;
}

void check_fast_reads(QuoteDatabaseV2& db)
{
    VolumeReader reader;
    if (!reader.open(db.file_name(), db.index_name()) || !reader.load_index())
        return;
    for (uint32_t i = 0; i < reader.count(); ++i) {
        StoredQuote reference, single, whole;
        const int ok = stream_read(db, i, reference);
        if (ok != static_cast<int>(db.read_item(i, single)) || ok != reader.read_item(i, whole) ||
            text_of(reference) != text_of(single) || text_of(reference) != text_of(whole))
            std::abort();
    }
}

void run(QuoteDatabaseV2& db, Input& in)
{
    for (int step = 0; step < 24 && in.n > 0; ++step) {
        const uint8_t op = in.byte();
        const uint32_t n = in.byte();
        QuoteEntry entry;
        entry.set_classification(zstring("cat"));
        entry.set_text(zstring(in.bytes(in.byte() % 40).c_str()));
        switch (op % 8) {
        case 0: {
            const uint32_t before = db.count();
            if (db.append_item(entry)) {
                StoredQuote back;
                if (db.count() != before + 1 || !db.read_item(before, back) ||
                    text_of(back) != text_of(entry))
                    std::abort();
            }
            break;
        }
        case 1:
            db.replace_item(n, entry);
            break;
        case 2:
        case 3:
            if (db.read_item(n, entry)) {
                entry.set_position(static_cast<int32_t>(n));
                (void)(op % 8 == 2 ? db.delete_item(entry) : db.undelete_item(entry));
            }
            break;
        case 4:
            db.erase_entry(n);
            break;
        case 5:
        case 6: {
            const std::vector<std::string> live = live_items(db);
            if (op % 8 == 6) {
                if (db.pack() && live_items(db) != live)
                    std::abort();
            } else if (db.copy_to(in_folder("copy.STD"))) {
                QuoteDatabaseV2 copy(in_folder("copy.STD"));
                if (live_items(copy) != live)
                    std::abort();
            }
            break;
        }
        default:
            check_fast_reads(db);
            break;
        }
    }
    check_fast_reads(db);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    for (const fs::directory_entry& file : fs::directory_iterator(folder()))
        fs::remove(file.path());

    Input in{data, size};
    // The volume: a sound header, then records and an index from the input.
    { QuoteDatabaseV2 fresh(in_folder("Volume01.STD")); }
    std::ofstream((folder() / "Volume01.STD").string(), std::ios::binary | std::ios::app)
        << in.bytes(in.byte() * 4);
    std::ofstream((folder() / "Volume01.idx").string(), std::ios::binary) << in.bytes(in.byte() % 64);
    QuoteDatabaseV2 db(in_folder("Volume01.STD"));
    run(db, in);
    return 0;
}
