#include "tools/reading_commands.h"

#include <cstdio>
#include <fstream>
#include <ostream>
#include <random>
#include <string>

#include "base/file_path.h"
#include "db/quote_index_file.h"
#include "db/quote_item.h"
#include "db/volume_reader.h"
#include "tools/command_line.h"
#include "tools/fortune_text.h"
#include "tools/tool_text.h"

namespace {

// A random pick tries this many entries before it lists the live ones, so
// a volume of mostly deleted items still gives every live item its chance.
const int kRandomTries = 64;

void write_item(std::ostream& out, const StoredQuote& item, ToolText& text, bool crlf)
{
    out << fortune_entry(text.output(item.text()), crlf);
}

// A decimal item number that fits 32 bits, and nothing else.
bool parse_number(const std::string& text, uint32_t& n)
{
    if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    const unsigned long long value = std::stoull(text);
    n = static_cast<uint32_t>(value);
    return value <= 0xFFFFFFFFull;
}

std::string why_not_shown(ItemState state, uint32_t offset)
{
    switch (state) {
    case kDeleted:
        return "is deleted";
    case kErased:
        return "is erased";
    case kUnreadable:
        return "cannot be read (no whole record at offset " + std::to_string(offset) + ")";
    case kLive:
        break;
    }
    return "";
}

// The last resort of a random pick: one pass over every entry, each live
// item found taking the pick's place with chance 1 in the live items found
// so far, which gives each the same chance without a list of them. 0 when
// no item is live.
int pick_live_item(VolumeReader& reader, std::mt19937_64& generator, StoredQuote& item)
{
    uint64_t live = 0;
    uint32_t picked = 0;
    uint32_t offset = 0;
    for (uint32_t n = 0; n < reader.count(); ++n) {
        if (read_live_item(reader, n, item, offset) == kLive &&
            std::uniform_int_distribution<uint64_t>(0, live++)(generator) == 0)
            picked = n;
    }
    return live > 0 && read_live_item(reader, picked, item, offset) == kLive;
}

struct ExportCounts {
    size_t written = 0;
    size_t unreadable = 0;
};

ExportCounts export_items(VolumeReader& reader, std::ostream& out, const FortuneStyle& style,
                          ToolText& text)
{
    ExportCounts counts;
    FortuneWriter writer(out, style);
    StoredQuote item;
    uint32_t offset = 0;
    for (uint32_t n = 0; n < reader.count(); ++n) {
        const ItemState state = read_live_item(reader, n, item, offset);
        if (state == kLive)
            writer.write(text.output(item.text()));
        counts.unreadable += state == kUnreadable ? 1 : 0;
    }
    writer.finish();
    counts.written = writer.written();
    return counts;
}

// Export into a file rather than standard output; the file is removed again
// when it could not be written whole.
int export_to_file(ToolVolume& volume, VolumeReader& reader, const std::string& name,
                   const FortuneStyle& style, ToolText& text, ToolStreams& io,
                   ExportCounts& counts)
{
    const zstring target(name.c_str());
    if (FilePath::SameFile(target, volume.data_name()) ||
        FilePath::SameFile(target, volume.index_name()))
        return volume.fail(name, "is a file of the volume itself");
    std::ofstream out(name, std::ios::out | std::ios::binary | std::ios::trunc);
    if (!out.is_open())
        return volume.fail(name, "cannot be written");
    counts = export_items(reader, out, style, text);
    out.close();
    if (out.fail()) {
        std::remove(name.c_str());
        return volume.fail(name, "could not be written whole; removed");
    }
    io.out << "orvvol: exported " << counts.written << " items to " << name << '\n';
    return 1;
}

}  // namespace

ItemState read_live_item(VolumeReader& reader, uint32_t n, StoredQuote& item, uint32_t& offset)
{
    if (!reader.read_entry(n, offset))
        return kUnreadable;
    if (offset == QuoteIndexFile::kErased)
        return kErased;
    uint64_t size = 0;
    if (!reader.read_record_at(offset, item, size))
        return kUnreadable;
    return item.is_deleted() ? kDeleted : kLive;
}

