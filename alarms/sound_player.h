#pragma once

#include <windows.h>

#include <cstdint>

// Plays one sound file through the multimedia system's sndPlaySoundA; one
// object per play, on the stack.
class SoundPlayer {
public:
    static constexpr uint32_t kSynchronous = 0;   // SND_SYNC
    static constexpr uint32_t kAsynchronous = 1;  // SND_ASYNC

    SoundPlayer();

    // Shows the multimedia system's text for code in a box titled "ERROR"
    // without owner; 1 when the system had a text for it. Nothing in the
    // program calls it.
    virtual int ReportError(UINT code);
    virtual void SetAsync(int on);

    // 1 while no play of this player has failed. An empty or missing name
    // plays nothing and counts as a failure: the system would play its
    // default sound for it instead.
    int Play(const char* file_name);

    uint32_t Flags() const { return m_flags; }
    uint32_t Failed() const { return m_failed; }

private:
    uint32_t m_flags;
    uint32_t m_failed;  // set by the first failed play, never cleared
};
