#include "tools/command_line.h"

#include <algorithm>

namespace {

bool contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}

}  // namespace

int CommandLine::parse(const VerbSyntax& syntax, const std::vector<std::string>& arguments)
{
    bool options_ended = false;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!options_ended && argument == "--") {
            options_ended = true;
        } else if (!options_ended && argument.size() > 1 && argument[0] == '-') {
            if (!take_option(syntax, arguments, i))
                return 0;
        } else {
            m_operands.push_back(argument);
        }
    }
    if (m_operands.size() < syntax.min_operands) {
        m_error = std::string(syntax.name) + ": missing " +
                  (m_operands.empty() ? "the volume name" : "an operand");
        return 0;
    }
    if (m_operands.size() > syntax.max_operands) {
        m_error = std::string(syntax.name) + ": unexpected operand \"" +
                  m_operands[syntax.max_operands] + "\"";
        return 0;
    }
    return 1;
}

int CommandLine::take_option(const VerbSyntax& syntax, const std::vector<std::string>& arguments,
                             size_t& i)
{
    const std::string& argument = arguments[i];
    const size_t equals = argument.find('=');
    const std::string name = argument.substr(0, equals);
    if (contains(syntax.flags, name) && equals == std::string::npos) {
        m_options[name];
        return 1;
    }
    if (!contains(syntax.valued_options, name)) {
        m_error = std::string(syntax.name) + ": unknown option " + argument;
        return 0;
    }
    if (equals != std::string::npos) {
        m_options[name] = argument.substr(equals + 1);
        return 1;
    }
    if (i + 1 >= arguments.size()) {
        m_error = std::string(syntax.name) + ": " + name + " needs a value";
        return 0;
    }
    m_options[name] = arguments[++i];
    return 1;
}

std::string CommandLine::value(const std::string& option, const std::string& fallback) const
{
    const auto found = m_options.find(option);
    return found == m_options.end() ? fallback : found->second;
}
