#include "app/quote_app.h"

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include "app/item_draw.h"
#include "app/running_copy.h"
#include "app/state_file.h"
#include "base/file_path.h"
#include "frame/file_type_registration.h"
#include "frame/message_box.h"
#include "frame/message_loop.h"
#include "frame/program_instance.h"
#include "frame/tool_button.h"
#include "res/orvalis_ids.h"

namespace {

const char kLogName[] = "\\ORVLS.TXT";
const char kStateName[] = "\\ORVLS3.DAT";
const char kEdition[] = "Lite Version";
const char kDocumentExtension[] = ".STD";
const char kScheduleTip[] = "Schedule Event";
// Posted to itself to open a volume a later start handed over.
const UINT kOpenHandedOver = WM_APP + 1;
// Visible overlapped window: caption, system menu, thick frame, minimize
// and maximize boxes (0x10CF0000).
const DWORD kMainStyle = WS_OVERLAPPEDWINDOW | WS_VISIBLE;

LOGFONTA DefaultFont()
{
    LOGFONTA font = {};
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(font.lfFaceName, "Arial", LF_FACESIZE);
    return font;
}

}  // namespace

QuoteApp::QuoteApp()
    : m_first_run(0),
      m_state_unreadable(0),
      m_refusal_shown(0),
      m_index_refused(0),
      m_alarm_shown(-1),
      m_alarm_bitmaps(),
      m_tool_bar_state(0),
      m_log_path(WindowsFile(kLogName)),
      m_state_path(WindowsFile(kStateName)),
      m_armed_path(WindowsFile(zstring("\\").append(kArmedEventFileName).c_str())),
      m_view_serial(0),
      m_resized_serial(-1),
      m_random(ClockSeededGenerator()),
      m_system_page(windows_code_page(0)),
      m_texts(m_system_page ? *m_system_page : static_cast<const CodePage&>(windows_1252_page())),
      m_find_case(false)
{
    const LOGFONTA font = DefaultFont();
    m_font = DisplayFont(&font);
    m_font.SetColors(GetSysColor(COLOR_MENUTEXT), GetSysColor(COLOR_APPWORKSPACE));
}

QuoteApp::~QuoteApp() = default;

void QuoteApp::FillCreation(WindowSpec& fields)
{
    BaseWindow::FillCreation(fields);
    fields.style = kMainStyle;
}

int QuoteApp::SpareQuery()
{
    return 1;
}

const char* QuoteApp::ResourceName()
{
    return ORV_RES_MAIN;
}

const char* QuoteApp::CaptionText(int)
{
    return m_command_line ? m_command_line->c_str() : "";
}

int QuoteApp::Run(const WindowSpec& descriptor)
{
    m_running_version.Fill(EditionName(), VersionMajor(), VersionMinor());
    m_saved_version = m_running_version;
    m_command_line.reset(new zstring(descriptor.caption));
    ReadState();
    if (m_running_version.Older(m_saved_version))
        return ReportObsoleteVersion(m_saved_version, m_running_version);
    OpenDocument(*m_command_line);
    return BaseWindow::Run(descriptor);
}

void QuoteApp::ReadState()
{
    if (m_state_path.length() == 0)
        return;
    // Only a state file that is not there makes a first run: one that is
    // there but cannot be read is left as it is, and not written at the end.
    if (FilePath::FileMissing(m_state_path.c_str())) {
        CreateStateFiles();
        m_first_run = 1;
        return;
    }
    std::string text;
    if (!LoadStateText(m_state_path, text)) {
        m_state_unreadable = 1;
        return;
    }
    std::istringstream in(text);
    m_saved_version.Read(in);
    ReadDisplayFont(in, m_saved_version);
    ReadPlacement(in);
    const std::streamoff reached = in.tellg();
    m_tool_bar_state = reached > 0 ? static_cast<uint32_t>(reached) : 0;
}

void QuoteApp::WriteState()
{
    if (m_state_path.length() == 0 || m_state_unreadable)
        return;
    std::ostringstream out;
    m_running_version.Write(out);
    WriteDisplayFont(out);
    WritePlacement(out);
    if (m_tool_bar)
        m_tool_bar->WritePlacement(out);
    if (out)
        SaveStateText(m_state_path, out.str());
}

