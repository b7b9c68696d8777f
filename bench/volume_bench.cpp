// Times the quote volume's operations beside the floor of the same file work
// done bare in the same run: a copy of the same bytes (plain, and with each
// written file flushed to the disk, as a durable pack must at least do), and
// an open, seek and read of the same records through the same stream library
// (bare, and inside the least locking a read needs). Every volume is
// generated from a fixed seed in a scratch folder under the temp folder,
// which is deleted at the end.
//
//   volume_bench [--small] [--runs N] [--reads N] [--only append|reads|pack]
//
// --small divides every size by 100 for a quick check; --only runs one part
// (append: append_item; reads: count and read_item by volume size; pack:
// delete_item and pack). Each figure is the median of the runs; within a
// round every row runs once, so a change of machine load falls on the
// operation and its floors alike. The targets the figures are held to are
// printed last, each as the ratio of two medians.
#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "bench/quote_generator.h"
#include "bench/scratch_files.h"
#include "db/pack_journal.h"
#include "db/quote_database.h"
#include "db/quote_item.h"
#include "db/volume_lock.h"

namespace {

using Clock = std::chrono::steady_clock;

const uint64_t kSeed = 0x4F7256616C6973ull;

struct Options {
    uint32_t append_items = 100000;
    std::vector<uint32_t> volumes = {1000, 10000, 100000, 1000000};
    uint32_t reads = 10000;
    uint32_t count_calls = 10000;
    uint32_t pack_items = 100000;
    // Other builds share the machine: five short runs give a median that
    // one slow stretch cannot move.
    int runs = 5;
    std::string only;  // empty: every part
    bool runs_part(const char* part) const { return only.empty() || only == part; }
};

// ---- Timing and the table ------------------------------------------------

// One row of a table: an untimed preparation, the timed work, then an
// untimed check that the work did what it should. The work may fail early.
struct Row {
    std::string name;
    std::function<bool()> work;
    std::function<void()> prepare = [] {};
    std::function<bool()> check = [] { return true; };
};

int g_failures = 0;

// A target: the ratio of two medians and the most it may be.
struct Target {
    std::string what;
    double ratio;
    double most;
};
std::vector<Target> g_targets;

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

std::string fixed(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", value);
    return text;
}

double time_row(Row& row)
{
    row.prepare();
    const Clock::time_point start = Clock::now();
    const bool done = row.work();
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (!done || !row.check()) {
        std::printf("  ** %s did not do its work\n", row.name.c_str());
        ++g_failures;
    }
    return seconds;
}

// Rows after the first are its floors ("floor: ") or the parts it is made
// of ("part: "); each shows how many times slower the first row is.
// Gives the median seconds of each row.
std::vector<double> measure(const std::string& title, uint32_t ops, std::vector<Row> rows,
                            int runs)
{
    std::vector<std::vector<double>> seconds(rows.size());
    for (int run = 0; run < runs; ++run)
        for (size_t r = 0; r < rows.size(); ++r)
            seconds[r].push_back(time_row(rows[r]));
    std::printf("\n| **%s** | ops | µs/op | items/s | µs/op per run | op ÷ row |\n",
                title.c_str());
    std::printf("|---|--:|--:|--:|--:|--:|\n");
    std::vector<double> medians;
    for (const std::vector<double>& row : seconds)
        medians.push_back(median(row));
    const double first = medians[0];
    for (size_t r = 0; r < rows.size(); ++r) {
        const double mid = medians[r];
        std::string each;
        for (double s : seconds[r])
            each += (each.empty() ? "" : " / ") + fixed(s * 1e6 / ops);
        const std::string ratio = r == 0 ? "" : fixed(first / mid) + "×";
        std::printf("| %s | %u | %.2f | %.0f | %s | %s |\n", rows[r].name.c_str(), ops,
                    mid * 1e6 / ops, ops / mid, each.c_str(), ratio.c_str());
    }
    std::fflush(stdout);
    return medians;
}

std::string items_label(uint32_t n)
{
    return n % 1000000 == 0 ? std::to_string(n / 1000000) + "M"
         : n % 1000 == 0    ? std::to_string(n / 1000) + "k"
                            : std::to_string(n);
}

std::vector<uint32_t> random_positions(uint32_t count, uint32_t items, uint64_t seed)
{
    Random random(seed);
    std::vector<uint32_t> positions(count);
    for (uint32_t& p : positions)
        p = random.below(items);
    return positions;
}

// ---- The measurements ----------------------------------------------------

std::vector<std::string> encode_records(const std::vector<QuoteEntry>& quotes, uint32_t n)
{
    std::vector<std::string> records;
    for (uint32_t i = 0; i < n; ++i) {
        std::ostringstream out(std::ios::out | std::ios::binary);
        quotes[i].write_record(out);
        records.push_back(out.str());
    }
    return records;
}

// The same bytes as append_item, written bare: one open, write and close
// per file and item.
bool append_bare(const std::vector<std::string>& records, uint32_t offset)
{
    const std::string data_name = "bare.STD", index_name = "bare.idx";
    for (const std::string& record : records) {
        std::ofstream(data_name, std::ios::binary | std::ios::app) << record;
        std::ofstream(index_name, std::ios::binary | std::ios::app) << entry_bytes(offset);
        offset += static_cast<uint32_t>(record.size());
    }
    return true;
}

// Appends through the database against the same bytes written bare, one
// open per file and item or one open in all, and the files copied whole.
void measure_append(QuoteDatabaseV2& db, std::vector<QuoteEntry>& quotes, uint32_t n, int runs)
{
    const std::string header = header_bytes();
    const std::vector<std::string> records = encode_records(quotes, n);
    std::vector<Row> rows;
    rows.push_back({"append_item", [&] {
                        for (uint32_t i = 0; i < n; ++i)
                            if (!db.append_item(quotes[i]))
                                return false;
                        return true;
                    },
                    [&] {
                        db.set_file_name(zstring("append.STD"));
                        db.create();
                    },
                    [&] { return db.count() == n; }});
    rows.push_back({"floor: same bytes, ofstream open + write + close per file and item",
                    [&] { return append_bare(records, static_cast<uint32_t>(header.size())); },
                    [&] {
                        std::ofstream("bare.STD", std::ios::binary | std::ios::trunc) << header;
                        std::ofstream("bare.idx", std::ios::binary | std::ios::trunc);
                    },
                    [&] { return same_pair("bare.STD", "append.STD"); }});
    rows.push_back({"floor: same records encoded, both files held open",
                    [&] { return write_volume("held.STD", quotes, n).offsets.size() == n; },
                    [] {}, [&] { return same_pair("held.STD", "append.STD"); }});
    rows.push_back({std::string("floor: ") + kCopyPairFloor + " of the data and index files",
                    [&] { return copy_pair("append.STD", "copy.STD"); },
                    [&] { delete_pair("copy.STD"); }});
    rows.push_back({"floor: 64 KiB read + write loop of both files",
                    [&] { return copy_pair_by_loop("append.STD", "loop.STD"); }, [] {},
                    [&] { return same_pair("loop.STD", "append.STD"); }});
    measure("append " + items_label(n) + " items", n, rows, runs);
}

// A generated volume to read: its data file, where its records lie, and
// the random positions every read row visits.
struct Volume {
    std::string name;
    Layout layout;
    std::vector<uint32_t> positions;
    uint32_t items() const { return static_cast<uint32_t>(layout.offsets.size()); }
    std::string label() const { return items_label(items()) + " items"; }
};

Volume make_volume(std::vector<QuoteEntry>& quotes, uint32_t items, uint32_t reads)
{
    Volume volume;
    volume.name = "read" + std::to_string(items) + ".STD";
    volume.layout = write_volume(volume.name, quotes, items);
    volume.positions = random_positions(reads, items, kSeed + items);
    std::printf("%s: data file %u bytes, %.1f bytes per record\n", volume.label().c_str(),
                volume.layout.end,
                (volume.layout.end - header_bytes().size()) / static_cast<double>(items));
    return volume;
}

// Calls read for every position, going on after a failure so that every
// row does the same amount of work; true when every call succeeded.
template <typename Read>
bool every(const std::vector<uint32_t>& positions, Read read)
{
    bool right = true;
    for (uint32_t n : positions)
        right = read(n) && right;
    return right;
}

// The bytes of a record read bare: sought and read as read_item would,
// without decoding them.
bool read_bare(std::ifstream& file, uint32_t offset, uint32_t length, std::string& bytes)
{
    bytes.resize(length);
    return file.seekg(offset) && file.read(&bytes[0], length);
}

// The same with the file opened for this one read and closed after it.
bool read_opened(const std::string& name, uint32_t offset, uint32_t length, std::string& bytes)
{
    std::ifstream file(name, std::ios::binary);
    return read_bare(file, offset, length, bytes);
}

Row count_row(QuoteDatabaseV2& db, const Volume& volume, uint32_t calls)
{
    return {"count, " + volume.label(), [&db, &volume, calls] {
                uint32_t right = 0;
                for (uint32_t i = 0; i < calls; ++i)
                    right += db.count() == volume.items();
                return right == calls;
            },
            [&db, &volume] { db.set_file_name(zstring(volume.name.c_str())); }};
}

Row count_floor_row(const Volume& volume, uint32_t calls)
{
    return {"floor: ifstream open + seekg(end) + tellg of the index, " + volume.label(),
            [&volume, calls] {
                const std::string index = index_of(volume.name);
                uint32_t right = 0;
                for (uint32_t i = 0; i < calls; ++i) {
                    std::ifstream in(index, std::ios::binary);
                    in.seekg(0, std::ios::end);
                    right += in.tellg() == std::streamoff(volume.items()) * 4;
                }
                return right == calls;
            }};
}

Row read_item_row(QuoteDatabaseV2& db, const Volume& volume)
{
    return {"read_item, " + volume.label(), [&db, &volume] {
                QuoteEntry item;
                return every(volume.positions, [&](uint32_t n) {
                    return db.read_item(n, item) && item.quote_number() == static_cast<int32_t>(n);
                });
            },
            [&db, &volume] { db.set_file_name(zstring(volume.name.c_str())); }};
}

// read_item's floor: one open, seek and read of the record's bytes through
// the same stream library, without the index.
Row read_floor_row(const Volume& volume)
{
    return {"floor: ifstream open + seekg + read of the record, " + volume.label(), [&volume] {
                std::string bytes;
                const Layout& layout = volume.layout;
                return every(volume.positions, [&](uint32_t n) {
                    return read_opened(volume.name, layout.offsets[n], layout.length(n), bytes);
                });
            }};
}

// read_item's whole floor: the index entry, then the record, each with an
// open, seek, read and close of its own, as read_item does them.
Row read_pair_floor_row(const Volume& volume)
{
    return {"floor: the same for the index entry, then the record, " + volume.label(),
            [&volume] {
                std::string bytes;
                const Layout& layout = volume.layout;
                const std::string index = index_of(volume.name);
                return every(volume.positions, [&](uint32_t n) {
                    return read_opened(index, n * 4, 4, bytes) &&
                           read_opened(volume.name, layout.offsets[n], layout.length(n), bytes);
                });
            }};
}

// Every size in the same rounds, so that the sizes meet the same load.
void measure_growth(QuoteDatabaseV2& db, const std::vector<Volume>& volumes, uint32_t calls,
                    int runs)
{
    std::vector<Row> rows;
    for (const Volume& volume : volumes) {
        rows.push_back(count_row(db, volume, calls));
        rows.push_back(count_floor_row(volume, calls));
    }
    measure("count by volume size", calls, rows, runs);
    rows.clear();
    const uint32_t reads = static_cast<uint32_t>(volumes.front().positions.size());
    for (const Volume& volume : volumes)
        rows.push_back(read_item_row(db, volume));
    for (const Volume& volume : volumes)
        rows.push_back(read_pair_floor_row(volume));
    const std::vector<double> seconds =
        measure("read_item at random positions by volume size", reads, rows, runs);
    const size_t sizes = volumes.size();
    const std::string largest = volumes.back().label(), smallest = volumes.front().label();
    g_targets.push_back({"read_item, " + largest + " ÷ read_item, " + smallest,
                         seconds[sizes - 1] / seconds[0], 1.2});
    g_targets.push_back({"read_item, " + largest + " ÷ its floor (entry, then record)",
                         seconds[sizes - 1] / seconds[2 * sizes - 1], 1.3});
}

// Decoding alone: the same records parsed from memory.
Row decode_row(const Volume& volume, std::vector<std::string>& records)
{
    std::ifstream data(volume.name, std::ios::binary);
    records.resize(volume.positions.size());
    for (size_t i = 0; i < volume.positions.size(); ++i) {
        const uint32_t n = volume.positions[i];
        read_bare(data, volume.layout.offsets[n], volume.layout.length(n), records[i]);
    }
    return {"part: decode only (read_record from memory)", [&records] {
                StoredQuote item;
                bool right = true;
                for (const std::string& record : records) {
                    std::istringstream in(record, std::ios::in | std::ios::binary);
                    right = item.read_record(in) && right;
                }
                return right;
            }};
}

// What read_item is made of: its index half, the bare opens of one and of
// both files, the same with the least locking added and the volume's own
// lock alone, the reads with both files held open, and the decoding.
void measure_reads(QuoteDatabaseV2& db, const Volume& volume, int runs)
{
    const Layout& layout = volume.layout;
    const std::string index = index_of(volume.name);
    std::string bytes;
    std::ifstream held_index, held_data;
    const auto held = [&](uint32_t n) {
        return read_bare(held_index, n * 4, 4, bytes) &&
               read_bare(held_data, layout.offsets[n], layout.length(n), bytes);
    };
    std::vector<std::string> records;
    std::vector<Row> rows;
    rows.push_back(read_item_row(db, volume));
    rows.push_back({"part: read_entry (the index half of read_item)", [&] {
                        uint32_t offset = 0;
                        return every(volume.positions, [&](uint32_t n) {
                            return db.read_entry(n, offset) && offset == layout.offsets[n];
                        });
                    }});
    rows.push_back(read_floor_row(volume));
    rows.push_back(read_pair_floor_row(volume));
    rows.push_back({std::string("floor: the same, with the lock file's ") + kSharedLockCall +
                        " around them",
                    [&] {
                        const std::string lock = lock_of(volume.name);
                        return every(volume.positions, [&](uint32_t n) {
                            return under_shared_lock(lock, [&] {
                                return read_opened(index, n * 4, 4, bytes) &&
                                       read_opened(volume.name, layout.offsets[n],
                                                   layout.length(n), bytes);
                            });
                        });
                    }});
    rows.push_back({"part: the volume's lock alone, shared (VolumeLock Acquire + Release)", [&] {
                        const zstring name(volume.name.c_str());
                        VolumeLock lock;
                        return every(volume.positions, [&](uint32_t) {
                            const bool locked = lock.Acquire(name, VolumeLock::kRead) ==
                                                VolumeLock::kLocked;
                            lock.Release();
                            return locked;
                        });
                    }});
    rows.push_back({"part: of the lock, the look for a pack cut short (PackJournal::Pending)", [&] {
                        const PackJournal journal(zstring(volume.name.c_str()));
                        return every(volume.positions, [&](uint32_t) { return !journal.Pending(); });
                    }});
    rows.push_back({"floor: seekg + read of entry and record, both files held open", [&] {
                        held_index.open(index, std::ios::binary);
                        held_data.open(volume.name, std::ios::binary);
                        const bool right = every(volume.positions, held);
                        held_index.close();
                        held_data.close();
                        return right;
                    }});
    rows.push_back(decode_row(volume, records));
    measure("read_item at random positions, " + volume.label(),
            static_cast<uint32_t>(volume.positions.size()), rows, runs);
}

// Entries to delete: a tenth of the items, chosen at random without repeats.
std::vector<uint32_t> tenth_of(uint32_t items)
{
    std::vector<uint32_t> all(items);
    for (uint32_t i = 0; i < items; ++i)
        all[i] = i;
    Random random(kSeed ^ items);
    for (uint32_t i = items - 1; i > 0; --i)
        std::swap(all[i], all[random.below(i + 1)]);
    all.resize(items / 10);
    return all;
}

// Leaves "tombs.STD": the items with a tenth of them deleted.
void measure_delete(QuoteDatabaseV2& db, std::vector<QuoteEntry>& quotes, uint32_t items, int runs)
{
    write_volume("clean.STD", quotes, items);
    const std::vector<uint32_t> doomed = tenth_of(items);
    std::vector<QuoteEntry> entries;
    std::vector<Row> rows;
    rows.push_back({"delete_item", [&] {
                        for (QuoteEntry& entry : entries)
                            if (!db.delete_item(entry))
                                return false;
                        return true;
                    },
                    [&] {
                        copy_pair("clean.STD", "tombs.STD");
                        db.set_file_name(zstring("tombs.STD"));
                        entries.assign(doomed.size(), QuoteEntry());
                        for (size_t i = 0; i < doomed.size(); ++i) {
                            db.read_item(doomed[i], entries[i]);
                            entries[i].set_position(static_cast<int32_t>(doomed[i]));
                        }
                    }});
    measure("delete_item of a tenth of " + items_label(items) + " items (what pack finds)",
            static_cast<uint32_t>(doomed.size()), rows, runs);
}

// The volume's own pack against copying its bytes, and against its work
// done through streams held open: every entry and record read once, the
// live ones written once.
bool pack_held_open(const std::string& from, const std::string& to)
{
    std::ifstream index(index_of(from), std::ios::binary);
    std::ifstream data(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    std::ofstream out_index(index_of(to), std::ios::binary | std::ios::trunc);
    out << header_bytes();
    unsigned char entry[4];
    while (index.read(reinterpret_cast<char*>(entry), 4)) {
        const uint32_t offset = entry[0] | entry[1] << 8 | entry[2] << 16 |
                                static_cast<uint32_t>(entry[3]) << 24;
        StoredQuote item;
        if (!data.seekg(offset) || !item.read_record(data))
            return false;
        uint32_t written = 0;
        if (!item.is_deleted() && item.append_record(out, written))
            out_index << entry_bytes(written);
    }
    return out.good() && out_index.good();
}

void measure_pack(QuoteDatabaseV2& db, uint32_t items, int runs)
{
    const uint32_t live = items - items / 10;
    std::vector<Row> rows;
    rows.push_back({"pack", [&] { return db.pack() == 1; },
                    [&] {
                        copy_pair("tombs.STD", "pack.STD");
                        db.set_file_name(zstring("pack.STD"));
                    },
                    [&] { return db.count() == live; }});
    rows.push_back({"part: copy_to a new pair (pack without its backup and moves)",
                    [&] { return db.copy_to(zstring("copied.STD")) == 1; },
                    [&] {
                        delete_pair("copied.STD");
                        copy_pair("tombs.STD", "pack.STD");
                        db.set_file_name(zstring("pack.STD"));
                    },
                    [&] { return db.count() == items; }});
    rows.push_back({"floor: same work, streams held open",
                    [&] { return pack_held_open("tombs.STD", "held.STD"); }});
    rows.push_back({std::string("floor: ") + kCopyPairFloor + " of the data and index files",
                    [&] { return copy_pair("tombs.STD", "copy.STD"); },
                    [&] { delete_pair("copy.STD"); },
                    [&] { return same_pair("copy.STD", "tombs.STD"); }});
    // The copies are made into new files, as pack's are.
    rows.push_back({"floor: 64 KiB read + write loop of both files",
                    [&] { return copy_pair_by_loop("tombs.STD", "loop.STD"); },
                    [&] { delete_pair("loop.STD"); },
                    [&] { return same_pair("loop.STD", "tombs.STD"); }});
    // pack must at least write both files and flush them before it commits;
    // this is the floor its target is held to.
    rows.push_back({std::string("floor: the same loop through the system's calls, each written "
                                "file flushed (") + kFlushCall + ")",
                    [&] { return copy_pair_flushed("tombs.STD", "flushed.STD"); },
                    [&] { delete_pair("flushed.STD"); },
                    [&] { return same_pair("flushed.STD", "tombs.STD"); }});
    const std::vector<double> seconds = measure(
        "pack " + items_label(items) + " items, a tenth deleted (per item read)", items, rows, runs);
    g_targets.push_back({std::string("pack ÷ 64 KiB read + write loop of both files, flushed (") +
                             kFlushCall + ")",
                         seconds[0] / seconds[5], 1.5});
}

// ---- The program ---------------------------------------------------------

bool parse(int argc, char** argv, Options& options)
{
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--small") {
            options.append_items /= 100;
            options.pack_items /= 100;
            options.reads /= 100;
            options.count_calls /= 100;
            for (uint32_t& v : options.volumes)
                v /= 100;
        } else if (arg == "--runs" && i + 1 < argc) {
            options.runs = std::max(1, std::atoi(argv[++i]));
        } else if (arg == "--reads" && i + 1 < argc) {
            options.reads = static_cast<uint32_t>(std::max(1, std::atoi(argv[++i])));
        } else if (arg == "--only" && i + 1 < argc &&
                   (std::strcmp(argv[i + 1], "append") == 0 ||
                    std::strcmp(argv[i + 1], "reads") == 0 ||
                    std::strcmp(argv[i + 1], "pack") == 0)) {
            options.only = argv[++i];
        } else {
            std::printf("usage: volume_bench [--small] [--runs N] [--reads N] "
                        "[--only append|reads|pack]\n");
            return false;
        }
    }
    return true;
}

