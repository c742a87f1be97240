// configdoc: the players' references and the page's settings list, written
// from the game's table of configuration keys so that each fact is written
// once. scripts/references.sh runs it over the committed files.
//   configdoc markdown        docs/settings.md
//   configdoc man FILE        FILE, a manual page, with its CONFIGURATION section written
//   configdoc text FILE       FILE, the Windows README.txt, with its Configuration section written
//   configdoc js              the settings list the page's form reads
#include <allegro.h>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "settings/settingsFile.h"
#include "shell/configTable.h"

namespace {

const char* const generatedNote =
    "Written by scripts/references.sh from the table of settings in src/shell/configTable.cpp";

std::string number(int value) { return std::to_string(value); }

// "Tab pauses and resumes, Escape quits, M mutes the sound"
std::string fixedKeysText()
{
    std::string text;
    for (const auto& reserved : configTable::fixedKeys())
        text += (text.empty() ? "" : ", ") + std::string(reserved.name) + " " + reserved.what;
    return text;
}

std::string keyCodeNote()
{
    const auto code = [](const char* name) { return number(settingsFile::keyCode(name)); };
    return "Key codes are Allegro's: A is " + code("A") + " to Z " + code("Z") + ", 0 is "
           + code("0") + " to 9 " + code("9") + ", F1 to F12 are " + code("F1") + " to "
           + code("F12") + ", Space is " + code("SPACE") + ", Enter " + code("ENTER")
           + ". The game reads some keys on its own: " + fixedKeysText()
           + "; no action may take them, and brox-settings gives no two actions one key.";
}

std::string defaultText(const configKey& entry, int value)
{
    if (!entry.choices.empty())
        return entry.labelOf(value);
    if (entry.what == configKey::keySlot)
        return settingsFile::keyName(value) + " (" + number(value) + ")";
    return value == -1 && entry.low == -1 ? "-1 (none)" : number(value);
}

// The default, with Windows' where it differs.
std::string defaultsText(const configKey& entry)
{
    std::string text = defaultText(entry, entry.defaultValue);
    if (entry.windowsDefault != entry.defaultValue)
        text += " (Windows: " + defaultText(entry, entry.windowsDefault) + ")";
    return text;
}

std::string valuesText(const configKey& entry)
{
    std::string values;
    if (entry.what == configKey::keySlot)
        return "a key code from " + entry.allowedValues()
               + "; any other value, -1 among them, keeps " + "the default";
    if (entry.choices.empty()) {
        values = (entry.low == -1 && entry.what != configKey::controlThreshold
                      ? "-1 (none) to " + number(entry.high)
                      : entry.allowedValues());
    } else {
        for (const auto& choice : entry.choices)
            values += (values.empty() ? "" : ", ") + number(choice.value) + ": " + choice.label;
    }
    switch (entry.odd) {
    case configKey::fallsBack:
        return values + "; any other value gives " + entry.choices.front().label;
    case configKey::clamped:
        return values + "; a value beyond is taken as the nearer end";
    case configKey::kept:
        return values + "; any other value leaves it as it was";
    case configKey::taken:
        return "any whole number (brox-settings offers " + values + ")";
    }
    return values;
}

std::string capitalised(std::string text)
{
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// "Moves the fighter up. A key code from 1 to 126; .... Default: W (23)."
std::string description(const configKey& entry, int defaultValue)
{
    return capitalised(entry.text) + ". " + capitalised(valuesText(entry))
           + ". Default: " + defaultText(entry, defaultValue) + ".";
}

std::string markdown()
{
    std::string page = "# Settings: `broxConfig.txt`\n\n<!-- " + std::string(generatedNote)
                       + "; edit the table, not this page. -->\n\n";
    page += "The game reads `" + std::string(configTable::fileName)
            + "` from the folder it starts in: `run/` for `bash scripts/play.sh`, "
              "`~/.config/brox/` (or `$XDG_CONFIG_HOME/brox/`) for an installed game, the "
              "folder of `brox.exe` on Windows; the browser page writes it from its form. "
              "`brox-settings` changes every setting in a window, or with `--show` and `--set` "
              "from a script, and refuses values outside the ranges below.\n\n"
              "The file is a list of key and value pairs separated by white space. Unknown words "
              "are skipped; a value that is not a whole number ends the reading, and everything "
              "before it still counts. Without the file (or with anything there that is not a "
              "regular file) every setting has its default.\n\n"
              "| key | what it sets | values | default |\n|---|---|---|---|\n";
    for (const auto& entry : configTable::keys())
        page += "| `" + std::string(entry.name) + "` | " + entry.text + " | " + valuesText(entry)
                + " | " + defaultsText(entry) + " |\n";
    page += "\n" + keyCodeNote()
            + " Pad axes are numbered as the driver counts them: on Linux as the kernel does "
              "(`jstest /dev/input/js0` shows them), on Windows in DirectInput's order X, Y, Z, "
              "Rz, the sliders, then the d-pad.\n";
    return page;
}

// A minus sign in roff, not a hyphen, and the multiplication sign of a size.
std::string roff(const std::string& text)
{
    const auto digit = [&text](std::size_t at) {
        return at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]));
    };
    std::string escaped;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool minus =
            text[i] == '-' && digit(i + 1) && (i == 0 || text[i - 1] == ' ' || text[i - 1] == '(');
        const bool times = text.compare(i, 3, " x ") == 0 && i > 0 && digit(i - 1) && digit(i + 3);
        if (times) {
            escaped += " \\(mu ";
            i += 2;
        } else {
            escaped += minus ? std::string("\\-") : std::string(1, text[i]);
        }
    }
    return escaped;
}