int QuoteApp::CreateStateFiles()
{
    m_running_version.Fill(EditionName(), VersionMajor(), VersionMinor());
    if (m_state_path.length() == 0)
        return 0;
    // The event log is made when missing and never emptied.
    std::ofstream log(m_log_path.c_str(), std::ios::binary | std::ios::app);
    std::ostringstream state;
    m_running_version.Write(state);
    return log && SaveStateText(m_state_path, state.str()) ? 1 : 0;
}

int QuoteApp::ReportObsoleteVersion(const VersionInfo& saved, const VersionInfo& running)
{
    const std::string text = std::string("You are running an obsolete version of Orvalis: \"") +
                             running.Text().c_str() + "\". . Please re-install version \"" +
                             saved.Text().c_str() + "\".";
    ErrorBox(text.c_str(), "Execution Aborted");
    return 0;
}

std::ostream& QuoteApp::WriteDisplayFont(std::ostream& out)
{
    return m_font.write(out);
}

std::istream& QuoteApp::ReadDisplayFont(std::istream& in, const VersionInfo&)
{
    return m_font.read(in);
}

int QuoteApp::VersionMajor()
{
    return 3;
}

int QuoteApp::VersionMinor()
{
    return 2;
}

const char* QuoteApp::EditionName()
{
    return kEdition;
}

const char* QuoteApp::DocumentExtension(zstring& extension)
{
    extension = kDocumentExtension;
    return extension.c_str();
}

// The shell's open command passes a document's path, in quotes: that volume
// is opened instead of the usual one when it exists. One that does not
// exist is named in a box, and the usual volume is shown. One that is
// refused is named in a box too, and then nothing is read or written: no
// other volume takes its place.
int QuoteApp::OpenDocument(const zstring& command_line)
{
    std::string name(command_line.c_str());
    const size_t first = name.find_first_not_of(" \t\"");
    const size_t last = name.find_last_not_of(" \t\"");
    if (first == std::string::npos)
        return 0;
    zstring full(name.substr(first, last - first + 1).c_str());
    FilePath::CheckName(full);
    if (FilePath::FileMissing(full.c_str())) {
        zstring shown(m_database.file_name());
        FilePath::CheckName(shown);
        const std::string text = std::string("The volume ") + full.c_str() +
                                 " does not exist.\nOrvalis shows " + shown.c_str() + " instead.";
        InformationBox(text.c_str(), "Message");
        return 0;
    }
    if (m_database.set_file_name(full) == 1)
        return 1;
    const QuoteVolume::Failure failure = m_database.failure();
    m_refusal = failure == QuoteVolume::kNoFailure
                    ? "Un-support database format."
                    : std::string("The volume cannot be opened: ") +
                          QuoteVolume::describe(failure) + ".";
    m_refused_volume = full;
    m_database.close();
    return 0;
}

// Once per volume; a second try only beeps.
void QuoteApp::ReportRefusedVolume()
{
    if (m_refusal_shown) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    m_refusal_shown = 1;
    const std::string text = m_refusal + "\n" + m_refused_volume.c_str();
    InformationBox(text.c_str(), "Unable to read databases.");
}

void QuoteApp::OnCreated(WindowEvent&)
{
    if (!m_tool_bar) {
        m_tool_bar.reset(new ToolWindow);
        m_tool_bar->Create(Handle());
        SetUpToolbar(m_tool_bar.get());
        ShowToolbar(m_tool_bar.get());
    }
    SetLoopAccelerators(Handle(), LoadAcceleratorsA(ProgramInstance(), ORV_RES_MAIN));
    const std::string problem = IndexProblem();
    if (!problem.empty())
        OfferIndexRebuild(problem);
    NextItem();
    m_alarm_firing.RestoreArmed(m_alarm, *this);
    ShowAlarmState();
    StartTimer(kAlarmTimer, kAlarmPeriod);
    zstring extension;
    if (*DocumentExtension(extension))
        FileTypeRegistration().RegisterFileType(extension, ORV_DOCUMENT_ICON_INDEX);
}