void describe(const std::vector<QuoteEntry>& quotes, const Options& options,
              const std::string& folder)
{
    size_t shortest = SIZE_MAX, longest = 0, total = 0, with_lines = 0;
    for (const QuoteEntry& quote : quotes) {
        const size_t length = quote.text().length();
        shortest = std::min(shortest, length);
        longest = std::max(longest, length);
        total += length;
        with_lines += std::strchr(quote.text().c_str(), '\r') != nullptr;
    }
    std::printf("scratch folder %s, %d runs, median shown\n", folder.c_str(), options.runs);
    std::printf("%zu generated quotes: text %zu to %zu bytes, mean %zu, %zu with CR LF lines\n\n",
                quotes.size(), shortest, longest, total / quotes.size(), with_lines);
}

void run(const Options& options, const std::string& folder)
{
    std::vector<QuoteEntry> quotes =
        make_quotes(std::max(options.append_items, options.pack_items), kSeed);
    describe(quotes, options, folder);
    QuoteDatabaseV2 db;
    if (options.runs_part("append"))
        measure_append(db, quotes, options.append_items, options.runs);
    if (options.runs_part("reads")) {
        std::printf("\n");
        std::vector<Volume> volumes;
        for (uint32_t items : options.volumes)
            volumes.push_back(make_volume(quotes, items, options.reads));
        measure_growth(db, volumes, options.count_calls, options.runs);
        // The parts of read_item on the smallest and the largest volume.
        measure_reads(db, volumes.front(), options.runs);
        measure_reads(db, volumes.back(), options.runs);
        db.set_file_name(zstring("Volume01.STD"));
        for (const Volume& volume : volumes)
            delete_pair(volume.name);
    }
    if (options.runs_part("pack")) {
        measure_delete(db, quotes, options.pack_items, options.runs);
        measure_pack(db, options.pack_items, options.runs);
        db.set_file_name(zstring("Volume01.STD"));
    }
}

void print_targets()
{
    if (g_targets.empty())
        return;
    std::printf("\n| **target** | ratio | at most | |\n|---|--:|--:|---|\n");
    for (const Target& target : g_targets)
        std::printf("| %s | %.2f× | %.1f× | %s |\n", target.what.c_str(), target.ratio,
                    target.most, target.ratio <= target.most ? "met" : "**missed**");
}

}  // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!parse(argc, argv, options))
        return 2;
    {
        ScratchFolder folder;
        run(options, folder.path());
    }
    print_targets();
    if (g_failures)
        std::printf("\n%d rows did not do their work\n", g_failures);
    return g_failures ? 1 : 0;
}
