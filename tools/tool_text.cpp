#include "tools/tool_text.h"

#include <cstring>
#include <ostream>

#include "base/zstring.h"
#include "tools/command_line.h"

namespace {

const unsigned kDefaultPage = 1252;

// A code page number: decimal, 1 to 65535.
bool parse_page(const std::string& text, unsigned& number)
{
    if (text.empty() || text.size() > 5 || text.find_first_not_of("0123456789") != std::string::npos)
        return false;
    number = static_cast<unsigned>(std::stoul(text));
    return number > 0 && number <= 0xFFFF;
}

std::string lower(std::string text)
{
    for (char& c : text)
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c;
    return text;
}

}  // namespace

ToolText::ToolText()
    : m_page(&windows_1252_page()), m_rule(new StoredText(*m_page)), m_stored_bytes(false)
{
}

int ToolText::choose_page(unsigned number, std::ostream& err)
{
    m_page = built_in_code_page(number);
#ifdef _WIN32
    if (!m_page) {
        m_owned = windows_code_page(number);
        m_page = m_owned.get();
    }
#endif
    if (!m_page) {
        err << "orvvol: code page " << number << " is not known here\n";
        return 0;
    }
    m_rule.reset(new StoredText(*m_page));
    return 1;
}

int ToolText::parse(const CommandLine& line, std::ostream& err)
{
    const bool page_given = line.has("--codepage");
    unsigned page = kDefaultPage;
    if (page_given && !parse_page(line.value("--codepage", ""), page)) {
        err << "orvvol: --codepage takes a code page number, such as 1252, not \""
            << line.value("--codepage", "") << "\"\n";
        return 0;
    }
    const std::string encoding = lower(line.value("--encoding", "utf8"));
    if (encoding == "stored") {
        m_stored_bytes = true;
    } else if (encoding.compare(0, 2, "cp") == 0) {
        unsigned named = 0;
        if (!parse_page(encoding.substr(2), named)) {
            err << "orvvol: --encoding cpN takes a code page number, such as cp1252\n";
            return 0;
        }
        if (page_given && named != page) {
            err << "orvvol: --encoding " << encoding << " and --codepage " << page
                << " name different code pages\n";
            return 0;
        }
        page = named;
        m_stored_bytes = true;
    } else if (encoding != "utf8" && encoding != "utf-8") {
        err << "orvvol: unknown encoding \"" << line.value("--encoding", "")
            << "\" (utf8, stored or cpN)\n";
        return 0;
    }
    return choose_page(page, err);
}

std::string_view ToolText::output(const zstring& stored)
{
    const char* text = stored.c_str();
    const size_t n = std::strlen(text);
    return m_stored_bytes ? std::string_view(text, n) : utf8(text, n);
}

std::string ToolText::argument(const std::string& bytes) const
{
#ifdef _WIN32
    // The C runtime hands the arguments over in the ANSI code page.
    if (const std::unique_ptr<CodePage> ansi = windows_code_page(0))
        return StoredText(*ansi).to_utf8(bytes);
#endif
    return m_rule->to_utf8(bytes);
}
