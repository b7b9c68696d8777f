#pragma once

#include <iosfwd>

#include "alarms/event_time.h"
#include "base/n_stream.h"

// Sound choices of the alarm event; the value indexes the sound table.
enum AlarmSound : unsigned {
    kSoundNone = 0,
    kSoundNormal = 1,
    kSoundWarn = 2,
    kSoundHot = 3,
    kSoundPanic = 4,
    kSoundRandom = 5,
};
const unsigned kSoundChoiceCount = 6;

// The one reminder the program keeps: armed by the Schedule Alarm Event
// dialog, checked once a second by the main window's timer.
class AlarmEvent {
public:
    AlarmEvent();
    AlarmEvent(const AlarmEvent& other) = default;
    AlarmEvent& operator=(const AlarmEvent& other) = default;
    virtual ~AlarmEvent();

    // Stream form: " <second count> " then " ", enabled, execute and sound
    // choice each followed by a blank, then the message and the sound file
    // length-prefixed. read is its exact inverse: on any mismatch (or a
    // time that cannot be converted) it marks the stream failed and leaves
    // the event unchanged.
    virtual std::ostream& write(std::ostream& os) const;
    virtual std::istream& read(std::istream& is);

    // "MM/DD/YYYY HH:MM" of the event time.
    void FormatEventTime(zstring& text) const;
    // 1 when text, in exactly that form with a year from 1970 on and a time
    // the clock can reach, became the event time; else 0, time unchanged.
    int ParseEventTime(const zstring& text);
    // 1 when name is a usable file name and the file exists; a bare name
    // missing from the current folder is also looked for in the program
    // folder, and then stored with that folder. 0 leaves the sound file.
    int SetSoundFile(const zstring& name);
    // Replaces the time with a fresh clock reading (valid flag 0).
    void ResetEventTime();

    int IsEnabled() const { return m_enabled; }
    void SetEnabled(int on) { m_enabled = on ? 1 : 0; }
    int IsExecute() const { return m_execute; }
    void SetExecute(int on) { m_execute = on ? 1 : 0; }
    unsigned SoundChoice() const { return m_sound_choice; }
    void SetSoundChoice(unsigned choice) { m_sound_choice = choice; }
    const n_stream& SoundFile() const { return m_sound_file; }
    // The file to play when the event fires: null for the choice None or
    // while no sound file is stored, so None is silent.
    const char* SoundToPlay() const;
    const n_stream& Message() const { return m_message; }
    void SetMessage(const zstring& text) { m_message = text; }
    const EventTime& Time() const { return m_time; }
    void SetEventTime(const EventTime& time) { m_time = time; }

private:
    EventTime m_time;
    unsigned m_enabled;
    unsigned m_execute;
    n_stream m_sound_file;
    unsigned m_sound_choice;
    n_stream m_message;
};

// The armed event kept across a restart, in a file of its own beside the
// state file ("ORVLS3.ALM" beside "ORVLS3.DAT").
extern const char kArmedEventFileName[];
// Writes event with its stream form; 1 when the file was written and
// closed without error (a partial file is removed).
int SaveArmedEvent(const zstring& path, const AlarmEvent& event);
// 1 when the file holds exactly one event in the stream form, which then
// replaces event; 0 for a missing or damaged file, event unchanged.
int LoadArmedEvent(const zstring& path, AlarmEvent& event);
// Removes the file; 1 when it is gone afterwards.
int ForgetArmedEvent(const zstring& path);
