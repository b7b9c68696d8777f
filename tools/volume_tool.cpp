#include "tools/volume_tool.h"

#include <iostream>

#include "tools/command_line.h"
#include "tools/import_command.h"
#include "tools/progress_bar.h"
#include "tools/reading_commands.h"
#include "tools/repair_commands.h"
#include "tools/search_command.h"
#include "tools/tool_volume.h"

namespace {

const size_t kAny = static_cast<size_t>(-1);

struct Verb {
    VerbSyntax syntax;
    int (*run)(const CommandLine& line, ToolStreams& io);
};

const std::vector<Verb>& verbs()
{
    static const std::vector<Verb> table = {
        {{"import", 2, kAny, {}, {"--category", "--codepage"}}, run_import},
        {{"export", 1, 2, {"--crlf", "--no-final-delimiter"}, {"--codepage", "--encoding"}},
         run_export},
        {{"count", 1, 1, {}, {}}, run_count},
        {{"show", 2, 2, {"--crlf"}, {"--codepage", "--encoding"}}, run_show},
        {{"random", 1, 1, {"--crlf"}, {"--codepage", "--encoding"}}, run_random},
        {{"search", 2, 2, {"--regex", "--count", "--crlf", "--no-final-delimiter"},
          {"--codepage", "--encoding"}},
         run_search},
        {{"check", 1, 1, {}, {}}, run_check},
        {{"recover", 1, 1, {}, {}}, run_recover},
        {{"pack", 1, 1, {}, {}}, run_pack},
    };
    return table;
}

const char kHelp[] =
    "Usage: orvvol COMMAND VOLUME [ARGUMENTS]\n"
    "Works on an Orvalis quote volume: its data file VOLUME (e.g. Volume01.STD) and\n"
    "its index file (the same name up to the last dot, then .idx).\n"
    "\n"
    "  import VOLUME FILE... [--category TEXT] [--codepage N]\n"
    "      Appends every entry of the fortune-form text files (entries separated by\n"
    "      lines holding only \"%\") as items, in order, with the category TEXT\n"
    "      (default <NONE>). Creates the volume when it does not exist. Empty entries\n"
    "      are skipped. Either all entries are added or none is. A file that is\n"
    "      valid UTF-8 is read as UTF-8 (a byte-order mark is skipped); any other\n"
    "      file holds bytes of the code page.\n"
    "  export VOLUME [FILE] [--crlf] [--no-final-delimiter] [TEXT OPTIONS]\n"
    "      Writes every live item's text, each followed by a \"%\" line, to FILE or\n"
    "      standard output, with LF line ends (CR LF with --crlf). Deleted, erased\n"
    "      and unreadable entries are left out. --no-final-delimiter leaves the \"%\"\n"
    "      line after the last entry off.\n"
    "  count VOLUME          The number of entries of the index.\n"
    "  show VOLUME N [--crlf] [TEXT OPTIONS]\n"
    "                        The text of item N (numbered from 0).\n"
    "  random VOLUME [--crlf] [TEXT OPTIONS]\n"
    "                        The text of a live item picked at random.\n"
    "  search VOLUME TEXT [--regex] [--count] [--crlf] [--no-final-delimiter]\n"
    "         [TEXT OPTIONS]\n"
    "      Writes every live item whose text holds TEXT, without regard to case\n"
    "      (ASCII, Latin, Greek and Cyrillic letters), as export writes items.\n"
    "      --regex takes TEXT as an ECMAScript regular expression; --count writes\n"
    "      only the number of items found.\n"
    "  check VOLUME          Checks the header, the index and every record it\n"
    "                        reaches, and reports the dead space pack would free.\n"
    "  recover VOLUME        Rebuilds the index from a scan of the data file into a\n"
    "                        new pair beside it, VOLUME.rec.STD and VOLUME.rec.idx;\n"
    "                        the volume itself is only read. Damaged stretches are\n"
    "                        skipped and reported. A deleted item stays deleted (its\n"
    "                        tombstone takes its place). What a scan cannot know:\n"
    "                        which of two versions of an edited item is current\n"
    "                        (every version becomes an item), and which entries\n"
    "                        were erased (their records come back as items).\n"
    "  pack VOLUME           Rewrites the volume with its live items only; the\n"
    "                        volume as it was becomes VOLUME.bak.STD.\n"
    "  help, --help          This text.\n"
    "\n"
    "Text options: --codepage N, the code page of the volume's texts (default 1252,\n"
    "Windows-1252; 28591 is ISO-8859-1, and on Windows any code page of one or two\n"
    "bytes a character). A text is stored in the code page when all its characters\n"
    "are there, else as UTF-8; a stored text that is valid UTF-8 with a byte of\n"
    "0x80 or above is read as UTF-8, any other as the code page. --encoding utf8\n"
    "(the default) writes texts as UTF-8; --encoding stored, or cpN, writes the\n"
    "stored bytes as they are (cpN also sets the code page to N).\n"
    "\n"
    "Only import, recover and pack write files; the other commands never create or\n"
    "change one.\n"
    "\n"
    "Exit status: 0 success; 1 the operation failed (missing or unreadable file,\n"
    "foreign format, write failed, no such item); 2 bad command line; 3 check\n"
    "found problems.\n";

int bad_command(std::ostream& err, const std::string& why)
{
    err << "orvvol: " << why << "\nTry 'orvvol --help'.\n";
    return kToolBadCommand;
}

}  // namespace

int run_volume_tool(const std::vector<std::string>& args, std::ostream& out, std::ostream& err)
{
    if (args.empty())
        return bad_command(err, "no command given");
    if (args[0] == "help" || args[0] == "--help" || args[0] == "-h") {
        out << kHelp;
        return kToolDone;
    }
    for (const Verb& verb : verbs()) {
        if (args[0] != verb.syntax.name)
            continue;
        CommandLine line;
        if (!line.parse(verb.syntax, std::vector<std::string>(args.begin() + 1, args.end())))
            return bad_command(err, line.error());
        ToolStreams io{out, err, &err == &std::cerr && standard_error_is_terminal()};
        return verb.run(line, io);
    }
    return bad_command(err, "unknown command \"" + args[0] + "\"");
}
