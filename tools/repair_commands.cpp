#include "tools/repair_commands.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "base/file_path.h"
#include "db/quote_database.h"
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

void print_findings(const VolumeCheck& check, std::ostream& out)
{
    for (const CheckFinding& finding : check.findings()) {
        out << (finding.problem() ? "problem: " : "note: ");
        if (finding.entry >= 0)
            out << "entry " << finding.entry << ": ";
        out << finding.text << '\n';
    }
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
        return volume.check_data();
    case VolumeRecovery::kCannotRead:
        return volume.fail(volume.shown(), "cannot be read");
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

// The volume's names, when its data file is there to be read.
int resolve_existing(ToolVolume& volume)
{
    if (!volume.resolve())
        return 0;
    if (FilePath::FileExists(volume.data_name().c_str()))
        return 1;
    return volume.fail_missing(volume.data_name(), volume.shown());
}

}  // namespace

int run_check(const CommandLine& line, ToolStreams& io)
{
    ToolVolume volume(line.operands()[0], io.err);
    if (!resolve_existing(volume))
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
    if (!resolve_existing(volume))
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
    if (!FilePath::FileExists(volume.index_name().c_str())) {
        volume.fail(volume.index_name().c_str(), "no index file (orvvol recover rebuilds one)");
        return kToolFailed;
    }
    QuoteDatabaseV2 db(volume.data_name());
    if (!db.bound() || !db.header_valid()) {
        volume.fail(volume.shown(), "cannot be opened as a quote volume");
        return kToolFailed;
    }
    const uint32_t before = db.count();
    const std::string backup = backup_file_name(volume.data_name()).c_str();
    if (!db.pack()) {
        volume.fail(volume.shown(), "pack failed; every item is still in the volume or in " + backup);
        return kToolFailed;
    }
    io.out << "packed " << volume.shown() << ": " << before << " entries before, " << db.count()
           << " items after; the volume as it was is " << backup << '\n';
    return kToolDone;
}