int open_volume(ToolVolume& volume, VolumeReader& reader)
{
    return volume.resolve() && volume.open_for_reading(reader);
}

int run_count(const CommandLine& line, ToolStreams& io)
{
    ToolVolume volume(line.operands()[0], io.err);
    VolumeReader reader;
    if (!open_volume(volume, reader))
        return kToolFailed;
    io.out << reader.count() << '\n';
    return kToolDone;
}

int run_show(const CommandLine& line, ToolStreams& io)
{
    uint32_t n = 0;
    if (!parse_number(line.operands()[1], n)) {
        io.err << "orvvol: show: \"" << line.operands()[1] << "\" is not an item number\n";
        return kToolBadCommand;
    }
    ToolText text;
    if (!text.parse(line, io.err))
        return kToolBadCommand;
    ToolVolume volume(line.operands()[0], io.err);
    VolumeReader reader;
    if (!open_volume(volume, reader))
        return kToolFailed;
    if (n >= reader.count()) {
        volume.fail(volume.shown(), "no item " + std::to_string(n) + " (it has " +
                                        std::to_string(reader.count()) + ", numbered from 0)");
        return kToolFailed;
    }
    StoredQuote item;
    uint32_t offset = 0;
    const ItemState state = read_live_item(reader, n, item, offset);
    if (state != kLive) {
        volume.fail(volume.shown(), "item " + std::to_string(n) + " " + why_not_shown(state, offset));
        return kToolFailed;
    }
    write_item(io.out, item, text, line.has("--crlf"));
    return kToolDone;
}

int run_random(const CommandLine& line, ToolStreams& io)
{
    ToolText text;
    if (!text.parse(line, io.err))
        return kToolBadCommand;
    ToolVolume volume(line.operands()[0], io.err);
    VolumeReader reader;
    if (!open_volume(volume, reader))
        return kToolFailed;
    std::random_device device;
    std::seed_seq seed{device(), device(), device(), device()};
    std::mt19937_64 generator(seed);
    StoredQuote item;
    uint32_t offset = 0;
    if (reader.count() > 0) {
        std::uniform_int_distribution<uint32_t> any_entry(0, reader.count() - 1);
        for (int i = 0; i < kRandomTries; ++i) {
            if (read_live_item(reader, any_entry(generator), item, offset) == kLive) {
                write_item(io.out, item, text, line.has("--crlf"));
                return kToolDone;
            }
        }
    }
    if (!pick_live_item(reader, generator, item)) {
        volume.fail(volume.shown(), "holds no live item");
        return kToolFailed;
    }
    write_item(io.out, item, text, line.has("--crlf"));
    return kToolDone;
}

int run_export(const CommandLine& line, ToolStreams& io)
{
    ToolText text;
    if (!text.parse(line, io.err))
        return kToolBadCommand;
    ToolVolume volume(line.operands()[0], io.err);
    VolumeReader reader;
    if (!open_volume(volume, reader))
        return kToolFailed;
    FortuneStyle style;
    style.crlf = line.has("--crlf");
    style.final_delimiter = !line.has("--no-final-delimiter");
    ExportCounts counts;
    if (line.operands().size() > 1) {
        if (!export_to_file(volume, reader, line.operands()[1], style, text, io, counts))
            return kToolFailed;
    } else {
        counts = export_items(reader, io.out, style, text);
        io.out.flush();
        if (!io.out) {
            io.err << "orvvol: standard output: write failed\n";
            return kToolFailed;
        }
    }
    if (counts.unreadable > 0)
        io.err << "orvvol: " << volume.shown() << ": " << counts.unreadable
               << " unreadable entries left out (orvvol check lists them)\n";
    return kToolDone;
}
