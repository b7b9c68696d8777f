// The main window's commands: moving between items, editing, deleting and
// restoring them, packing the volume, the dialogs and help.
#include "app/quote_app.h"

#include <shellapi.h>

#include <memory>
#include <sstream>
#include <string>

#include "alarms/alarm_dialog.h"
#include "alarms/find_dialog.h"
#include "alarms/guide_dialog.h"
#include "app/item_words.h"
#include "alarms/item_dialogs.h"
#include "app/item_draw.h"
#include "app/state_file.h"
#include "app/volume_messages.h"
#include "base/file_path.h"
#include "base/program_paths.h"
#include "db/file_header.h"
#include "db/volume_names.h"
#include "frame/dialog_base.h"
#include "frame/message_box.h"
#include "frame/program_instance.h"
#include "res/orvalis_ids.h"

namespace {

const uint32_t kNoCount = 0xFFFFFFFF;
const char kHelpFile[] = "Orvalis.HLP";

struct ToolButtonEntry {
    const char* bitmap;
    const char* tip;
    unsigned command;
};

const ToolButtonEntry kToolButtons[] = {
    {ORV_BMP_PREV_QUOTE, "Previous Quote", ORV_CMD_PREV_QUOTE},
    {ORV_BMP_NEXT_QUOTE, "Next Quote", ORV_CMD_NEXT_QUOTE},
    {ORV_BMP_SCHEDULE, "Schedule Event", ORV_CMD_ALARMS},
    {ORV_BMP_WEB_PAGE, "Keldovane Web-Page", ORV_CMD_WEB_PAGE},
};

}  // namespace

// Menu commands and buttons carry 0 above the id, keys of the keyboard
// table 1; anything else is a control's notification.
int QuoteApp::OnCommand(WindowEvent& event)
{
    if (HIWORD(event.wparam) > 1)
        return 0;
    switch (LOWORD(event.wparam)) {
    case ORV_CMD_HELP: ShowHelp(); return 1;
    case ORV_CMD_ABOUT: AboutBox().Run(); return 1;
    case ORV_CMD_NEXT_QUOTE: NextItem(); return 1;
    case ORV_CMD_PREV_QUOTE: PreviousItem(); return 1;
    case ORV_CMD_ALARMS: ScheduleEvents(); return 1;
    case ORV_CMD_GOTO_QUOTE: AskItemNumber(); return 1;
    case ORV_CMD_PACK_VOLUME: Pack(); return 1;
    case ORV_CMD_FIND: FindItem(true); return 1;
    case ORV_CMD_FIND_AGAIN: FindItem(false); return 1;
    case ORV_CMD_WEB_PAGE:
        ShellExecuteA(nullptr, "open", ORV_WEB_PAGE_URL, nullptr, nullptr, SW_SHOWNORMAL);
        return 1;
    case ORV_CMD_EDIT_ITEM: EditItem(); return 1;
    case ORV_CMD_CUT:
    case ORV_CMD_CUT_ITEM: CutItem(); return 1;
    case ORV_CMD_COPY:
    case ORV_CMD_COPY_ITEM: CopyItem(); return 1;
    case ORV_CMD_PASTE:
    case ORV_CMD_PASTE_ITEM: PasteItem(nullptr); return 1;
    default: return 0;
    }
}

// One edit per click: the press opens the editor, which writes the item.
void QuoteApp::OnMouseButton(ButtonRecord& button)
{
    if (button.button == kRightButton && button.action == kButtonPress)
        EditItem();
}

int QuoteApp::NextItem()
{
    const uint32_t count = m_database.count();
    QuoteEntry entry;
    auto live = [&](uint32_t n) {
        return m_database.read_item(n, entry) == 1 && !entry.is_deleted();
    };
    const int64_t drawn = count == kNoCount ? -1 : DrawItem(count, m_random, live);
    if (drawn < 0) {
        // Nothing stays loaded that is not on show: an edit would append it.
        m_current.clear();
        Repaint();
    }
    if (drawn < 0 || !m_database.header_valid())
        return ShowItem(m_current);
    // The draw's last read is the item drawn.
    PutOnShow(entry, static_cast<int32_t>(drawn));
    return 1;
}

