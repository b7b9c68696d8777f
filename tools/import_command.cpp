#include "tools/import_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "base/file_path.h"
#include "base/output_file.h"
#include "db/quote_database.h"
#include "db/quote_volume.h"
#include "db/quote_item.h"
#include "db/volume_appender.h"
#include "db/volume_check.h"
#include "tools/command_line.h"
#include "tools/fortune_text.h"
#include "tools/progress_bar.h"
#include "tools/tool_text.h"

namespace {

// Inputs shorter than this finish before a bar would be worth drawing.
const uint64_t kProgressFrom = 1 << 20;
const char kDeletedMark = '\x07';
const char kNoneAdded[] = "; none of the items was added";

const char kByteOrderMark[] = "\xEF\xBB\xBF";

struct InputFile {
    std::string name;
    std::string bytes;
    bool utf8;  // else the code page's bytes
};

struct ImportCounts {
    uint32_t items = 0;
    uint32_t in_utf8 = 0;  // items the code page cannot keep
    size_t empty_entries = 0;
};

// A file that is valid UTF-8 is read as UTF-8, without the byte-order mark
// it may start with; any other file holds the code page's bytes.
void judge_encoding(InputFile& input)
{
    const bool marked = input.bytes.compare(0, 3, kByteOrderMark) == 0;
    input.utf8 = StoredText::is_valid_utf8(input.bytes);
    if (marked && input.utf8)
        input.bytes.erase(0, 3);
}

// One entry's text as the volume keeps it. An entry of a code-page file is
// kept as its bytes stand, unless the rule would read those bytes as UTF-8.
StoredText::Result store_entry(const StoredText& rule, const InputFile& input,
                               const std::string& text, std::string& stored)
{
    if (input.utf8)
        return rule.from_utf8(text, stored);
    if (StoredText::form_of(text) == StoredText::kCodePage) {
        stored = text;
        return StoredText::kStoredInCodePage;
    }
    std::u32string characters;
    rule.page().decode(text.data(), text.size(), characters);
    return rule.from_unicode(characters, stored);
}

// Reads every input before the volume is touched, so that a missing or
// unusable file changes nothing.
int read_inputs(const ToolVolume& volume, const std::vector<std::string>& names,
                std::vector<InputFile>& inputs, uint64_t& total)
{
    total = 0;
    for (const std::string& name : names) {
        InputFile input{name, std::string(), true};
        if (!FilePath::FileExists(name.c_str()))
            return volume.fail_missing(zstring(name.c_str()), name);
        if (!read_whole_file(name, input.bytes))
            return volume.fail(name, "cannot be read");
        if (const size_t line = line_of_zero_byte(input.bytes))
            return volume.fail(name, "line " + std::to_string(line) +
                                         " holds a zero byte, which no quote text can hold");
        judge_encoding(input);
        total += input.bytes.size();
        inputs.push_back(std::move(input));
    }
    return 1;
}

// A volume the import may append to or create. An index without its data
// file, or records without their index, would be lost or hidden by a
// fresh volume, so both are refused.
int check_target(ToolVolume& volume)
{
    const bool data_missing = FilePath::FileMissing(volume.data_name().c_str()) != 0;
    const bool index_missing = FilePath::FileMissing(volume.index_name().c_str()) != 0;
    if (!index_missing && !volume.check_index())
        return 0;
    if (data_missing) {
        if (!index_missing)
            return volume.fail(volume.index_name().c_str(),
                               "an index without its data file; move it away first");
        return 1;
    }
    if (!volume.check_data())
        return 0;
    if (index_missing && FilePath::FileSize(volume.data_name().c_str()) > static_cast<int64_t>(volume.header_end()))
        return volume.fail(volume.shown(), std::string("holds records but has no index ") +
                                               volume.index_name().c_str() +
                                               " (orvvol recover rebuilds one)");
    return 1;
}

int append_inputs(VolumeAppender& appender, const std::vector<InputFile>& inputs,
                  const zstring& category, const StoredText& rule, ProgressBar& bar,
                  ImportCounts& counts)
{
    uint64_t done = 0;
    QuoteEntry item;
    item.set_quote_number(0);
    item.set_classification(category);
    std::string text;
    std::string stored;
    for (const InputFile& input : inputs) {
        FortuneReader reader(input.bytes);
        while (reader.next(text)) {
            // No zero byte came in (read_inputs refuses it), so every entry
            // is a text the rule can store.
            const StoredText::Result result = store_entry(rule, input, text, stored);
            if (result == StoredText::kNotText)
                return 0;
            counts.in_utf8 += result == StoredText::kStoredAsUtf8 ? 1 : 0;
            item.set_text(zstring(stored.c_str()));
            if (!appender.append(item))
                return 0;
            ++counts.items;
            bar.advance_to(done + reader.position());
        }
        counts.empty_entries += reader.empty_entries();
        done += input.bytes.size();
    }
    return 1;
}

void print_import(const ToolVolume& volume, const ImportCounts& counts, size_t files,
                  uint32_t total_items, unsigned code_page, std::ostream& out)
{
    out << "orvvol: imported " << counts.items << " items from " << files
        << (files == 1 ? " file" : " files") << " into " << volume.shown();
    if (counts.items > 0)
        out << " (items " << total_items - counts.items << " to " << total_items - 1 << ")";
    if (counts.empty_entries > 0)
        out << "; " << counts.empty_entries << " empty entries skipped";
    if (counts.in_utf8 > 0)
        out << "; " << counts.in_utf8 << " stored as UTF-8 (not as code page " << code_page << ")";
    out << '\n';
}

}  // namespace

