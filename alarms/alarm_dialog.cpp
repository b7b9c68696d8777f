#include "alarms/alarm_dialog.h"

#include "alarms/alarm_event.h"
#include "alarms/sound_table.h"
#include "base/zstring.h"
#include "frame/message_box.h"
#include "res/orvalis_ids.h"

namespace {

// The radio button of each sound choice, None first.
const int kSoundButtons[kSoundChoiceCount] = {ORV_ALARM_NONE,  ORV_ALARM_NORMAL, ORV_ALARM_WARN,
                                              ORV_ALARM_HOT,   ORV_ALARM_PANIC,  ORV_ALARM_RANDOM};

const char kInputError[] =
    "Time format is not correct: The date and time were not updated. Event will be disabled.";
const char kHelpText[] =
    "Edit the time. Add your message. Select a sound to play. 'Execute' runs the message from "
    "the command prompt. All events are logged.";

}  // namespace

AlarmDialog::AlarmDialog(AlarmEvent* event)
    : DialogBase(ORV_DLG_ALARM_SETUP),
      m_cancel(1),
      m_time(nullptr),
      m_message(nullptr),
      m_ok(nullptr),
      m_cancel_button(nullptr),
      m_sounds(),
      m_execute(nullptr),
      m_event(event)
{
}

AlarmDialog::~AlarmDialog() = default;

int AlarmDialog::Initialise()
{
    m_time = new EditBinding(this, ORV_ALARM_TIME);
    m_message = new EditBinding(this, ORV_ALARM_MESSAGE);
    m_ok = new ControlBinding(this, IDOK);
    m_cancel_button = new ControlBinding(this, IDCANCEL);
    for (unsigned choice = 0; choice < kSoundChoiceCount; ++choice)
        m_sounds[choice] = new CheckBinding(this, kSoundButtons[choice]);
    m_execute = new CheckBinding(this, ORV_ALARM_EXECUTE);
    if (!m_event)
        return 1;

    if (m_event->SoundChoice() >= kSoundChoiceCount || m_event->SoundChoice() == kSoundNone)
        m_event->SetSoundChoice(kSoundNone);
    m_sounds[m_event->SoundChoice()]->SetText("1");
    m_execute->SetText(m_event->IsExecute() ? "1" : "0");
    zstring time;
    m_event->FormatEventTime(time);
    m_time->SetText(time.c_str());
    m_message->SetText(m_event->Message().c_str());
    return 1;
}

int AlarmDialog::OnCommand(ControlBinding* binding, LPARAM)
{
    if (binding == m_ok) {
        m_cancel = 0;
    } else if (binding == m_cancel_button) {
        m_cancel = 1;
    } else if (binding == m_execute) {
        // The check box changes its own state.
        MessageBeep(MB_ICONHAND);
    } else {
        for (unsigned choice = 0; choice < kSoundChoiceCount; ++choice) {
            if (binding != m_sounds[choice])
                continue;
            // Kept even when the dialog is cancelled.
            if (m_event)
                m_event->SetSoundChoice(choice);
            MessageBeep(MB_ICONHAND);
        }
    }
    return 0;
}

int AlarmDialog::TakeOver()
{
    if (m_cancel || !m_event)
        return 0;
    // Both edits carry no limit: their whole texts are taken.
    zstring text;
    m_time->GetString(text);
    int enabled = 1;
    if (!m_event->ParseEventTime(text)) {
        ErrorBox(kInputError, "EVENT INPUT ERROR", Window());
        enabled = 0;
    }
    text = "";
    m_message->GetString(text);
    m_event->SetMessage(text);
    int checked = 0;
    m_execute->GetValue(checked);
    m_event->SetExecute(checked != 0);
    m_event->SetEnabled(enabled);
    // A sound file that is missing leaves the one stored before.
    SoundTable sounds;
    sounds.Load();
    m_event->SetSoundFile(sounds.SoundFileFor(m_event->SoundChoice()));
    return 1;
}

int AlarmDialog::Help()
{
    InformationBox(kHelpText, "QUICK HELP", Window());
    return 1;
}