int QuoteApp::ShowItem(QuoteEntry& entry)
{
    if (m_refused_volume.length()) {
        ReportRefusedVolume();
        return 0;
    }
    if (!m_database.header_valid()) {
        InformationBox("Un-support database format.", "Unable to read databases.");
        return 0;
    }
    if (entry.position() == QuoteEntry::kNotStored) {
        InformationBox("Item has not been appended to the database.", "Message");
        return 0;
    }
    return GotoItem(entry.position());
}

// The item on show changes only when the new one could be read.
int QuoteApp::GotoItem(int32_t number)
{
    QuoteEntry entry;
    if (number < 0 || m_database.read_item(static_cast<uint32_t>(number), entry) != 1) {
        std::string text = "Item number " + std::to_string(number) +
                           " does not exist or has been deleted.";
        InformationBox(text.c_str(), "Message");
        return 0;
    }
    PutOnShow(entry, number);
    return 1;
}

void QuoteApp::PutOnShow(const QuoteEntry& entry, int32_t number)
{
    m_current.copy_from(entry);
    m_current.set_position(number);
    m_history.Record(static_cast<uint32_t>(number));
    ++m_view_serial;
    Repaint();
}

int QuoteApp::PreviousItem()
{
    uint32_t candidate = 0;
    const uint32_t on_show = static_cast<uint32_t>(m_current.position());
    if (!m_history.StepBack(on_show, candidate)) {
        MessageBeep(MB_ICONHAND);
        return 0;
    }
    return GotoItem(static_cast<int32_t>(candidate));
}

int QuoteApp::AskItemNumber()
{
    std::unique_ptr<QuoteLookup> lookup(new QuoteLookup);
    lookup->Run();
    return lookup->Cancelled() ? 0 : GotoItem(lookup->Number());
}

int QuoteApp::ScheduleEvents()
{
    if (!m_alarm.IsEnabled())
        m_alarm.ResetEventTime();
    AlarmDialog dialog(&m_alarm);
    if (dialog.Run() == 1)
        m_alarm_firing.Armed(m_alarm, *this);
    ShowAlarmState();
    StartTimer(kAlarmTimer, kAlarmPeriod);
    return 1;
}

// Edits the item on show and writes it back at once. With no item on show
// the edited text becomes a new item.
int QuoteApp::EditItem()
{
    if (m_current.is_deleted() &&
        QuestionBox("This item has been deleted. Do you want to un-delete it?", "Notice"))
        return static_cast<int>(UndeleteItem());
    QuoteEntry edited;
    edited.copy_from(m_current);
    edited.set_position(m_current.position());
    EntryEditor editor(&edited, &m_texts);
    editor.Run();
    if (editor.Cancelled())
        return 0;
    if (!StoreItem(edited, m_database))
        return 0;
    m_current.copy_from(edited);
    m_current.set_position(edited.position());
    ++m_view_serial;
    Repaint();
    return 1;
}

int QuoteApp::StoreItem(QuoteEntry& entry, ProgressQuoteDatabase& database)
{
    const int stored = entry.position() != QuoteEntry::kNotStored ? ReplaceItem(entry, database)
                                                                  : AppendItem(entry, database);
    if (!stored)
        ErrorBox("Data not saved!", "Error!");
    return stored;
}

// Writes the entry's record anew and points its index entry at it; the
// entry keeps its position whatever happens.
int QuoteApp::ReplaceItem(QuoteEntry& entry, ProgressQuoteDatabase& database)
{
    if (!MayWrite(database))
        return 0;
    if (database.current_index() != 0)
        database.select_index(0);
    return database.replace_item(static_cast<uint32_t>(entry.position()), entry) == 1 ? 1 : 0;
}

// Appends the entry as a new item: success means exactly one entry more.
int QuoteApp::AppendItem(QuoteEntry& entry, ProgressQuoteDatabase& database)
{
    if (!MayAppend(database))
        return 0;
    const uint32_t before = database.count();
    entry.set_quote_number(0);
    if (database.append_item(entry) != 1 || database.count() != before + 1)
        return 0;
    entry.set_position(static_cast<int32_t>(before));
    return 1;
}

