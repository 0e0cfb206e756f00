// mdman: makes a manual page and a --help text from one Markdown page, so that
// the page, the manual and the program's help never tell different stories.
//
//   mdman man  PAGE.md OUT.1 NAME SECTION SUMMARY FOOTER DATE
//   mdman help PAGE.md OUT.h VARIABLE SECTION...
//
// The page is the plain Markdown these documents use: "#" title, "##" and "###"
// headings, paragraphs, "* " or "- " lists, fenced or indented code, tables,
// `code`, **bold**, *emphasis* and [links](target). A "## Synopsis" section of
// code lines becomes the synopsis (and "Usage:" of the help); the paragraphs
// before the first "##" the description. Lines between "<!-- man:skip -->" and
// "<!-- man:end -->" are left out of both. Only ASCII is accepted, so that the
// manual needs no font or encoding of its own.
#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

enum class Kind { Heading, Paragraph, Code, List, Table };

struct Block {
    Kind kind = Kind::Paragraph;
    int level = 0;                               // headings
    std::vector<std::string> lines;              // paragraph (one), code, list items
    std::vector<std::vector<std::string>> cells; // table rows, the header first
};

std::string trim(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool startsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

// Cells of a table line; a "|" inside `code` or after "\" belongs to the cell.
std::vector<std::string> tableCells(const std::string& line) {
    std::vector<std::string> cells;
    std::string cell;
    bool code = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
            cell += '|';
            ++i;
        } else if (c == '`') {
            code = !code;
            cell += c;
        } else if (c == '|' && !code) {
            cells.push_back(trim(cell));
            cell.clear();
        } else {
            cell += c;
        }
    }
    cells.push_back(trim(cell));
    if (!cells.empty() && cells.front().empty())
        cells.erase(cells.begin());
    if (!cells.empty() && cells.back().empty())
        cells.pop_back();
    return cells;
}

bool isRule(const std::vector<std::string>& cells) {
    return std::all_of(cells.begin(), cells.end(), [](const std::string& c) {
        return !c.empty() && c.find_first_not_of("-: ") == std::string::npos;
    });
}

std::vector<Block> parse(std::istream& in) {
    std::vector<Block> blocks;
    Block current;
    bool open = false;
    const auto flush = [&] {
        if (open)
            blocks.push_back(current);
        current = Block{};
        open = false;
    };
    std::string line;
    int number = 0;
    bool skipping = false;
    while (std::getline(in, line)) {
        ++number;
        for (const unsigned char c : line) {
            if (c > 0x7E || (c < 0x20 && c != '\t'))
                throw std::runtime_error("line " + std::to_string(number) + ": not plain ASCII");
        }
        if (skipping) {
            skipping = trim(line) != "<!-- man:end -->";
            continue;
        }
        if (trim(line) == "<!-- man:skip -->") {
            flush();
            skipping = true;
            continue;
        }
        if (open && current.kind == Kind::Code && current.level == 1) { // fenced
            if (startsWith(line, "```"))
                flush();
            else
                current.lines.push_back(line);
            continue;
        }
        if (startsWith(line, "```")) {
            flush();
            current = {Kind::Code, 1, {}, {}};
            open = true;
            continue;
        }
        if (open && current.kind == Kind::Code) { // indented
            if (startsWith(line, "    ") || trim(line).empty()) {
                current.lines.push_back(line.size() >= 4 ? line.substr(4) : std::string());
                continue;
            }
            while (!current.lines.empty() && current.lines.back().empty())
                current.lines.pop_back();
            flush();
        }
        if (trim(line).empty()) {
            flush();
            continue;
        }
        if (line[0] == '#') {
            flush();
            const auto level = line.find_first_not_of('#');
            blocks.push_back(
                {Kind::Heading, static_cast<int>(level), {trim(line.substr(level))}, {}});
            continue;
        }
        if (line[0] == '|') {
            if (!open || current.kind != Kind::Table) {
                flush();
                current.kind = Kind::Table;
                open = true;
            }
            const auto cells = tableCells(line);
            if (!isRule(cells))
                current.cells.push_back(cells);
            continue;
        }
        if (!open && startsWith(line, "    ")) {
            current = {Kind::Code, 0, {line.substr(4)}, {}};
            open = true;
            continue;
        }
        if (startsWith(line, "* ") || startsWith(line, "- ")) {
            if (!open || current.kind != Kind::List) {
                flush();
                current.kind = Kind::List;
                open = true;
            }
            current.lines.push_back(trim(line.substr(2)));
            continue;
        }
        if (open && current.kind == Kind::List && startsWith(line, "  ")) {
            current.lines.back() += " " + trim(line);
            continue;
        }
        if (open && current.kind != Kind::Paragraph)
            flush();
        if (!open) {
            current = {Kind::Paragraph, 0, {trim(line)}, {}};
            open = true;
        } else {
            current.lines[0] += " " + trim(line);
        }
    }
    flush();
    return blocks;
}

