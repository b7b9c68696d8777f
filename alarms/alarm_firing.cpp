#include "alarms/alarm_firing.h"

#include "alarms/alarm_event.h"
#include "alarms/alarm_host.h"
#include "alarms/event_log.h"
#include "alarms/prompt_window.h"
#include "alarms/run_command.h"
#include "alarms/sound_player.h"
#include "base/zstring.h"
#include "frame/message_box.h"

namespace {

// IDI_ASTERISK, IDI_APPLICATION, IDI_ASTERISK, IDI_EXCLAMATION, IDI_HAND,
// IDI_QUESTION.
const uint32_t kNoticeIcons[kSoundChoiceCount] = {32516, 32512, 32516, 32515, 32513, 32514};

const char kStarted[] = "STARTED OKAY: ";
const char kFailed[] = "ERROR: ";

zstring Joined(const zstring& first, const zstring& second)
{
    zstring text(first);
    text.append(second);
    return text;
}

}  // namespace

int PlayEventSound(const AlarmEvent& event)
{
    const char* file = event.SoundToPlay();
    if (!file)
        return 0;
    SoundPlayer player;
    player.SetAsync(1);
    return player.Play(file);
}

uint32_t NoticeIconFor(unsigned sound_choice)
{
    return sound_choice < kSoundChoiceCount ? kNoticeIcons[sound_choice] : kNoticeIcons[0];
}

AlarmFiring::AlarmFiring() : m_late(0) {}

int AlarmFiring::RestoreArmed(AlarmEvent& event, AlarmHost& host)
{
    AlarmEvent kept;
    if (!LoadArmedEvent(host.ArmedEventPath(), kept) || !kept.IsEnabled())
        return 0;
    event = kept;
    const AlarmEvent now;  // a fresh event holds the clock's time
    m_late = now.Time().IsLaterThan(event.Time());
    return 1;
}

void AlarmFiring::Armed(const AlarmEvent& event, AlarmHost& host)
{
    m_late = 0;
    if (event.IsEnabled())
        SaveArmedEvent(host.ArmedEventPath(), event);
    else
        ForgetArmedEvent(host.ArmedEventPath());
}

int AlarmFiring::Check(AlarmEvent& event, AlarmHost& host)
{
    if (!event.IsEnabled()) {
        host.StopAlarmTimer();
        return kIdle;
    }
    const AlarmEvent now;
    if (!now.Time().IsLaterThan(event.Time()))
        return kWaiting;

    // Once only: the event is never armed again by itself, here or after a
    // restart.
    event.SetEnabled(0);
    ForgetArmedEvent(host.ArmedEventPath());
    zstring time;
    event.FormatEventTime(time);
    zstring late;
    if (m_late) {
        late = "LATE (due ";
        late.append(time);
        late.append("): ");
        m_late = 0;
    }

    zstring line;  // the command's log text, which a failed write repeats
    const int logged = event.IsExecute() ? FireCommand(event, host, late, line)
                                         : FireNotice(event, host, late);
    if (logged == 1) {
        host.SetMainCaption(Joined("LOG UPDATED ", time).c_str());
    } else {
        ErrorBox("Unable to write to log file.", host.EventLogPath());
        ErrorBox(line.c_str(), "Error!");
    }
    return kFired;
}

int AlarmFiring::FireNotice(AlarmEvent& event, AlarmHost& host, const zstring& late)
{
    const zstring log_path(host.EventLogPath());
    const int logged = late.length() ? LogText(event, log_path, Joined(late, event.Message()))
                                     : LogEvent(event, log_path);
    PlayEventSound(event);

    TextBlock body("[None]");
    body.SetFlags(PromptWindow::kTextFlags);
    zstring caption("Notice!");
    int hidden = 0;
    if (!host.MainMinimised()) {
        host.HideMainWindow();
        host.HideToolWindow();
        hidden = 1;
    }
    body.Text() = event.Message();
    // A second play starts the sound again as the notice comes up.
    PlayEventSound(event);
    event.FormatEventTime(caption);

    PromptWindow prompt;
    prompt.Show(body, caption.c_str(), NoticeIconFor(event.SoundChoice()),
                PromptWindow::kPlainPrompt);
    host.ShowMainWindow();
    if (hidden)
        host.ShowToolWindow();
    return logged;
}

int AlarmFiring::FireCommand(AlarmEvent& event, AlarmHost& host, const zstring& late,
                             zstring& line)
{
    const zstring log_path(host.EventLogPath());
    zstring error;
    if (RunCommand(event.Message().c_str(), error)) {
        line = Joined(kStarted, event.Message());
        return LogText(event, log_path, Joined(late, line));
    }
    line = Joined(kFailed, event.Message());
    LogText(event, log_path, Joined(late, line));
    return LogText(event, log_path, Joined(kFailed, error));
}