// The one guard of every command that writes: nothing is written to a
// volume that was refused, whose index the user chose to keep lost or
// damaged, or when the database found no volume at all.
int QuoteApp::MayWrite(ProgressQuoteDatabase& database)
{
    return database.bound() && database.header_valid() && !m_refused_volume.length() &&
                   !m_index_refused
               ? 1
               : 0;
}

// An empty index over a data file that holds records means the index was
// lost: appending would hide every item, so nothing is written. A missing
// data file is made afresh.
int QuoteApp::MayAppend(ProgressQuoteDatabase& database)
{
    if (!MayWrite(database))
        return 0;
    if (database.current_index() != 0)
        database.select_index(0);
    const uint32_t count = database.count();
    if (count == kNoCount)
        return 0;
    if (count != 0)
        return 1;
    const char* data = database.file_name().c_str();
    if (FilePath::FileMissing(data))
        return database.create() == 1 ? 1 : 0;
    return FilePath::FileSize(data) <= VolumeHeaderSize() ? 1 : 0;
}

uint32_t QuoteApp::UndeleteItem()
{
    if (!MayWrite(m_database))
        return 0;
    const uint32_t result = m_database.undelete_item(m_current);
    if (result == 1) {
        ShowItem(m_current);
        Repaint();
    }
    return result;
}

uint32_t QuoteApp::DeleteItem()
{
    if (!MayWrite(m_database))
        return 0;
    const int32_t position = m_current.position();
    const uint32_t result = m_database.delete_item(m_current);
    ShowNeighbourOf(position);
    return result;
}

// After a delete or cut: the item now under the same number (a deleted
// item's tombstone) or, past the end, the one before it.
void QuoteApp::ShowNeighbourOf(int32_t position)
{
    const uint32_t count = m_database.count();
    if (count != 0 && count != kNoCount) {
        const uint32_t n = static_cast<uint32_t>(position);
        GotoItem(static_cast<int32_t>(n < count ? n : n - 1));
        return;
    }
    m_current.clear();
    m_current.set_position(QuoteEntry::kNotStored);
    Repaint();
}

uint32_t QuoteApp::PackDatabase()
{
    if (!MayWrite(m_database))
        return 0;
    const uint32_t result = m_database.pack();
    Repaint();
    return result;
}

// Pack renumbers the items, so the history starts again with a new item.
// A damaged volume is refused by the database; the user is offered the
// rebuild of its index instead.
void QuoteApp::Pack()
{
    if (!MayWrite(m_database)) {
        MessageBeep(MB_ICONHAND);
        return;
    }
    if (!QuestionBox("Pack the volume? Deleted items and the space of edited ones are "
                     "reclaimed; the volume as it is now is kept as a backup.",
                     "Notice"))
        return;
    if (PackDatabase() != 1) {
        const QuoteVolume::Failure failure = m_database.failure();
        if (failure == QuoteVolume::kUnsound) {
            OfferIndexRebuild("has entries that lead to no readable item, so the volume "
                              "was not packed");
        } else {
            const std::string text = "The volume " + FullName(m_database.file_name()) +
                                     " could not be packed: " + FailureText(m_database) +
                                     ". It is unchanged.";
            ErrorBox(text.c_str(), "Error!");
        }
    }
    m_history = NavigationHistory();
    NextItem();
}

// What is wrong with the volume's index, as a phrase that follows "The
// index NAME", or "" when nothing is: lost (missing, or empty beside
// records) or ending with a partial entry.
std::string QuoteApp::IndexProblem()
{
    const char* data = m_database.file_name().c_str();
    const char* index = m_database.index_name().c_str();
    if (!m_database.bound() || m_refused_volume.length() ||
        FilePath::KindOf(data) != FilePath::kRegular)
        return "";
    const bool records = FilePath::FileSize(data) > VolumeHeaderSize();
    const FilePath::Kind kind = FilePath::KindOf(index);
    if (kind == FilePath::kMissing)
        return records ? "is missing" : "";
    const int64_t size = FilePath::FileSize(index);
    if (kind != FilePath::kRegular || size < 0)
        return "";
    if (size == 0 && records)
        return "holds no entries, although the volume holds items";
    if (size % QuoteIndexFile::kEntrySize != 0)
        return "ends with a partial entry";
    return "";
}

