#pragma once

#include "frame/control_binding.h"
#include "frame/dialog_base.h"

class AlarmEvent;

// The Schedule Alarm Event dialog ("ALARM_SETUP") on the one alarm event:
// its time, message, sound and execute option. OK takes them over and arms
// the event; Cancel keeps everything but the sound choice, which every
// radio button stores at once.
class AlarmDialog : public DialogBase {
public:
    explicit AlarmDialog(AlarmEvent* event);
    ~AlarmDialog() override;

    int Initialise() override;
    int TakeOver() override;
    int OnCommand(ControlBinding* binding, LPARAM lparam) override;
    int Help() override;

    int Cancelled() const { return m_cancel; }

private:
    int m_cancel;
    // The bindings belong to the dialog's control list.
    EditBinding* m_time;
    EditBinding* m_message;
    ControlBinding* m_ok;
    ControlBinding* m_cancel_button;
    CheckBinding* m_sounds[6];  // by sound choice, None first
    CheckBinding* m_execute;
    AlarmEvent* m_event;  // not owned
};