void QuoteApp::OnDestroyed(WindowEvent&)
{
    SetLoopAccelerators(nullptr, nullptr);
    WriteState();
    m_tool_bar.reset();
}

void QuoteApp::OnTimer(TimerEvent& event)
{
    if (event.id == kAlarmTimer) {
        m_alarm_firing.Check(m_alarm, *this);
        ShowAlarmState();
    }
}

// While an alarm is set, its button shows the clock set, and its tip the
// time it is set for.
void QuoteApp::ShowAlarmState()
{
    ToolButton* button = m_tool_bar ? m_tool_bar->ButtonFor(ORV_CMD_ALARMS) : nullptr;
    const int armed = m_alarm.IsEnabled() ? 1 : 0;
    if (!button || armed == m_alarm_shown)
        return;
    if (m_alarm_shown < 0) {
        m_alarm_bitmaps[0] = button->Descriptor().up_bitmap;
        m_alarm_bitmaps[1] = m_tool_bar->AddBitmap(ORV_BMP_SCHEDULE_SET);
    }
    m_alarm_shown = armed;
    zstring time;
    m_alarm.FormatEventTime(time);
    const std::string tip = armed ? std::string("Alarm set for ") + time.c_str() : kScheduleTip;
    button->SetLook(m_alarm_bitmaps[armed], tip.c_str());
}

std::wstring QuoteApp::WideText(const zstring& stored) const
{
    return m_texts.to_wide(std::string(stored.c_str()));
}

std::string QuoteApp::Utf8Text(const zstring& stored) const
{
    return m_texts.to_utf8(std::string(stored.c_str()));
}

int QuoteApp::MainMinimised()
{
    return IsIconic(Handle()) ? 1 : 0;
}

void QuoteApp::HideMainWindow()
{
    ShowWindow(Handle(), SW_HIDE);
}

void QuoteApp::ShowMainWindow()
{
    ShowWindow(Handle(), SW_SHOW);
}

void QuoteApp::HideToolWindow()
{
    HideToolbar(m_tool_bar.get());
}

void QuoteApp::ShowToolWindow()
{
    ShowToolbar(m_tool_bar.get());
}

void QuoteApp::SetMainCaption(const char* text)
{
    SetWindowTextA(Handle(), text);
}

void QuoteApp::StopAlarmTimer()
{
    StopTimer(kAlarmTimer);
}

const char* QuoteApp::EventLogPath()
{
    return m_log_path.c_str();
}

const char* QuoteApp::ArmedEventPath()
{
    return m_armed_path.c_str();
}

int QuoteApp::OnFilesDropped(DropInfo*)
{
    return 0;
}

// The sender waits while this runs: the volume is opened once it has gone.
int QuoteApp::OnCopyData(const COPYDATASTRUCT& data)
{
    if (data.dwData != RunningCopy::kCommandLine || !data.lpData || data.cbData == 0)
        return 0;
    const char* text = static_cast<const char*>(data.lpData);
    m_handed_over = zstring(std::string(text, strnlen(text, data.cbData)).c_str());
    PostMessageA(Handle(), kOpenHandedOver, 0, 0);
    return 1;
}

LRESULT QuoteApp::OnUserMessage(WindowEvent& event)
{
    if (event.message != kOpenHandedOver)
        return BaseWindow::OnUserMessage(event);
    OpenHandedOver();
    return 0;
}

// As at the start: the named volume, or the one on show with a box saying
// why not.
void QuoteApp::OpenHandedOver()
{
    const zstring name = m_handed_over;
    m_refused_volume = zstring("");
    m_refusal.clear();
    m_refusal_shown = 0;
    m_index_refused = 0;
    if (!OpenDocument(name) && !m_refused_volume.length())
        return;
    m_history = NavigationHistory();
    const std::string problem = IndexProblem();
    if (!problem.empty())
        OfferIndexRebuild(problem);
    NextItem();
}
