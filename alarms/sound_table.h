#pragma once

#include <functional>
#include <vector>

#include "base/n_stream.h"

// The sound file names by sound choice: six built-in names, or the list in
// the optional "AlarmSounds.ary" of the program folder.
class SoundTable {
public:
    // Answers 1 when a file of that name exists.
    using ExistsCheck = std::function<int(const char*)>;
    // Answers a uniform number from 0 to n - 1 (n > 0).
    using Draw = std::function<unsigned(unsigned n)>;

    // "", "normal.wav", "warn.wav", "hot.wav", "panic.wav", "random.wav".
    SoundTable();
    virtual ~SoundTable();

    // Reads "AlarmSounds.ary" from the program folder. 1 when the table was
    // replaced by the file's list; 0 when the file is missing or damaged
    // (the table is then left as it was).
    int Load();
    // The same from the file at path.
    int Load(const zstring& path);
    // The file name for choice; empty past the table's end. Random picks
    // among the choices Normal to Random whose file exists (see PickRandom).
    n_stream SoundFileFor(unsigned choice) const;
    // The Random choice: uniformly one of Normal, Warn, Hot, Panic, Random
    // whose name is not empty and whose file, resolved by ResolveSoundName,
    // exists; kSoundNone when there is none.
    unsigned PickRandom(const zstring& program_folder, const ExistsCheck& exists,
                        const Draw& draw) const;

    unsigned Count() const { return static_cast<unsigned>(m_names.size()); }
    const std::vector<n_stream>& Names() const { return m_names; }

    // The name of the table file: the program folder and "AlarmSounds.ary".
    static zstring TablePath();
    // The folder of the running program, empty when it cannot be told.
    static zstring ProgramFolder();

private:
    std::vector<n_stream> m_names;
};

// A sound name as it can be played: a name with a folder part, or one found
// in the current folder, stays as it is; a bare name found only in
// program_folder becomes that folder's path. Otherwise name unchanged.
zstring ResolveSoundName(const zstring& name, const zstring& program_folder,
                         const SoundTable::ExistsCheck& exists);
