#include "alarms/sound_table.h"

#include <fstream>
#include <random>

#include "alarms/alarm_event.h"
#include "base/file_path.h"

#ifdef _WIN32
#include "base/program_paths.h"
#else
#include <unistd.h>
#endif

namespace {

const char* const kDefaultNames[] = {"", "normal.wav", "warn.wav", "hot.wav", "panic.wav",
                                     "random.wav"};
const char kTableFileName[] = "AlarmSounds.ary";

#ifdef _WIN32
const char kFolderSeparator = '\\';
#else
const char kFolderSeparator = '/';
#endif

// A name with a folder (or drive) part is played where it points.
bool has_folder_part(const zstring& name)
{
    return name.find('\\') != zstring::npos || name.find('/') != zstring::npos ||
           name.find(':') != zstring::npos;
}

unsigned draw_uniform(unsigned n)
{
    static std::mt19937 generator(std::random_device{}());
    return std::uniform_int_distribution<unsigned>(0, n - 1)(generator);
}

}  // namespace

SoundTable::SoundTable()
{
    for (const char* name : kDefaultNames)
        m_names.emplace_back(zstring(name));
}

SoundTable::~SoundTable() = default;

int SoundTable::Load()
{
    return Load(TablePath());
}

int SoundTable::Load(const zstring& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in)
        return 0;
    std::vector<n_stream> names;
    read_text_list(in, names);
    // A list cut short or garbled keeps the table as it was. A whole list
    // never reads up to the end of the file: it ends with the last name's
    // bytes, so an end met on the way means the file stopped early (after
    // the count, say, which the reader does not count as a failure).
    if (in.fail() || in.eof())
        return 0;
    m_names.swap(names);
    return 1;
}

n_stream SoundTable::SoundFileFor(unsigned choice) const
{
    if (choice == kSoundRandom)
        choice = PickRandom(ProgramFolder(), FilePath::FileExists, draw_uniform);
    return choice < m_names.size() ? m_names[choice] : n_stream();
}

unsigned SoundTable::PickRandom(const zstring& program_folder, const ExistsCheck& exists,
                                const Draw& draw) const
{
    unsigned candidates[kSoundRandom];
    unsigned count = 0;
    for (unsigned choice = 1; choice <= kSoundRandom && choice < m_names.size(); ++choice) {
        const n_stream& name = m_names[choice];
        if (name.length() != 0 &&
            exists(ResolveSoundName(name, program_folder, exists).c_str()))
            candidates[count++] = choice;
    }
    if (count == 0)
        return 0;
    const unsigned pick = draw(count);
    return candidates[pick < count ? pick : count - 1];
}

zstring SoundTable::TablePath()
{
    zstring path = ProgramFolder();
    path.append(kFolderSeparator);
    path.append(kTableFileName);
    return path;
}

zstring SoundTable::ProgramFolder()
{
    zstring folder;
#ifdef _WIN32
    ProgramPaths paths;
    paths.ProgramFolder(folder);
#else
    char buffer[4096];
    const ssize_t size = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (size > 0) {
        buffer[size] = '\0';
        folder = buffer;
        const unsigned slash = folder.find_last('/');
        if (slash != zstring::npos)
            folder.remove(slash);
    }
#endif
    return folder;
}

zstring ResolveSoundName(const zstring& name, const zstring& program_folder,
                         const SoundTable::ExistsCheck& exists)
{
    if (name.length() == 0 || has_folder_part(name) || program_folder.length() == 0 ||
        exists(name.c_str()))
        return name;
    zstring in_program_folder = program_folder;
    in_program_folder.append(kFolderSeparator);
    in_program_folder.append(name);
    return exists(in_program_folder.c_str()) ? in_program_folder : name;
}
