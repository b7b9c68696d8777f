#pragma once

#include <windows.h>

#include <iosfwd>
#include <memory>

#include "base/orv_export.h"

// One GDI font that can be described, stored, measured and selected into a
// device context without leaking GDI objects: it holds either a live handle
// or a saved LOGFONTA, and moves between the two as it is selected (Assert)
// and taken out again (Remove).
class ORV_EXPORT Fontz {
public:
    // Weight 400, character set 1, everything else 0, no face name.
    Fontz();
    // Wraps an existing handle; it is owned (deleted) unless CanDelete(0).
    explicit Fontz(HFONT font);
    // The eight small values begin with the pitch and family here.
    Fontz(const char* face, int height, int width, int escapement, int orientation, int weight,
          unsigned short pitchAndFamily, unsigned short italic, unsigned short underline,
          unsigned short strikeOut, unsigned short charSet, unsigned short outPrecision,
          unsigned short clipPrecision, unsigned short quality);
    // The platform's order: CreateFontA's arguments with the face last.
    Fontz(int height, int width, int escapement, int orientation, int weight,
          unsigned short italic, unsigned short underline, unsigned short strikeOut,
          unsigned short charSet, unsigned short outPrecision, unsigned short clipPrecision,
          unsigned short quality, unsigned short pitchAndFamily, const char* face);
    explicit Fontz(const LOGFONTA* description);
    // A new font of the same description, selected nowhere.
    Fontz(const Fontz& other);
    // Not virtual: the exported layout has only the four slots below.
    ~Fontz();

    // Takes the other's description; while selected, the device context
    // is given the new font at once.
    Fontz& operator=(const Fontz& other);

    // Two names of one operation: whether this object deletes its handle.
    void CanDelete(int owns);
    void ShouldDelete(int owns);

    // The live handle; null while only the description exists.
    operator HFONT() const { return m_font; }
    // 1 with the description copied out; 0 leaves it untouched.
    int GetObj(LOGFONTA& description) const;
    // The text metrics of this font; 0 (metrics zeroed) on failure.
    int GetMetrics(TEXTMETRICA& metrics);
    // The described height or width, measured from the font when it is 0.
    int Height();
    int Width();
    // Change one value and replace the font, in place while selected.
    int Height(int height);
    int Width(int width);

    // Selects the font into dc; 0 when it is already selected somewhere
    // or no font can be made.
    virtual int Assert(HDC dc);
    // Puts dc's previous font back and keeps only the description; a null
    // dc means the one the font is in. 0 when dc is another context or the
    // font is selected nowhere.
    virtual int Remove(HDC dc);
    // Fourteen lines (see fontz.cpp), the numbers read as atoi reads them.
    // A form cut short fails the stream and leaves the font as it was.
    virtual std::istream& read(std::istream& is);
    virtual std::ostream& write(std::ostream& os) const;

protected:
    // One line holding a decimal number in [low, high], for the stream
    // forms of this class and its derived classes; 0 fails the stream.
    static int _read_number(std::istream& is, long long low, long long high, long long& value);

private:
    void _init();
    // Release the GDI side, keeping the description.
    int RmGDI();
    // Replace the font by description, re-selecting it where it was.
    int CreateHotFont(const LOGFONTA* description);
    int _panic_cleanup();
    int SaveDescription();
    void DropDescription();
    int Measure(HDC dc, TEXTMETRICA& metrics) const;

    std::unique_ptr<LOGFONTA> m_saved;  // kept while there is no live handle
    HFONT m_font;           // the live handle
    HGDIOBJ m_previous;     // what m_dc held before this font
    int m_owns;             // 1: this object deletes m_font
    HDC m_dc;               // not owned; where the font is selected
};
