#pragma once

#include "base/zstring.h"

// Whether a text fits the screen in the display font, and re-wrapping it
// to fit. Texts are UTF-8 (ASCII is UTF-8 too): columns count characters,
// and a re-wrap never splits a character's bytes.

// What the screen holds, in pixels; the caller reads them from the system
// and the display font.
struct ScreenSize {
    int screen_width = 0;   // the whole screen
    int screen_height = 0;
    int frame_width = 0;    // the main window's left plus right frame
    int frame_height = 0;   // its top plus bottom frame
    int char_width = 0;     // the font's width, else its average width
    int char_height = 0;    // the font's height, else its text height
};

// The same in characters.
struct TextRoom {
    int columns = 0;         // whole characters across, for TooLarge
    int capped_columns = 0;  // at most 60, for TooWide
    int rows = 0;
    int wrap_width = 40;     // the re-wrap width: capped columns, at least 40
};

TextRoom RoomOnScreen(const ScreenSize& screen);

// 1 when the text has at least rows x columns characters or at least rows
// line feeds, else 0.
int TooLarge(const zstring& text, int columns, int rows);

// 1 when a line of the text runs past the given columns, else 0.
int TooWide(const zstring& text, int columns);

// Re-wraps the text in place to about `width` columns: short lines are
// joined to the next, blank lines kept, long lines broken at their last
// white space (or, in a long word, where they overflow) with CR LF. Only
// spaces, CRs and LFs change. Returns 1.
int ReformatToFit(zstring& text, int width);
