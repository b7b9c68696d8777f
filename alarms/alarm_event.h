#pragma once

// The one reminder the program keeps: armed by the Schedule Alarm Event
// dialog, checked once a second by the main window's timer.
class AlarmEvent {
public:
    AlarmEvent();
    virtual ~AlarmEvent();

    int IsEnabled() const { return m_enabled; }
    // Sets the due time to the clock's current time.
    void ResetEventTime();

private:
    int m_enabled;
};
