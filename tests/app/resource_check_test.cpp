// The resources compiled into Orvalis.exe, read from the program file as
// data, against the ids the code uses and the texts the user is meant to
// see: the menu and its keys, the dialogs, the pictures and the guide.
#include <windows.h>

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "program_driver.h"
#include "res/orvalis_ids.h"

namespace {

// The menu as "popup/item" paths with their ids: -1 for a popup, 0 for a
// separator (whose path ends with the slash).
using MenuLines = std::vector<std::pair<std::string, int>>;

const MenuLines kMenu = {
    {"&Object", -1},
    {"&Object/Ne&xt Quote\tRight", ORV_CMD_NEXT_QUOTE},
    {"&Object/Pre&v Quote\tLeft", ORV_CMD_PREV_QUOTE},
    {"&Object/Got&o Quote", ORV_CMD_GOTO_QUOTE},
    {"&Object/&Find...\tCtrl+F", ORV_CMD_FIND},
    {"&Object/Find &Again\tF3", ORV_CMD_FIND_AGAIN},
    {"&Object/&Quote", -1},
    {"&Object/&Quote/&Copy\tCtrl+C", ORV_CMD_COPY},
    {"&Object/&Quote/&Paste\tCtrl+V", ORV_CMD_PASTE},
    {"&Object/&Quote/", 0},
    {"&Object/&Quote/Cu&t\tCtrl+X", ORV_CMD_CUT},
    {"&Object/", 0},
    {"&Object/&Alarms", ORV_CMD_ALARMS},
    {"&Object/", 0},
    {"&Object/Pac&k Volume", ORV_CMD_PACK_VOLUME},
    {"&Help", -1},
    {"&Help/&Help\tF1", ORV_CMD_HELP},
    {"&Help/&About", ORV_CMD_ABOUT},
};

struct Key {
    const char* name;  // as the menu shows it after the tab
    BYTE flags;
    WORD key;
    WORD command;
};

const Key kKeys[] = {
    {"Right", FVIRTKEY, VK_RIGHT, ORV_CMD_NEXT_QUOTE},
    {"Page Down", FVIRTKEY, VK_NEXT, ORV_CMD_NEXT_QUOTE},
    {"Space", FVIRTKEY, VK_SPACE, ORV_CMD_NEXT_QUOTE},
    {"Left", FVIRTKEY, VK_LEFT, ORV_CMD_PREV_QUOTE},
    {"Page Up", FVIRTKEY, VK_PRIOR, ORV_CMD_PREV_QUOTE},
    {"Ctrl+C", FVIRTKEY | FCONTROL, 'C', ORV_CMD_COPY},
    {"Ctrl+X", FVIRTKEY | FCONTROL, 'X', ORV_CMD_CUT},
    {"Ctrl+V", FVIRTKEY | FCONTROL, 'V', ORV_CMD_PASTE},
    {"F1", FVIRTKEY, VK_F1, ORV_CMD_HELP},
    {"Ctrl+F", FVIRTKEY | FCONTROL, 'F', ORV_CMD_FIND},
    {"F3", FVIRTKEY, VK_F3, ORV_CMD_FIND_AGAIN},
};

struct Control {
    int id;
    const char* kind;  // the window class
    const char* text;
    DWORD mask;  // style bits the code relies on, and their values
    DWORD style;
};

const DWORD kButtonType = BS_TYPEMASK;
const DWORD kLines = ES_MULTILINE | ES_WANTRETURN;

struct DialogTemplate {
    const char* name;
    const char* caption;
    std::vector<Control> controls;  // every id the code asks for
    std::vector<std::string> labels;
};

const DialogTemplate kDialogs[] = {
    {ORV_DLG_ENTRY_EDITOR, "Entry Editor",
     {{IDOK, "Button", "OK", kButtonType, BS_DEFPUSHBUTTON},
      {IDCANCEL, "Button", "Cancel", kButtonType, BS_PUSHBUTTON},
      {ORV_EDIT_HELP, "Button", "Help", kButtonType, BS_PUSHBUTTON},
      {ORV_EDIT_CATEGORY, "Edit", "", kLines, 0},
      {ORV_EDIT_TEXT, "Edit", "", kLines, kLines}},
     {"Category:"}},
    {ORV_DLG_QUOTE_LOOKUP, "Quote Lookup",
     {{IDOK, "Button", "OK", kButtonType, BS_DEFPUSHBUTTON},
      {IDCANCEL, "Button", "Cancel", kButtonType, BS_PUSHBUTTON},
      {ORV_LOOKUP_NUMBER, "Edit", "", kLines | WS_TABSTOP, WS_TABSTOP}},
     {"Quote Number:"}},
    {ORV_DLG_ALARM_SETUP, "Schedule Alarm Event",
     {{IDOK, "Button", "OK", kButtonType, BS_DEFPUSHBUTTON},
      {IDCANCEL, "Button", "Cancel", kButtonType, BS_PUSHBUTTON},
      {ORV_ALARM_HELP, "Button", "Help", kButtonType, BS_PUSHBUTTON},
      {ORV_ALARM_TIME, "Edit", "", kLines, 0},
      {ORV_ALARM_MESSAGE, "Edit", "", kLines, kLines},
      // The sound buttons form one group, which the first one starts.
      {ORV_ALARM_NORMAL, "Button", "Normal", kButtonType | WS_GROUP, BS_AUTORADIOBUTTON | WS_GROUP},
      {ORV_ALARM_WARN, "Button", "Warn", kButtonType | WS_GROUP, BS_AUTORADIOBUTTON},
      {ORV_ALARM_HOT, "Button", "Hot", kButtonType | WS_GROUP, BS_AUTORADIOBUTTON},
      {ORV_ALARM_PANIC, "Button", "Panic", kButtonType | WS_GROUP, BS_AUTORADIOBUTTON},
      {ORV_ALARM_RANDOM, "Button", "Random", kButtonType | WS_GROUP, BS_AUTORADIOBUTTON},
      {ORV_ALARM_NONE, "Button", "None", kButtonType | WS_GROUP, BS_AUTORADIOBUTTON},
      {ORV_ALARM_EXECUTE, "Button", "Execute", kButtonType, BS_AUTOCHECKBOX}},
     {"Sound", "Time:"}},
    {ORV_DLG_FIND, "Find",
     {{IDOK, "Button", "Find &Next", kButtonType, BS_DEFPUSHBUTTON},
      {IDCANCEL, "Button", "Cancel", kButtonType, BS_PUSHBUTTON},
      {ORV_FIND_TEXT, "Edit", "", kLines, 0},
      {ORV_FIND_MATCH_CASE, "Button", "Match &case", kButtonType, BS_AUTOCHECKBOX}},
     {"Find &what:"}},
    {ORV_DLG_USERS_GUIDE, "Orvalis Help",
     {{IDOK, "Button", "Close", kButtonType, BS_DEFPUSHBUTTON},
      {ORV_GUIDE_TEXT, "Edit", "", ES_MULTILINE | ES_READONLY, ES_MULTILINE | ES_READONLY}},
     {}},
    {ORV_RES_MAIN, "Dialog",
     {{IDOK, "Button", "OK", kButtonType, BS_DEFPUSHBUTTON}},
     {"Orvalis", "Lite Version 3.2", ORV_WEB_PAGE_URL}},
};

struct Picture {
    const char* name;
    const char* type;
    int size;  // a bitmap's width and height; 0 for other types
};

const Picture kPictures[] = {
    {ORV_BMP_PREV_QUOTE, RT_BITMAP, 24},
    {ORV_BMP_NEXT_QUOTE, RT_BITMAP, 24},
    {ORV_BMP_SCHEDULE, RT_BITMAP, 24},
    {ORV_BMP_WEB_PAGE, RT_BITMAP, 24},
    {ORV_BMP_SCHEDULE_SET, RT_BITMAP, 24},
    {ORV_RES_USERS_GUIDE, RT_RCDATA, 0},
    {ORV_RES_MAIN, RT_GROUP_ICON, 0},
    {MAKEINTRESOURCEA(ORV_ICON_DOCUMENT), RT_GROUP_ICON, 0},
    {ORV_RES_MAIN, RT_GROUP_CURSOR, 0},
};

void ReadMenu(HMENU menu, const std::string& path, MenuLines& lines)
{
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        char text[128] = "";
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        HMENU popup = GetSubMenu(menu, i);
        lines.emplace_back(path + text, popup ? -1 : static_cast<int>(GetMenuItemID(menu, i)));
        if (popup)
            ReadMenu(popup, path + text + "/", lines);
    }
}

