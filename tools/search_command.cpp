#include "tools/search_command.h"

#include <cstring>
#include <ostream>
#include <regex>
#include <string>

#include "db/quote_item.h"
#include "db/volume_reader.h"
#include "tools/command_line.h"
#include "tools/fortune_text.h"
#include "tools/reading_commands.h"
#include "tools/text_search.h"
#include "tools/tool_text.h"

int run_search(const CommandLine& line, ToolStreams& io)
{
    ToolText text;
    if (!text.parse(line, io.err))
        return kToolBadCommand;
    TextMatcher matcher;
    if (!matcher.set(text.argument(line.operands()[1]), line.has("--regex"))) {
        io.err << "orvvol: search: " << matcher.error() << '\n';
        return kToolBadCommand;
    }
    ToolVolume volume(line.operands()[0], io.err);
    VolumeReader reader;
    if (!open_volume(volume, reader))
        return kToolFailed;

    const bool count_only = line.has("--count");
    FortuneStyle style;
    style.crlf = line.has("--crlf");
    style.final_delimiter = !line.has("--no-final-delimiter");
    FortuneWriter writer(io.out, style);
    StoredQuote item;
    uint32_t offset = 0;
    uint64_t found = 0;
    size_t unreadable = 0;
    for (uint32_t n = 0; n < reader.count(); ++n) {
        const ItemState state = read_live_item(reader, n, item, offset);
        unreadable += state == kUnreadable ? 1 : 0;
        if (state != kLive)
            continue;
        const char* stored = item.text().c_str();
        const size_t size = std::strlen(stored);
        try {
            if (!matcher.matches(text.utf8(stored, size)))
                continue;
        } catch (const std::regex_error&) {
            volume.fail(volume.shown(), "item " + std::to_string(n) +
                                            ": the expression is too complex to match there");
            return kToolFailed;
        }
        ++found;
        if (!count_only)
            writer.write(text.writes_stored_bytes() ? std::string_view(stored, size)
                                                    : text.utf8(stored, size));
    }
    if (count_only)
        io.out << found << '\n';
    else
        writer.finish();
    io.out.flush();
    if (!io.out) {
        io.err << "orvvol: standard output: write failed\n";
        return kToolFailed;
    }
    if (unreadable > 0)
        io.err << "orvvol: " << volume.shown() << ": " << unreadable
               << " unreadable entries left out (orvvol check lists them)\n";
    return kToolDone;
}