// Says what is wrong, naming both files, and offers the rebuild. Declined,
// the volume is only read from, never written.
void QuoteApp::OfferIndexRebuild(const std::string& problem)
{
    const std::string data = FullName(m_database.file_name());
    const std::string index = FullName(m_database.index_name());
    const zstring damaged = damaged_file_name(zstring(data.c_str()));
    const std::string question =
        "The index " + index + " of the volume " + data + " " + problem +
        ".\n\nOrvalis can rebuild the index from the volume. The files as they are now are "
        "kept as " + damaged.c_str() + " and " + index_file_name(damaged).c_str() +
        ".\n\nRebuild the index now?";
    if (!QuestionBox(question.c_str(), "Notice")) {
        m_index_refused = 1;
        return;
    }
    uint32_t items = 0;
    if (m_database.rebuild_index(items) != 1) {
        const std::string text = "The index of " + data + " could not be rebuilt: " +
                                 FailureText(m_database) + ". Nothing was changed.";
        ErrorBox(text.c_str(), "Error!");
        m_index_refused = 1;
        return;
    }
    m_index_refused = 0;
    const std::string text = "The index of " + data + " was rebuilt: " + std::to_string(items) +
                             (items == 1 ? " item came back." : " items came back.");
    InformationBox(text.c_str(), "Message");
}

// Forward from the item on show through the live items, once round; the
// item found goes on show and into the history.
int QuoteApp::FindItem(bool ask)
{
    if (ask || m_find_text.empty()) {
        FindDialog dialog(m_find_text, m_find_case);
        dialog.Run();
        if (!dialog.Accepted())
            return 0;
        m_find_text = dialog.Text();
        m_find_case = dialog.MatchCase();
    }
    std::string words;
    if (m_texts.from_wide(m_find_text, words) == StoredText::kNotText)
        return 0;
    ItemWords test(m_texts, m_texts.to_utf8(words), m_find_case);
    const int32_t position = m_current.position();
    const uint32_t after = position >= 0 ? static_cast<uint32_t>(position) : 0xFFFFFFFFu;
    const int64_t found = m_database.find_item(after, test);
    if (found < 0) {
        const std::string text = "\"" + NarrowText(m_find_text) + "\" was not found.";
        InformationBox(text.c_str(), "Find");
        return 0;
    }
    return GotoItem(static_cast<int32_t>(found));
}

void QuoteApp::ShowHelp()
{
    zstring path(kHelpFile);
    ProgramPaths().FileInProgramFolder(path);
    // The help engine's file where it is installed; elsewhere (every
    // system since the engine went) the guide the program carries.
    if (FilePath::FileExists(path.c_str()) && WinHelpA(Handle(), path.c_str(), HELP_CONTENTS, 0))
        return;
    GuideDialog().Run();
}

void QuoteApp::SetUpToolbar(ToolWindow* tool_bar)
{
    if (!tool_bar)
        return;
    int placed = 0;
    if (!m_first_run && m_state_path.length() != 0) {
        std::string text;
        if (LoadStateText(m_state_path, text) && m_tool_bar_state <= text.size()) {
            std::istringstream in(text.substr(m_tool_bar_state));
            placed = tool_bar->ReadPlacement(in);
        }
    }
    HCURSOR cursor = LoadCursorA(ProgramInstance(), ORV_RES_MAIN);
    for (const ToolButtonEntry& button : kToolButtons)
        tool_bar->AddButton(button.bitmap, button.tip, button.command, cursor);
    if (!placed)
        PlaceToolsBeside();
}

void QuoteApp::ShowToolbar(ToolWindow* tool_bar)
{
    if (tool_bar && tool_bar->Handle())
        ShowWindow(tool_bar->Handle(), SW_SHOW);
}

void QuoteApp::HideToolbar(ToolWindow* tool_bar)
{
    if (tool_bar && tool_bar->Handle())
        ShowWindow(tool_bar->Handle(), SW_HIDE);
}

void QuoteApp::Repaint()
{
    if (Handle())
        InvalidateRect(Handle(), nullptr, TRUE);
}
