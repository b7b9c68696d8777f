#include "alarms/sound_player.h"

#include <mmsystem.h>

#include "frame/message_box.h"

namespace {

// What mciGetErrorStringA may write, terminator included.
const SIZE_T kErrorTextSize = 80;

}  // namespace

SoundPlayer::SoundPlayer() : m_flags(kSynchronous), m_failed(0) {}

void SoundPlayer::SetAsync(int on)
{
    m_flags = on ? kAsynchronous : kSynchronous;
}

int SoundPlayer::Play(const char* file_name)
{
    if (!file_name || !*file_name || !sndPlaySoundA(file_name, m_flags))
        m_failed = 1;
    return m_failed ? 0 : 1;
}

int SoundPlayer::ReportError(UINT code)
{
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, kErrorTextSize);
    if (!memory) {
        ErrorBox("Alloc Failed", "ERROR", nullptr);
        return 0;
    }
    int found = 0;
    char* text = static_cast<char*>(GlobalLock(memory));
    if (!text) {
        ErrorBox("Mem Lock Failed", "ERROR", nullptr);
    } else {
        found = mciGetErrorStringA(code, text, static_cast<UINT>(kErrorTextSize)) && *text ? 1 : 0;
        ErrorBox(found ? text : "General Failure", "ERROR", nullptr);
        GlobalUnlock(memory);
    }
    GlobalFree(memory);
    return found;
}
