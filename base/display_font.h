#pragma once

#include <windows.h>

#include <iosfwd>
#include <memory>

#include "base/fontz.h"

// A font with the colours to draw it in: selecting it sets the text and
// background colours and a solid background brush as well as the font, and
// releasing it puts the device context back as it was.
class DisplayFont : public Fontz {
public:
    // Black on white until the owner sets the colours.
    DisplayFont();
    explicit DisplayFont(const LOGFONTA* description);
    // The font and colours; never the other's selection.
    DisplayFont(const DisplayFont& other);
    DisplayFont& operator=(const DisplayFont& other);
    using Fontz::operator=;  // a plain font: the colours stay
    virtual ~DisplayFont();

    // While selected, the device context takes the new colours at once.
    void SetColors(COLORREF text, COLORREF background);
    COLORREF TextColor() const { return m_text; }
    COLORREF BackColor() const { return m_back; }

    // 1 with colours, brush and font selected into dc. 0 changes nothing:
    // the font is selected elsewhere or cannot be made.
    int Assert(HDC dc) override;
    // 1 with dc (null: the one selected into) back as it was before. 0
    // when dc is another context, or when the colours were changed in
    // between: ours are set again and everything stays selected.
    int Remove(HDC dc) override;
    // Two colour lines (unsigned decimal), then the font's stream form.
    // A damaged form fails the stream and changes neither font nor colours.
    std::istream& read(std::istream& is) override;
    std::ostream& write(std::ostream& os) const override;

private:
    // The background brush while the font is selected.
    struct BrushRecord {
        HDC dc;             // not owned
        COLORREF color;
        LONG hatch;
        UINT style;
        HBRUSH brush;       // owned
        HGDIOBJ previous;   // what dc held before the brush
    };

    int SelectBrush(HDC dc);
    int ReplaceBrush();
    void ReleaseBrush();
    int PutColorsBack(HDC dc);

    std::unique_ptr<BrushRecord> m_brush;  // exists exactly while selected
    COLORREF m_text;
    COLORREF m_back;
    COLORREF m_previous_text;
    COLORREF m_previous_back;
};