std::string manSection()
{
    std::string section =
        ".SH CONFIGURATION\n.\\\" " + std::string(generatedNote)
        + ".\n"
          ".BR brox-settings (6)\n"
          "changes every setting in a window, without key codes. The configuration\n"
          "file is a list of key and value pairs separated by white space; unknown\n"
          "words are skipped, and a value that is not a whole number ends the\n"
          "reading.\n";
    for (const auto& entry : configTable::keys())
        section += ".TP\n.B " + std::string(entry.name) + "\n"
                   + roff(description(entry, entry.defaultValue)) + "\n";
    return section + ".PP\n" + roff(keyCodeNote()) + "\n";
}

// Words broken into lines of at most 76 columns, each but the first indented.
std::string wrapped(const std::string& text, std::size_t firstColumn, std::size_t indent)
{
    std::istringstream words(text);
    std::string result;
    std::string word;
    std::size_t column = firstColumn;
    bool lineStart = true;
    while (words >> word) {
        if (!lineStart && column + 1 + word.size() > 76) {
            result += "\n" + std::string(indent, ' ');
            column = indent;
            lineStart = true;
        }
        result += (lineStart ? "" : " ") + word;
        column += word.size() + (lineStart ? 0 : 1);
        lineStart = false;
    }
    return result + "\n";
}

std::string textSection()
{
    std::string section =
        "Configuration\n-------------\n"
        "broxConfig.txt, beside brox.exe, holds pairs of a key and a whole\n"
        "number; brox-settings.exe writes it for you. Unknown words are skipped,\n"
        "and a value that is not a whole number ends the reading. As shipped it\n"
        "opens an 800 x 600 window at 32 bits; without it every setting has its\n"
        "default.\n\n";
    constexpr std::size_t column = 20;
    for (const auto& entry : configTable::keys()) {
        std::string name = "  " + std::string(entry.name);
        name += name.size() < column ? std::string(column - name.size(), ' ')
                                     : "\n" + std::string(column, ' ');
        section += name + wrapped(description(entry, entry.windowsDefault), column, column);
    }
    return section + "\n" + wrapped(keyCodeNote(), 0, 0) + "\n";
}

std::string quoted(const std::string& text)
{
    std::string result = "\"";
    for (char c : text)
        result += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
    return result + "\"";
}

std::string javaScript()
{
    std::string script =
        "// The settings form's table, written by configdoc from the game's table of settings in\n"
        "// src/shell/configTable.cpp.\n'use strict';\nconst SETTINGS = [\n";
    for (const auto& entry : configTable::keys()) {
        std::string choices;
        for (const auto& choice : entry.choices)
            choices += (choices.empty() ? "" : ", ") + std::string("{ value: ")
                       + number(choice.value) + ", label: " + quoted(choice.label) + " }";
        script += "  { name: " + quoted(entry.name)
                  + ", actionKey: " + (entry.what == configKey::keySlot ? "true" : "false")
                  + ", label: " + quoted(entry.label) + ", low: " + number(entry.low) + ", high: "
                  + number(entry.high) + ", defaultValue: " + number(entry.defaultValue)
                  + ", choices: [" + choices + "] },\n";
    }
    script += "];\n// The keys the game reads on its own, which no action may take.\nconst "
              "FIXED_KEYS = [\n";
    for (const auto& reserved : configTable::fixedKeys())
        script += "  { code: " + number(reserved.code) + ", name: " + quoted(reserved.name)
                  + ", what: " + quoted(reserved.what) + " },\n";
    return script + "];\n";
}

std::string readWhole(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "configdoc: cannot read %s\n", path);
        std::exit(1);
    }
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file with its section from the line `heading` up to the next
// heading replaced; `nextHeading` finds where that one starts.
std::string replaceSection(const char* path, const std::string& heading, const std::string& section,
                           std::size_t (*nextHeading)(const std::string&, std::size_t))
{
    const std::string text = readWhole(path);
    const std::size_t start = text.find(heading);
    const std::size_t end = start == std::string::npos ? start : nextHeading(text, start + 1);
    if (end == std::string::npos) {
        std::fprintf(stderr, "configdoc: %s has no section \"%s\" with one after it\n", path,
                     heading.c_str());
        std::exit(1);
    }
    return text.substr(0, start) + section + text.substr(end);
}

std::size_t nextManHeading(const std::string& text, std::size_t from)
{
    const std::size_t found = text.find("\n.SH ", from);
    return found == std::string::npos ? found : found + 1;
}

// A heading of the text is a line underlined with dashes.
std::size_t nextUnderlinedHeading(const std::string& text, std::size_t from)
{
    const std::size_t underline = text.find("\n---", text.find("\n---", from) + 1);
    return underline == std::string::npos ? underline : text.rfind('\n', underline - 1) + 1;
}

}  // namespace

int main(int argc, char* argv[])
{
    install_allegro(SYSTEM_NONE, &errno, std::atexit);
    const std::string mode = argc > 1 ? argv[1] : "";
    if (argc == 2 && mode == "markdown")
        std::cout << markdown();
    else if (argc == 2 && mode == "js")
        std::cout << javaScript();
    else if (argc == 3 && mode == "man")
        std::cout << replaceSection(argv[2], ".SH CONFIGURATION\n", manSection(), nextManHeading);
    else if (argc == 3 && mode == "text")
        std::cout << replaceSection(argv[2], "Configuration\n-----", textSection(),
                                    nextUnderlinedHeading);
    else {
        std::fputs("usage: configdoc markdown | js | man FILE | text FILE\n", stderr);
        return 2;
    }
    return 0;
}
