#pragma once

#include <cstdint>

class AlarmEvent;
class AlarmHost;
class zstring;

// Plays the event's sound file asynchronously; 0, with nothing played, for
// the choice None or while no sound file is stored.
int PlayEventSound(const AlarmEvent& event);

// The platform's standard icon for a sound choice: information for None and
// Warn, application for Normal, exclamation for Hot, hand for Panic and
// question for Random.
uint32_t NoticeIconFor(unsigned sound_choice);

// The timer's side of the alarm event: the once-a-second check that fires
// it, and the file in which an armed event waits across a restart.
class AlarmFiring {
public:
    // What a check did.
    static constexpr int kIdle = 0;     // not armed: the timer was stopped
    static constexpr int kWaiting = 1;  // armed, not yet due
    static constexpr int kFired = 2;

    AlarmFiring();

    // At start: takes over an event armed in an earlier run. 1 when one was
    // armed; when its time passed while the program was closed, its firing
    // is logged as late. A damaged file is ignored.
    int RestoreArmed(AlarmEvent& event, AlarmHost& host);
    // After the dialog's OK: an armed event is kept for the next start, a
    // disabled one forgotten.
    void Armed(const AlarmEvent& event, AlarmHost& host);
    // Once a second: stops the timer while the event is not armed, and
    // fires it once when the clock has passed its time: a notice with its
    // sound, or the message run as a command. Either is logged.
    int Check(AlarmEvent& event, AlarmHost& host);

    int Late() const { return m_late; }

private:
    int FireNotice(AlarmEvent& event, AlarmHost& host, const zstring& late);
    int FireCommand(AlarmEvent& event, AlarmHost& host, const zstring& late, zstring& line);

    int m_late;  // 1 while the armed event was due before this run began
};
