#pragma once

#include <windows.h>

#include <iosfwd>

#include "base/display_font.h"
#include "base/zstring.h"

// A drawable text: the text with its font, colours and DrawTextExA layout
// (format flags, tab length and margins), measured and drawn into any
// device context.
class TextBlock {
    // Each operation that takes a device context selects the font with its
    // colours into it first and puts the context back as it was at the end.
    // The text is copied into a scratch buffer sized from its length for
    // every call, so the platform may rewrite it (DT_MODIFYSTRING) safely.
public:
    // Black Arial on white, weight 400, character set 1; flags 0, tab
    // length 0, no margins.
    TextBlock();
    explicit TextBlock(const char* text);

    // The virtual operations keep a fixed slot order.
    virtual ~TextBlock();
    // Measure within the client area of the message-box owner window.
    virtual int MeasureInOwner(HDC dc, SIZE& size);
    // Draws the text into a copy of rect with the flags; returns 0.
    virtual int Draw(HDC dc, const RECT& rect);
    // Not used by the program; returns 0.
    virtual int Spare();
    // The text in its length-prefixed form on one line, then the font with
    // its colours (the two colour lines and the font's lines).
    virtual std::ostream& write(std::ostream& os) const;
    // A damaged or truncated form fails the stream and changes nothing.
    virtual std::istream& read(std::istream& is);
    // The size the text takes within rect with the flags plus DT_CALCRECT:
    // the width of the rectangle the platform gives back and the larger of
    // its height and the height returned. 1 when that height is not 0.
    virtual int Measure(HDC dc, SIZE& size, const RECT& rect);
    // The parameter record for DrawTextExA: size, tab length, margins and
    // 0 characters drawn.
    virtual void FillParams(DRAWTEXTPARAMS& params);

    zstring& Text() { return m_text; }
    const zstring& Text() const { return m_text; }
    DisplayFont& Font() { return m_font; }
    const DisplayFont& Font() const { return m_font; }

    UINT Flags() const { return m_flags; }
    void SetFlags(UINT flags) { m_flags = flags; }
    int TabLength() const { return m_tab_length; }
    void SetTabLength(int length) { m_tab_length = length; }
    int LeftMargin() const { return m_left_margin; }
    int RightMargin() const { return m_right_margin; }
    void SetMargins(int left, int right);

private:
    // DrawTextExA on a copy of the text with extra bytes of room; the
    // returned height, 0 when the copy cannot be made.
    int DrawCopy(HDC dc, RECT& rect, UINT flags, unsigned room);

    zstring m_text;
    DisplayFont m_font;
    UINT m_flags;
    int m_tab_length;
    int m_left_margin;
    int m_right_margin;
};
