#pragma once

#include <iosfwd>
#include <memory>
#include <string>
#include <string_view>

#include "base/stored_text.h"

class CommandLine;
class zstring;

// The text options of a command: the code page of the volume's texts
// (--codepage N, Windows-1252 unless given) and what the command writes
// (--encoding utf8, the default: every text as UTF-8; --encoding stored or
// cpN: the stored bytes as they are, N then being the code page).
class ToolText {
public:
    ToolText();

    // 1 when the options make sense; else 0 with the reason on err, for a
    // bad command line.
    int parse(const CommandLine& line, std::ostream& err);

    const StoredText& rule() const { return *m_rule; }
    unsigned code_page() const { return m_page->number(); }
    bool writes_stored_bytes() const { return m_stored_bytes; }

    // A stored text as UTF-8; valid until the next call.
    std::string_view utf8(const char* stored, size_t n) { return m_rule->utf8_view(stored, n, m_buffer); }
    // A stored text as the command writes it; valid until the next call.
    std::string_view output(const zstring& stored);
    // A command-line argument as UTF-8, read by the rule: as UTF-8 when it
    // is, else as bytes of the code page arguments come in (the system's
    // ANSI code page on Windows, the volume's elsewhere).
    std::string argument(const std::string& bytes) const;

private:
    int choose_page(unsigned number, std::ostream& err);

    const CodePage* m_page;
    std::unique_ptr<CodePage> m_owned;
    std::unique_ptr<StoredText> m_rule;
    bool m_stored_bytes;
    std::string m_buffer;
};