// Inline markup, for one of the two outputs.
struct Inline {
    bool roff;

    std::string plain(const std::string& text) const {
        if (!roff)
            return text;
        std::string out;
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\\')
                out += "\\e";
            else if (text[i] == '-' && i + 1 < text.size() && text[i + 1] == '-')
                out += "\\-";
            else if (text[i] == '-' && i > 0 && text[i - 1] == '-')
                out += "\\-";
            else
                out += text[i];
        }
        return out;
    }
    std::string literal(const std::string& text) const {
        if (!roff)
            return text;
        std::string out;
        for (const char c : text)
            out += c == '\\' ? "\\e" : c == '-' ? "\\-" : std::string(1, c);
        return out;
    }
    std::string font(const char* face, const std::string& inner) const {
        return roff ? std::string("\\f") + face + inner + "\\fR" : inner;
    }

    std::string operator()(const std::string& text) const {
        std::string out;
        std::string run;
        const auto emit = [&] {
            out += plain(run);
            run.clear();
        };
        for (std::size_t i = 0; i < text.size();) {
            const char c = text[i];
            std::size_t end = 0;
            if (c == '`' && (end = text.find('`', i + 1)) != std::string::npos) {
                emit();
                out += font("B", literal(text.substr(i + 1, end - i - 1)));
                i = end + 1;
            } else if (startsWith(text.substr(i), "**") &&
                       (end = text.find("**", i + 2)) != std::string::npos) {
                emit();
                out += font("B", (*this)(text.substr(i + 2, end - i - 2)));
                i = end + 2;
            } else if (c == '*' && i + 1 < text.size() && text[i + 1] != ' ' &&
                       (end = text.find('*', i + 1)) != std::string::npos && text[end - 1] != ' ') {
                emit();
                out += font("I", (*this)(text.substr(i + 1, end - i - 1)));
                i = end + 1;
            } else if (c == '[' && (end = text.find("](", i)) != std::string::npos &&
                       text.find(')', end) != std::string::npos) {
                emit();
                out += (*this)(text.substr(i + 1, end - i - 1));
                i = text.find(')', end) + 1;
            } else {
                run += c;
                ++i;
            }
        }
        emit();
        return out;
    }
};

// A heading in capitals, as manual pages have them; `code` keeps its case.
std::string upper(std::string text) {
    bool code = false;
    for (char& c : text) {
        if (c == '`')
            code = !code;
        else if (!code)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return text;
}

// A roff text line never starts with a control character.
std::string roffLine(const std::string& text) {
    return !text.empty() && (text[0] == '.' || text[0] == '\'') ? "\\&" + text : text;
}

std::string roffTable(const Block& table, const Inline& in) {
    std::ostringstream out;
    const std::size_t columns = table.cells.empty() ? 0 : table.cells[0].size();
    if (columns == 2) {
        // Two columns read best as the manual's tagged paragraphs.
        for (std::size_t r = 1; r < table.cells.size(); ++r) {
            const auto& row = table.cells[r];
            out << ".TP\n"
                << roffLine(in(row[0])) << "\n"
                << roffLine(row.size() > 1 ? in(row[1]) : std::string()) << "\n";
        }
        return out.str();
    }
    // The column with the longest texts takes the room left and wraps, as does
    // any other too long to stand on one line beside it; short ones keep their
    // texts on one line.
    std::vector<std::size_t> longest(columns, 0);
    for (const auto& row : table.cells) {
        for (std::size_t c = 0; c < columns && c < row.size(); ++c)
            longest[c] = std::max(longest[c], row[c].size());
    }
    const auto widest = static_cast<std::size_t>(std::max_element(longest.begin(), longest.end()) -
                                                 longest.begin());
    const auto wraps = [&](std::size_t c) { return c == widest || longest[c] > 30; };
    out << ".PP\n.TS\n";
    for (std::size_t c = 0; c < columns; ++c)
        out << (c ? " " : "") << (wraps(c) ? "lx" : "l");
    out << ".\n";
    for (std::size_t r = 0; r < table.cells.size(); ++r) {
        const auto& row = table.cells[r];
        for (std::size_t c = 0; c < columns; ++c) {
            std::string cell = c < row.size() ? in(row[c]) : std::string();
            if (r == 0)
                cell = "\\fB" + cell + "\\fR";
            out << (c ? "\t" : "");
            if (wraps(c))
                out << "T{\n" << roffLine(cell) << "\nT}";
            else
                out << (cell.empty() || cell[0] == '.' || cell[0] == '\'' ? "\\&" : "") << cell;
        }
        out << "\n";
        if (r == 0)
            out << "_\n";
    }
    out << ".TE\n";
    return out.str();
}

std::string roffCode(const std::vector<std::string>& lines, const Inline& in) {
    std::string out = ".PP\n.RS 4\n.nf\n";
    for (const std::string& line : lines)
        out += roffLine(in.literal(line)) + "\n";
    return out + ".fi\n.RE\n";
}

// The blocks of the "## Synopsis" section: [first, last).
std::pair<std::size_t, std::size_t> synopsisRange(const std::vector<Block>& blocks) {
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (blocks[i].kind == Kind::Heading && blocks[i].level == 2 &&
            blocks[i].lines[0] == "Synopsis") {
            std::size_t end = i + 1;
            while (end < blocks.size() &&
                   !(blocks[end].kind == Kind::Heading && blocks[end].level <= 2))
                ++end;
            return {i, end};
        }
    }
    return {blocks.size(), blocks.size()};
}

