#include "tools/repair_commands.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "db/quote_database.h"
#include "db/quote_volume.h"
#include "db/volume_check.h"
#include "db/volume_names.h"
#include "db/volume_recovery.h"
#include "tools/command_line.h"

namespace {

std::string percent_of(uint64_t part, uint64_t whole)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.1f%%", whole == 0 ? 0.0 : 100.0 * part / whole);
    return text;
}

std::string more(uint64_t n, const char* what)
{
    return " and " + std::to_string(n) + " more " + what + (n == 1 ? "" : "s");
}

// The findings the check kept, then how many more it found:
// "... and 16776216 more problems and 3 more notes".
void print_findings(const VolumeCheck& check, std::ostream& out)
{
    for (const CheckFinding& finding : check.findings()) {
        out << (finding.problem() ? "problem: " : "note: ");
        if (finding.entry >= 0)
            out << "entry " << finding.entry << ": ";
        out << finding.text << '\n';
    }
    std::string left_out;
    if (check.problems_left_out() > 0)
        left_out += more(check.problems_left_out(), "problem");
    if (check.notes_left_out() > 0)
        left_out += more(check.notes_left_out(), "note");
    if (!left_out.empty())
        out << "..." << left_out << '\n';
}

void print_check_summary(const VolumeCheck& check, const std::string& shown, std::ostream& out)
{
    out << shown << ": " << check.entries() << " entries, " << check.live() << " live, "
        << check.tombstones() << " deleted; dead space " << check.dead_bytes() << " bytes ("
        << percent_of(check.dead_bytes(), check.data_size()) << " of " << check.data_size()
        << "); ";
    if (check.problems() == 0)
        out << "sound\n";
    else
        out << check.problems() << (check.problems() == 1 ? " problem\n" : " problems\n");
}

int recovery_failed(ToolVolume& volume, const VolumeRecovery& recovery,
                    VolumeRecovery::Result result)
{
    switch (result) {
    case VolumeRecovery::kTargetExists:
        return volume.fail(recovery.blocking_file().c_str(),
                           "already exists; move it away to recover again");
    case VolumeRecovery::kNoVolume:
    case VolumeRecovery::kCannotRead:
        return volume.fail(volume.shown(), recovery.failure_text());
    case VolumeRecovery::kWriteFailed:
        return volume.fail(recovery.new_data_name().c_str(),
                           "could not be written; nothing of the new pair was kept");
    case VolumeRecovery::kDone:
        break;
    }
    return 1;
}

void print_recovery(const VolumeRecovery& recovery, std::ostream& out)
{
    for (const VolumeRecovery::Skipped& range : recovery.skipped())
        out << "skipped bytes " << range.start << " to " << range.end - 1 << " ("
            << range.end - range.start << " bytes): no readable record\n";
    out << "found " << recovery.records() << " records (" << recovery.tombstones()
        << " tombstones), skipped " << recovery.skipped_bytes() << " bytes; "
        << recovery.items().size() << " items\n"
        << "wrote " << recovery.new_data_name().c_str() << " and "
        << recovery.new_index_name().c_str()
        << "; check them, then give the pair the volume's names to use it\n";
}

// The volume's names, when its data file is a file there to be read.
int resolve_existing(ToolVolume& volume)
{
    return volume.resolve() && volume.check_file(volume.data_name(), volume.shown());
}

}  // namespace

int run_check(const CommandLine& line, ToolStreams& io)
{
    ToolVolume volume(line.operands()[0], io.err);
    if (!resolve_existing(volume) || !volume.lock_for_reading())
        return kToolFailed;
    VolumeCheck check;
    const int sound = check.run(volume.data_name(), volume.index_name());
    print_findings(check, io.out);
    print_check_summary(check, volume.shown(), io.out);
    return sound ? kToolDone : kToolProblems;
}

int run_recover(const CommandLine& line, ToolStreams& io)
{
    ToolVolume volume(line.operands()[0], io.err);
    if (!resolve_existing(volume) || !volume.lock_for_reading())
        return kToolFailed;
    VolumeRecovery recovery;
    const VolumeRecovery::Result result = recovery.run(volume.data_name());
    if (result != VolumeRecovery::kDone) {
        recovery_failed(volume, recovery, result);
        return kToolFailed;
    }
    print_recovery(recovery, io.out);
    return kToolDone;
}

int run_pack(const CommandLine& line, ToolStreams& io)
{
    ToolVolume volume(line.operands()[0], io.err);
    if (!volume.resolve() || !volume.check_data())
        return kToolFailed;
    // Packing a volume whose index is lost would keep none of its items.
    if (!volume.check_index())
        return kToolFailed;
    QuoteDatabaseV2 db(volume.data_name());
    if (!db.bound() || !db.header_valid()) {
        volume.fail(volume.shown(), db.failure() != QuoteVolume::kNoFailure
                                        ? QuoteVolume::describe(db.failure())
                                        : "cannot be opened as a quote volume");
        return kToolFailed;
    }
    const uint32_t before = db.count();
    const std::string backup = backup_file_name(volume.data_name()).c_str();
    if (!db.pack()) {
        const QuoteVolume::Failure why = db.failure();
        volume.fail(volume.shown(),
                    why == QuoteVolume::kUnsound
                        ? "not packed: orvvol check finds it damaged; run orvvol recover"
                        : std::string("not packed: ") + QuoteVolume::describe(why) +
                              "; the volume is as it was");
        return kToolFailed;
    }
    io.out << "packed " << volume.shown() << ": " << before << " entries before, " << db.count()
           << " items after; the volume as it was is " << backup << '\n';
    return kToolDone;
}