INT_PTR CALLBACK Untouched(HWND, UINT message, WPARAM, LPARAM)
{
    return message == WM_INITDIALOG;
}

std::string ClassOf(HWND window)
{
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    return name;
}

TEST(ProgramResources, MenuKeysDialogsAndPicturesMatchTheIdsAndTextsTheCodeUses)
{
    HMODULE module = LoadLibraryExA(ProgramFile().c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module) << ProgramFile();

    HMENU menu = LoadMenuA(module, ORV_RES_MAIN);
    ASSERT_TRUE(menu);
    MenuLines lines;
    ReadMenu(menu, "", lines);
    DestroyMenu(menu);
    EXPECT_EQ(kMenu, lines);

    HACCEL table = LoadAcceleratorsA(module, ORV_RES_MAIN);
    ASSERT_TRUE(table);
    std::vector<ACCEL> keys(static_cast<size_t>(CopyAcceleratorTableA(table, nullptr, 0)));
    CopyAcceleratorTableA(table, keys.data(), static_cast<int>(keys.size()));
    DestroyAcceleratorTable(table);
    ASSERT_EQ(sizeof kKeys / sizeof kKeys[0], keys.size());
    for (size_t i = 0; i < keys.size(); ++i) {
        SCOPED_TRACE(kKeys[i].name);
        EXPECT_EQ(kKeys[i].flags, keys[i].fVirt & 0x7F);  // 0x80 marks the table's end
        EXPECT_EQ(kKeys[i].key, keys[i].key);
        EXPECT_EQ(kKeys[i].command, keys[i].cmd);
    }
    // A key the menu names is a key of the table, for that command.
    for (const auto& line : lines) {
        const size_t tab = line.first.find('\t');
        if (tab == std::string::npos)
            continue;
        const std::string name = line.first.substr(tab + 1);
        bool found = false;
        for (const Key& key : kKeys)
            found = found || (name == key.name && key.command == line.second);
        EXPECT_TRUE(found) << line.first;
    }

    for (const DialogTemplate& expected : kDialogs) {
        SCOPED_TRACE(expected.name);
        HWND dialog = CreateDialogParamA(module, expected.name, nullptr, Untouched, 0);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(expected.caption, WindowText(dialog));
        for (const Control& control : expected.controls) {
            SCOPED_TRACE(control.id);
            HWND window = GetDlgItem(dialog, control.id);
            ASSERT_TRUE(window);
            EXPECT_EQ(0, lstrcmpiA(control.kind, ClassOf(window).c_str())) << ClassOf(window);
            EXPECT_EQ(control.text, WindowText(window));
            EXPECT_EQ(control.style, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)) &
                                         control.mask);
        }
        const std::vector<std::string> texts = ChildTexts(dialog);
        for (const std::string& label : expected.labels)
            EXPECT_NE(texts.end(), std::find(texts.begin(), texts.end(), label)) << label;
        DestroyWindow(dialog);
    }

    for (const Picture& picture : kPictures) {
        SCOPED_TRACE(IS_INTRESOURCE(picture.name) ? "icon 2" : picture.name);
        EXPECT_TRUE(FindResourceA(module, picture.name, picture.type));
        if (!picture.size)
            continue;
        HBITMAP bitmap = static_cast<HBITMAP>(
            LoadImageA(module, picture.name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
        ASSERT_TRUE(bitmap);
        BITMAP shape = {};
        GetObjectA(bitmap, sizeof shape, &shape);
        EXPECT_EQ(picture.size, shape.bmWidth);
        EXPECT_EQ(picture.size, shape.bmHeight);
        DeleteObject(bitmap);
    }
    FreeLibrary(module);
}

}  // namespace