std::string manPage(const std::vector<Block>& blocks, const std::string& name,
                    const std::string& section, const std::string& summary,
                    const std::string& footer, const std::string& date) {
    const Inline in{true};
    std::ostringstream out;
    const bool tables = std::any_of(blocks.begin(), blocks.end(), [](const Block& b) {
        return b.kind == Kind::Table && !b.cells.empty() && b.cells[0].size() != 2;
    });
    if (tables)
        out << "'\\\" t\n"; // the table preprocessor is needed
    out << ".TH " << in(upper(name)) << " " << section << " \"" << date << "\" \"" << footer
        << "\" \"User Commands\"\n";
    // Paths and options read better unbroken and with ragged lines.
    out << ".nh\n.ad l\n";
    out << ".SH NAME\n" << name << " \\- " << in(summary) << "\n";
    // The synopsis comes first, whatever the page's order.
    const auto [synopsis, synopsisEnd] = synopsisRange(blocks);
    if (synopsis < synopsisEnd) {
        out << ".SH SYNOPSIS\n";
        for (std::size_t i = synopsis + 1; i < synopsisEnd; ++i) {
            if (blocks[i].kind != Kind::Code) {
                out << roffLine(in(blocks[i].lines[0])) << "\n";
                continue;
            }
            out << ".nf\n";
            for (const std::string& line : blocks[i].lines)
                out << roffLine(in.literal(line)) << "\n";
            out << ".fi\n";
        }
    }
    bool started = false; // a section heading has been written
    bool afterHeading = true;
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        if (i >= synopsis && i < synopsisEnd)
            continue;
        const Block& b = blocks[i];
        switch (b.kind) {
        case Kind::Heading:
            if (b.level == 1)
                continue;
            if (b.level == 2)
                out << ".SH " << in(upper(b.lines[0])) << "\n";
            else
                out << ".SS " << in(b.lines[0]) << "\n";
            started = true;
            afterHeading = true;
            continue;
        case Kind::Paragraph:
            if (!started) {
                out << ".SH DESCRIPTION\n";
                started = true;
                afterHeading = true;
            }
            out << (afterHeading ? "" : ".PP\n") << roffLine(in(b.lines[0])) << "\n";
            break;
        case Kind::Code:
            out << roffCode(b.lines, in);
            break;
        case Kind::List:
            for (const std::string& item : b.lines)
                out << ".IP \\(bu 2\n" << roffLine(in(item)) << "\n";
            out << ".PP\n";
            break;
        case Kind::Table:
            out << roffTable(b, in);
            out << ".PP\n";
            break;
        }
        afterHeading = false;
    }
    // Drop a paragraph break that ends a section: it only adds warnings.
    std::string text = out.str();
    for (std::size_t at; (at = text.find(".PP\n.PP\n")) != std::string::npos;)
        text.erase(at, 4);
    for (std::size_t at; (at = text.find(".PP\n.SH ")) != std::string::npos;)
        text.erase(at, 4);
    for (std::size_t at; (at = text.find(".PP\n.SS ")) != std::string::npos;)
        text.erase(at, 4);
    if (text.size() >= 4 && text.compare(text.size() - 4, 4, ".PP\n") == 0)
        text.erase(text.size() - 4);
    return text;
}

