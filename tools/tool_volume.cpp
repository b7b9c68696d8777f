#include "tools/tool_volume.h"

#include <fstream>
#include <ostream>

#include "base/file_path.h"
#include "db/file_header.h"
#include "db/quote_volume.h"
#include "db/volume_check.h"
#include "db/volume_names.h"
#include "db/volume_reader.h"

ToolVolume::ToolVolume(const std::string& name, std::ostream& err)
    : m_shown(name), m_err(err), m_data(name.c_str()), m_header_end(0)
{
}

int ToolVolume::resolve()
{
    // A zero byte would cut the name short; zstring cannot hold one.
    if (m_shown.find('\0') != std::string::npos || !FilePath::CheckName(m_data))
        return fail(m_shown, "not a name a volume can have");
    m_index = index_file_name(m_data);
    return 1;
}

int ToolVolume::check_data()
{
    if (!check_file(m_data, m_shown))
        return 0;
    FileHeader header;
    const DataHeaderState state = read_data_header(m_data, header, m_header_end);
    if (state != DataHeaderState::kVolume)
        return fail(m_shown, describe_data_header(state, header));
    return 1;
}

int ToolVolume::check_index()
{
    if (FilePath::KindOf(m_index.c_str()) == FilePath::kMissing)
        return fail(m_index.c_str(), "no index file (orvvol recover rebuilds one)");
    return check_file(m_index, m_index.c_str());
}

int ToolVolume::lock_for_reading()
{
    switch (m_lock.Acquire(m_data, VolumeLock::kRead)) {
    case VolumeLock::kLocked:
    case VolumeLock::kNoLockFile:  // a folder nobody can write to
        return 1;
    case VolumeLock::kBusy:
        return fail(m_shown, QuoteVolume::describe(QuoteVolume::kBusy));
    case VolumeLock::kPackUnfinished:
        return fail(m_shown, QuoteVolume::describe(QuoteVolume::kPackUnfinished));
    }
    return 0;
}

int ToolVolume::open_for_reading(VolumeReader& reader)
{
    if (!check_data() || !lock_for_reading() || !check_index())
        return 0;
    if (!reader.open(m_data, m_index))
        return fail(reader.index_failed() ? std::string(m_index.c_str()) : m_shown,
                    reader.failure_text());
    return 1;
}

int ToolVolume::fail(const std::string& name, const std::string& reason) const
{
    m_err << "orvvol: " << name << ": " << reason << '\n';
    return 0;
}

int ToolVolume::fail_missing(const zstring& name, const std::string& shown) const
{
    return fail(shown, FilePath::FileMissing(name.c_str()) ? "no such file" : "cannot be read");
}

int ToolVolume::check_file(const zstring& name, const std::string& shown) const
{
    switch (FilePath::KindOf(name.c_str())) {
    case FilePath::kRegular:
        return 1;
    case FilePath::kMissing:
        return fail(shown, "no such file");
    case FilePath::kNotRegular:
        return fail(shown, VolumeReader::kNotRegularText);
    case FilePath::kUnknown:
        break;
    }
    return fail(shown, "cannot be read");
}

int read_whole_file(const std::string& name, std::string& bytes)
{
    // One read of the whole file: the stream's own buffer is small (512
    // bytes with the Windows runtime), and a read per buffer is slow there.
    std::ifstream in(name, std::ios::in | std::ios::binary);
    if (!in.is_open() || !in.seekg(0, std::ios::end))
        return 0;
    const std::streamoff size = in.tellg();
    if (size < 0 || !in.seekg(0))
        return 0;
    bytes.assign(static_cast<size_t>(size), '\0');
    return !in.read(&bytes[0], size) ? 0 : 1;
}