int run_import(const CommandLine& line, ToolStreams& io)
{
    const std::string category = line.value("--category", "<NONE>");
    if (category.find('\0') != std::string::npos ||
        (!category.empty() && category[0] == kDeletedMark)) {
        io.err << "orvvol: import: a category cannot start with byte 0x07 (it marks deleted "
                  "items) or hold a zero byte\n";
        return kToolBadCommand;
    }
    ToolText text;
    if (!text.parse(line, io.err))
        return kToolBadCommand;
    ToolVolume volume(line.operands()[0], io.err);
    std::vector<InputFile> inputs;
    uint64_t total = 0;
    // The category is kept by the same rule as the texts.
    std::string stored_category;
    text.rule().from_utf8(text.argument(category), stored_category);
    const std::vector<std::string> names(line.operands().begin() + 1, line.operands().end());
    if (!volume.resolve() || !read_inputs(volume, names, inputs, total) || !check_target(volume))
        return kToolFailed;
    for (const InputFile& input : inputs) {
        if (!input.utf8)
            io.err << "orvvol: note: " << input.name << " is not UTF-8; its bytes are taken as code page "
                   << text.code_page() << '\n';
    }
    const bool made_here = FilePath::FileMissing(volume.data_name().c_str()) != 0;
    QuoteDatabaseV2 db(volume.data_name());
    if (!db.bound() || !db.header_valid()) {
        volume.fail(volume.shown(), std::string(db.failure() != QuoteVolume::kNoFailure
                                                    ? QuoteVolume::describe(db.failure())
                                                    : "cannot be opened or created as a quote volume") +
                                        kNoneAdded);
        return kToolFailed;
    }
    // Held alone from the first record to the commit: nobody else writes
    // the volume meanwhile, and nobody reads it half made.
    QuoteVolume::Operation operation(db, VolumeLock::kWrite);
    if (!operation.ok()) {
        volume.fail(volume.shown(), QuoteVolume::describe(db.failure()) + std::string(kNoneAdded));
        return kToolFailed;
    }
    VolumeAppender appender;
    ProgressBar bar(io.err, total, io.progress && total >= kProgressFrom);
    ImportCounts counts;
    const int written = appender.open(db.file_name(), db.index_name()) &&
                        append_inputs(appender, inputs, zstring(stored_category.c_str()), text.rule(),
                                      bar, counts) &&
                        appender.commit();
    bar.finish();
    if (!written) {
        // Nothing of this run may stay to block the next one.
        // The data file is closed first: Windows deletes no open file.
        appender.roll_back();
        if (made_here)
            db.erase_files();
        volume.fail(volume.shown(), std::string(OutputFile::IsDiskFull(appender.error()) ? "the disk is full"
                                                                     : "a write failed") +
                                        kNoneAdded);
        return kToolFailed;
    }
    // The new index is in place: the items are there, whatever follows.
    if (!appender.verify())
        volume.fail(volume.shown(), "warning: the items were added, but reading the files back "
                                    "found them different (orvvol check tells more)");
    print_import(volume, counts, inputs.size(), db.count(), text.code_page(), io.out);
    return kToolDone;
}