// Words filled into lines of at most `width`, each starting with `indent` spaces
// (the first line with `first` instead when given).
std::string fill(const std::string& text, std::size_t indent, std::size_t width,
                 std::string first = {}) {
    std::istringstream words(text);
    std::string out;
    std::string line = first.empty() ? std::string(indent, ' ') : first;
    bool empty = true;
    for (std::string word; words >> word;) {
        if (!empty && line.size() + 1 + word.size() > width) {
            out += line + "\n";
            line = std::string(indent, ' ');
            empty = true;
        }
        line += (empty ? "" : " ") + word;
        empty = false;
    }
    return out + line + "\n";
}

std::string helpTable(const Block& table, const Inline& in) {
    constexpr std::size_t kColumn = 24;
    std::string out;
    for (std::size_t r = 1; r < table.cells.size(); ++r) {
        const auto& row = table.cells[r];
        std::string rest;
        for (std::size_t c = 1; c < row.size(); ++c)
            rest += (c > 1 ? "; " : "") + in(row[c]);
        std::string tag = "  " + in(row[0]);
        if (tag.size() + 2 > kColumn) {
            out += tag + "\n";
            tag.clear();
        }
        tag.resize(kColumn, ' ');
        out += fill(rest, kColumn, 79, tag);
    }
    return out;
}

std::string helpText(const std::vector<Block>& blocks, const std::vector<std::string>& sections) {
    const Inline in{false};
    std::string out;
    std::string current; // the "##" section the blocks belong to
    bool described = false;
    bool wanted = false;
    bool first = true; // the first block under a heading
    for (const Block& b : blocks) {
        if (b.kind == Kind::Heading) {
            if (b.level == 2) {
                current = b.lines[0];
                wanted = std::find(sections.begin(), sections.end(), current) != sections.end();
                if (wanted && current != "Synopsis")
                    out += "\n" + in(current) + ":\n";
            } else if (wanted) {
                out += "\n" + in(b.lines[0]) + ":\n";
            }
            first = true;
            continue;
        }
        if (current.empty()) {
            // The first paragraph of the description says what the program is.
            if (b.kind == Kind::Paragraph && !described) {
                out += fill(in(b.lines[0]), 0, 79);
                described = true;
            }
            continue;
        }
        if (!wanted)
            continue;
        if (current == "Synopsis" && b.kind == Kind::Code) {
            std::string usage;
            for (std::size_t i = 0; i < b.lines.size(); ++i)
                usage += (i == 0 ? "Usage: " : "       ") + b.lines[i] + "\n";
            out.insert(0, usage + "\n");
            continue;
        }
        if (!first)
            out += "\n";
        first = false;
        switch (b.kind) {
        case Kind::Paragraph:
            out += fill(in(b.lines[0]), 2, 79);
            break;
        case Kind::Code:
            for (const std::string& line : b.lines)
                out += "    " + line + "\n";
            break;
        case Kind::List:
            for (const std::string& item : b.lines)
                out += fill(in(item), 4, 79, "  * ");
            break;
        case Kind::Table:
            out += helpTable(b, in);
            break;
        case Kind::Heading:
            break;
        }
    }
    return out;
}

std::string readAll(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void writeIfChanged(const std::string& path, const std::string& text) {
    {
        std::ifstream old(path, std::ios::binary);
        if (old) {
            std::ostringstream content;
            content << old.rdbuf();
            if (content.str() == text)
                return;
        }
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << text;
    if (!file)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

int main(int argc, char** argv) {
    try {
        const std::vector<std::string> args(argv + 1, argv + argc);
        if (args.size() >= 7 && args[0] == "man") {
            std::istringstream page(readAll(args[1]));
            writeIfChanged(args[2], manPage(parse(page), args[3], args[4], args[5], args[6],
                                            args.size() > 7 ? args[7] : ""));
            return 0;
        }
        if (args.size() >= 4 && args[0] == "help") {
            std::istringstream page(readAll(args[1]));
            const std::string text =
                helpText(parse(page), std::vector<std::string>(args.begin() + 4, args.end()));
            writeIfChanged(args[2], "// Made by mdman from " + args[1] +
                                        "; edit that page, not this file.\n#pragma once\n\n"
                                        "inline constexpr const char* " +
                                        args[3] + " = R\"mdman(" + text + ")mdman\";\n");
            return 0;
        }
        std::cerr << "usage: mdman man PAGE.md OUT.1 NAME SECTION SUMMARY FOOTER DATE\n"
                     "       mdman help PAGE.md OUT.h VARIABLE SECTION...\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << "mdman: " << error.what() << "\n";
        return 1;
    }
}
