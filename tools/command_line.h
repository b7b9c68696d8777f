#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

// What one verb of the tool accepts on its command line.
struct VerbSyntax {
    const char* name;
    size_t min_operands;
    size_t max_operands;
    std::vector<std::string> flags;          // "--crlf"
    std::vector<std::string> valued_options; // "--category TEXT" or "--category=TEXT"
};

// The arguments after the verb, split into operands and options. Options
// may stand anywhere; "--" ends them, so an operand may start with "-".
class CommandLine {
public:
    // 1 when the arguments fit the syntax; otherwise 0 and error() says why.
    int parse(const VerbSyntax& syntax, const std::vector<std::string>& arguments);

    const std::vector<std::string>& operands() const { return m_operands; }
    bool has(const std::string& option) const { return m_options.count(option) != 0; }
    // The option's value, or fallback when it was not given.
    std::string value(const std::string& option, const std::string& fallback) const;
    const std::string& error() const { return m_error; }

private:
    int take_option(const VerbSyntax& syntax, const std::vector<std::string>& arguments,
                    size_t& i);

    std::vector<std::string> m_operands;
    std::map<std::string, std::string> m_options;
    std::string m_error;
};
