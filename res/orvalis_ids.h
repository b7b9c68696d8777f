#ifndef ORVALIS_RES_ORVALIS_IDS_H
#define ORVALIS_RES_ORVALIS_IDS_H

// Identifiers of the program's menu, keys, tool window, dialogs and icons.
// Plain preprocessor macros only: res/orvalis.rc includes this header as
// well as the C++ code. The framework's own ids are in res/resource_ids.h.

// ---------------------------------------------------------------------------
// Commands of the main window (menu "KV_SHARE", keys, tool window buttons)

// Object menu
#define ORV_CMD_NEXT_QUOTE 109   // Ne&xt Quote; Right, Page Down, Space; tool button
#define ORV_CMD_PREV_QUOTE 110   // Pre&v Quote; Left, Page Up; tool button
#define ORV_CMD_GOTO_QUOTE 113   // Got&o Quote
#define ORV_CMD_COPY 112         // &Quote > &Copy; Ctrl+C
#define ORV_CMD_PASTE 101        // &Quote > &Paste; Ctrl+V
#define ORV_CMD_CUT 102          // &Quote > Cu&t; Ctrl+X
#define ORV_CMD_ALARMS 111       // &Alarms; tool button "Schedule Event"
#define ORV_CMD_PACK_VOLUME 114  // Pac&k Volume
#define ORV_CMD_FIND 115         // &Find...; Ctrl+F
#define ORV_CMD_FIND_AGAIN 116   // Find &Again; F3

// Help menu
#define ORV_CMD_HELP 107   // &Help; F1
#define ORV_CMD_ABOUT 108  // &About

// Sent by the tool button "Keldovane Web-Page" only.
#define ORV_CMD_WEB_PAGE 40027

// Item commands that the command handler also accepts; no menu entry or
// button sends them.
#define ORV_CMD_EDIT_ITEM 50100
#define ORV_CMD_CUT_ITEM 50300
#define ORV_CMD_COPY_ITEM 50400
#define ORV_CMD_PASTE_ITEM 50500

// ---------------------------------------------------------------------------
// Dialog controls. OK and Cancel are IDOK (1) and IDCANCEL (2) in every
// dialog; the About box "KV_SHARE" has only OK.

// Entry Editor, template "EDIT"
#define ORV_EDIT_CATEGORY 101
#define ORV_EDIT_TEXT 105
#define ORV_EDIT_HELP 9

// Find, template "FIND"
#define ORV_FIND_TEXT 101
#define ORV_FIND_MATCH_CASE 102

// The user's guide, template "USERS_GUIDE"
#define ORV_GUIDE_TEXT 101

// Quote Lookup, template "GET_FIELD"
#define ORV_LOOKUP_NUMBER 101

// Schedule Alarm Event, template "ALARM_SETUP"
#define ORV_ALARM_TIME 101
#define ORV_ALARM_MESSAGE 105
#define ORV_ALARM_NORMAL 103  // sound radio buttons, in sound choice order 1..5, then 0
#define ORV_ALARM_WARN 104
#define ORV_ALARM_HOT 106
#define ORV_ALARM_PANIC 107
#define ORV_ALARM_RANDOM 108
#define ORV_ALARM_NONE 109
#define ORV_ALARM_EXECUTE 113
#define ORV_ALARM_HELP 9

// ---------------------------------------------------------------------------
// Icons

// The document icon's group has this number, the program icon the name
// "KV_SHARE". A module's resource directory lists named entries before
// numbered ones, so the document icon is always icon index 1 of the program
// file, the index its file type registration names.
#define ORV_ICON_DOCUMENT 2
#define ORV_DOCUMENT_ICON_INDEX 1

// ---------------------------------------------------------------------------
// Resource names, for the code (the script spells them out)

#define ORV_RES_MAIN "KV_SHARE"  // menu, keys, program icon, cursor, About box, class name
#define ORV_DLG_ENTRY_EDITOR "EDIT"
#define ORV_DLG_QUOTE_LOOKUP "GET_FIELD"
#define ORV_DLG_ALARM_SETUP "ALARM_SETUP"
#define ORV_BMP_PREV_QUOTE "IDR_OPEN"
#define ORV_BMP_NEXT_QUOTE "IDR_CLOSE"
#define ORV_BMP_SCHEDULE "IDR_PRINT"
#define ORV_BMP_WEB_PAGE "IDR_WEBPAGE"
#define ORV_BMP_SCHEDULE_SET "IDR_ALARM_SET"  // the Schedule Event button while an alarm is set
#define ORV_DLG_USERS_GUIDE "USERS_GUIDE"     // Help where no help file is installed
#define ORV_DLG_FIND "FIND"
#define ORV_RES_USERS_GUIDE "USERS_GUIDE_TEXT"  // its text, docs/users-guide.txt

// ---------------------------------------------------------------------------
// The product's web page, opened by ORV_CMD_WEB_PAGE and shown in the About
// box.
#define ORV_WEB_PAGE_URL "https://www.example.com/orvalis/"

#endif
