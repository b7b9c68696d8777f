#pragma once

#include <windows.h>

#include <cstdint>

#include "base/zstring.h"
#include "frame/base_window.h"
#include "frame/text_block.h"

// The small top-most notice in which a fired alarm shows its message: a
// framed box with a standard icon and the word-wrapped text, captioned with
// the event time. It runs modally; a press of either mouse button in it, or
// closing it, ends it.
class PromptWindow : public BaseWindow {
public:
    // The one kind there is: the plain prompt.
    static constexpr uint32_t kPlainPrompt = 0;
    // Word break, expand tabs, edit control, end ellipsis and modify string
    // (106576, 0x1A050).
    static constexpr UINT kTextFlags =
        DT_WORDBREAK | DT_EXPANDTABS | DT_EDITCONTROL | DT_END_ELLIPSIS | DT_MODIFYSTRING;

    PromptWindow();
    ~PromptWindow() override;

    int IsDone() override;

    // Takes over the icon, caption, text and drawing flags and runs the
    // window until it is done; the done flag afterwards. Any kind but the
    // plain prompt shows "Type not supported" instead and nothing else.
    virtual uint32_t Show(const TextBlock& text, const char* caption, uint32_t icon_id,
                          uint32_t kind);

    const TextBlock& Text() const { return m_text; }
    const zstring& Caption() const { return m_caption; }
    uint32_t IconId() const { return m_icon_id; }
    uint32_t Kind() const { return m_kind; }

protected:
    void FillCreation(WindowSpec& fields) override;
    void OnCreated(WindowEvent& event) override;
    void OnDestroyed(WindowEvent& event) override;
    void OnPaint(PaintRecord& paint) override;
    void OnMouseButton(ButtonRecord& button) override;

private:
    // The text's size when wrapped within three fifths of the screen.
    SIZE MeasureText(HDC dc);

    TextBlock m_text;
    uint32_t m_done;
    uint32_t m_kind;
    zstring m_caption;
    uint32_t m_icon_id;
};
