// Turns the text that `clipmint-cli --help` prints into the sections of its manual page, so that
// the page can never say something else than the program does.
//
//   clipmint_help_to_man HELP TEMPLATE OUTPUT
//
// The help text is read in its own layout: a "Usage:" line and its continuations, a paragraph
// of description, a "Commands:" block in which a line indented by two spaces names a command
// (lines indented further than six continue its synopsis) and lines indented by six describe
// it, then paragraphs of notes, each perhaps with indented example lines, and an "Exit status:"
// paragraph. Each marker line of the template (`.\" help: synopsis`, `description`,
// `commands`, `exit status`) is replaced by that part in man format. A help text that does not
// have this layout fails the build rather than giving a page that lacks part of it.

#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <regex>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::string>;

// Which dashes are minus signs: those of options and of commands, so that a copied command
// works, are; a hyphen inside a word is not.
enum class Dashes
{
    Doubled, // "--to" in running text
    All,     // an option, a command line
};

// Text as roff shows it as it is.
std::string escape(const std::string& text, Dashes dashes = Dashes::Doubled)
{
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\')
            out += "\\e";
        else if (text[i] == '-' && dashes == Dashes::All)
            out += "\\-";
        else if (text.compare(i, 2, "--") == 0)
            out += "\\-\\-", ++i;
        else
            out += text[i];
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\''))
        out.insert(0, "\\&");
    return out;
}

std::string bold(const std::string& text)
{
    return "\\fB" + escape(text, Dashes::All) + "\\fR";
}

// A line of running text: options and the program's name in bold.
std::string prose(const std::string& text)
{
    static const std::regex word(R"((^|[\s\[("])(--?[a-z][a-z0-9-]*|clipmint-cli))");
    std::string out;
    std::sregex_iterator match(text.begin(), text.end(), word);
    size_t done = 0;
    for (; match != std::sregex_iterator(); ++match) {
        const size_t start = match->position(2);
        out += escape(text.substr(done, start - done)) + bold(match->str(2));
        done = start + match->length(2);
    }
    return out + escape(text.substr(done));
}

// A synopsis: the command in bold, options in bold, the names of arguments in italics.
std::string synopsis(const std::string& text)
{
    static const std::regex argument("[A-Z][A-Z0-9_]*");
    std::istringstream words(text);
    std::string word;
    std::string out;
    bool first = true;
    while (words >> word) {
        size_t open = word.find_first_not_of('[');
        size_t close = word.find_last_not_of(']') + 1;
        if (open == std::string::npos)
            open = close = 0;
        const std::string core = word.substr(open, close - open);
        std::string shown = escape(core);
        if (first || core.rfind('-', 0) == 0)
            shown = bold(core);
        else if (std::regex_match(core, argument))
            shown = "\\fI" + core + "\\fR";
        out += (first ? "" : " ") + word.substr(0, open) + shown + word.substr(close);
        first = false;
    }
    return out;
}

size_t indentOf(const std::string& line)
{
    const size_t indent = line.find_first_not_of(' ');
    return indent == std::string::npos ? line.size() : indent;
}

std::vector<Lines> paragraphs(std::istream& in)
{
    std::vector<Lines> blocks(1);
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty()) {
            if (!blocks.back().empty())
                blocks.emplace_back();
        } else {
            blocks.back().push_back(line);
        }
    }
    if (blocks.back().empty())
        blocks.pop_back();
    return blocks;
}

std::string usageSection(const Lines& block)
{
    const std::string prefix = "Usage: ";
    if (block.empty() || block[0].rfind(prefix, 0) != 0)
        throw std::runtime_error("the help does not start with \"" + prefix + "\"");
    std::string out;
    for (size_t i = 0; i < block.size(); ++i) {
        const std::string line = i == 0 ? block[i].substr(prefix.size()) : block[i];
        out += (i == 0 ? "" : ".br\n") + synopsis(line) + "\n";
    }
    return out;
}

std::string commandsSection(const Lines& block)
{
    std::string out;
    std::string tag;
    const auto endTag = [&] {
        if (!tag.empty())
            out += ".TP\n" + synopsis(tag) + "\n";
        tag.clear();
    };
    for (size_t i = 1; i < block.size(); ++i) {
        const std::string& line = block[i];
        const size_t indent = indentOf(line);
        if (indent == 2) {
            endTag();
            tag = line.substr(indent);
        } else if (indent > 6 && !tag.empty()) {
            tag += " " + line.substr(indent);
        } else if (indent == 6) {
            endTag();
            out += prose(line.substr(indent)) + "\n";
        } else {
            throw std::runtime_error("a command's line is out of place: " + line);
        }
    }
    endTag();
    return out;
}

std::string notesParagraph(const Lines& block)
{
    std::string out = ".PP\n";
    bool example = false;
    for (const std::string& line : block) {
        const bool indented = indentOf(line) > 0;
        if (indented != example)
            out += indented ? ".PP\n.RS 4\n.nf\n" : ".fi\n.RE\n.PP\n";
        example = indented;
        out += (indented ? escape(line.substr(indentOf(line)), Dashes::All) : prose(line)) + "\n";
    }
    return out + (example ? ".fi\n.RE\n" : "");
}

std::map<std::string, std::string> manSections(std::istream& help)
{
    const std::vector<Lines> blocks = paragraphs(help);
    std::map<std::string, std::string> sections;
    if (!blocks.empty())
        sections["synopsis"] = usageSection(blocks[0]);
    const std::string exitStatus = "Exit status: ";
    for (size_t i = 1; i < blocks.size(); ++i) {
        const Lines& block = blocks[i];
        if (block[0] == "Commands:") {
            sections["commands"] += commandsSection(block);
        } else if (block[0].rfind(exitStatus, 0) == 0) {
            Lines text = block;
            text[0] = text[0].substr(exitStatus.size());
            sections["exit status"] += notesParagraph(text);
        } else if (sections.count("commands") == 0) {
            sections["description"] += notesParagraph(block);
        } else {
            sections["commands"] += notesParagraph(block);
        }
    }
    for (const char* part : {"synopsis", "description", "commands", "exit status"}) {
        if (sections[part].empty())
            throw std::runtime_error(std::string("the help has no ") + part);
    }
    return sections;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 4) {
        std::fputs("usage: clipmint_help_to_man HELP TEMPLATE OUTPUT\n", stderr);
        return 2;
    }
    try {
        std::ifstream help(argv[1]);
        std::ifstream page(argv[2]);
        if (!help || !page)
            throw std::runtime_error("can't read the help or the template");
        const std::map<std::string, std::string> sections = manSections(help);
        std::ostringstream out;
        const std::string marker = ".\\\" help: ";
        std::string line;
        std::string previous;
        while (std::getline(page, line)) {
            if (line.rfind(marker, 0) != 0) {
                out << line << '\n';
                previous = line;
                continue;
            }
            const auto found = sections.find(line.substr(marker.size()));
            if (found == sections.end())
                throw std::runtime_error("the template asks for an unknown part: " + line);
            // A heading already starts a paragraph.
            const std::string& part = found->second;
            const bool heading = previous.rfind(".SH", 0) == 0;
            out << (heading && part.rfind(".PP\n", 0) == 0 ? part.substr(4) : part);
            previous = part;
        }
        std::ofstream written(argv[3]);
        written << out.str();
        if (!written.flush())
            throw std::runtime_error(std::string("can't write ") + argv[3]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "clipmint_help_to_man: %s\n", error.what());
        return 1;
    }
    return 0;
}
