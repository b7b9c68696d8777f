#pragma once

#include <windows.h>

#include <cstdint>
#include <iosfwd>
#include <memory>
#include <random>
#include <string>

#include "alarms/alarm_event.h"
#include "alarms/alarm_firing.h"
#include "alarms/alarm_host.h"
#include "app/navigation_history.h"
#include "app/version_info.h"
#include "base/display_font.h"
#include "base/stored_text.h"
#include "base/zstring.h"
#include "db/progress_quote_database.h"
#include "db/quote_item.h"
#include "frame/base_window.h"
#include "frame/tool_window.h"

struct TextRoom;

// The application object, which is also the main window: it owns the
// database, the item on show, the navigation history, the display font,
// the alarm event and the paths of its state file and event log. It is also
// the host of a firing alarm.
class QuoteApp : public BaseWindow, public AlarmHost {
public:
    // Timer 100 ticks once a second while the alarm event is armed.
    static constexpr UINT_PTR kAlarmTimer = 100;
    static constexpr UINT kAlarmPeriod = 1000;

    QuoteApp();
    ~QuoteApp() override;

    int SpareQuery() override;
    int Run(const WindowSpec& descriptor) override;
    const char* ResourceName() override;
    const char* CaptionText(int number) override;

    // The operations added to the window, in slot order.
    virtual int ReportObsoleteVersion(const VersionInfo& saved, const VersionInfo& running);
    virtual int CreateStateFiles();
    virtual int NextItem();
    virtual int PreviousItem();
    virtual int ShowItem(QuoteEntry& entry);
    virtual int GotoItem(int32_t number);
    virtual int ScheduleEvents();
    virtual int AskItemNumber();
    virtual int CopyItem();
    virtual uint32_t DeleteItem();
    virtual int PasteItem(const char* text);
    virtual int CutItem();
    virtual int EditItem();
    virtual uint32_t UndeleteItem();
    virtual uint32_t PackDatabase();
    virtual int TooLarge(const zstring& text);
    // Asked before the view gives up on an item too large for the screen;
    // 1 would stop the painting.
    virtual int ViewHook(QuoteEntry& entry);
    virtual int TooWide(const zstring& text);
    virtual int ReformatToFit(zstring& text);
    virtual void SetUpToolbar(ToolWindow* tool_bar);
    virtual void ShowToolbar(ToolWindow* tool_bar);
    virtual void HideToolbar(ToolWindow* tool_bar);
    virtual int StoreItem(QuoteEntry& entry, ProgressQuoteDatabase& database);
    virtual std::ostream& WriteDisplayFont(std::ostream& out);
    virtual std::istream& ReadDisplayFont(std::istream& in, const VersionInfo& saved);
    virtual int VersionMajor();
    virtual int VersionMinor();
    virtual const char* EditionName();
    virtual const char* DocumentExtension(zstring& extension);

    // The alarm's host.
    int MainMinimised() override;
    void HideMainWindow() override;
    void ShowMainWindow() override;
    void HideToolWindow() override;
    void ShowToolWindow() override;
    void SetMainCaption(const char* text) override;
    void StopAlarmTimer() override;
    const char* EventLogPath() override;
    const char* ArmedEventPath() override;

protected:
    void FillCreation(WindowSpec& fields) override;
    void OnTimer(TimerEvent& event) override;
    void OnCreated(WindowEvent& event) override;
    void OnDestroyed(WindowEvent& event) override;
    int OnCommand(WindowEvent& event) override;
    void OnPaint(PaintRecord& paint) override;
    void OnMouseButton(ButtonRecord& button) override;
    int OnFilesDropped(DropInfo* files) override;
    // A later start's command line: the volume it names is opened here.
    int OnCopyData(const COPYDATASTRUCT& data) override;
    LRESULT OnUserMessage(WindowEvent& event) override;

private:
    void ReadState();
    void WriteState();
    int OpenDocument(const zstring& command_line);
    void OpenHandedOver();
    int ReplaceItem(QuoteEntry& entry, ProgressQuoteDatabase& database);
    int AppendItem(QuoteEntry& entry, ProgressQuoteDatabase& database);
    int MayWrite(ProgressQuoteDatabase& database);
    int MayAppend(ProgressQuoteDatabase& database);
    void ReportRefusedVolume();
    std::string IndexProblem();
    void OfferIndexRebuild(const std::string& problem);
    std::string WriteFailure(const char* what);
    void PutOnShow(const QuoteEntry& entry, int32_t number);
    void ShowNeighbourOf(int32_t position);
    void ShowHelp();
    // Find asks for the words; Find Again looks for the last ones.
    int FindItem(bool ask);
    void ShowAlarmState();
    void Pack();
    void Repaint();
    int GrowToFit(const RECT& measured);
    LONG WidestText();
    // A stored text as the characters it stands for, and back by the rule:
    // the system's code page where every character fits, else UTF-8.
    std::wstring WideText(const zstring& stored) const;
    std::string Utf8Text(const zstring& stored) const;
    void PlaceToolsBeside();
    TextRoom Room();

    int m_first_run;
    int m_state_unreadable;   // a state file that is there is never replaced unread
    zstring m_refused_volume;  // the volume the command line named, when refused
    std::string m_refusal;     // why, as the box says it
    zstring m_handed_over;     // a later start's command line, opened soon
    int m_refusal_shown;
    int m_index_refused;       // the user kept a lost or damaged index as it is
    int m_alarm_shown;         // -1 until the alarm button first shows the state
    unsigned m_alarm_bitmaps[2];  // the button's bitmaps, unset and set
    std::unique_ptr<zstring> m_command_line;
    std::unique_ptr<ToolWindow> m_tool_bar;
    uint32_t m_tool_bar_state;
    NavigationHistory m_history;
    ProgressQuoteDatabase m_database;
    QuoteEntry m_current;
    DisplayFont m_font;
    zstring m_log_path;
    zstring m_state_path;
    VersionInfo m_saved_version;
    VersionInfo m_running_version;
    AlarmEvent m_alarm;
    AlarmFiring m_alarm_firing;
    zstring m_armed_path;  // the armed alarm across a restart
    // Raised whenever another item comes on show; the view resizes the
    // window at most once for each.
    int m_view_serial;
    int m_resized_serial;
    std::mt19937 m_random;
    std::unique_ptr<CodePage> m_system_page;  // the system's ANSI code page
    StoredText m_texts;                       // stored texts on that page
    std::wstring m_find_text;                 // the words of the last Find
    bool m_find_case;
};
