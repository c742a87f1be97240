#include "settingsFile.h"

#include <allegro.h>
// Allegro's own names of the keys, which need no keyboard driver.
#include <allegro/internal/aintern.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "shell/configTable.h"

namespace {

bool isActionKey(const std::string& setting)
{
    const configKey* entry = configTable::find(setting);
    return entry != nullptr && entry->what == configKey::keySlot;
}

std::string upperCase(std::string text)
{
    for (char& c : text)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// The line of each key's last occurrence, found as the game's reader finds
// keys: a key takes the word after it as its value.
std::map<std::string, int> lastLines(const std::string& text)
{
    std::map<std::string, int> lines;
    int line = 1;
    bool valueNext = false;
    std::size_t at = 0;
    while (at < text.size()) {
        if (std::isspace(static_cast<unsigned char>(text[at]))) {
            line += text[at++] == '\n' ? 1 : 0;
            continue;
        }
        const std::size_t end = text.find_first_of(" \t\r\n\v\f", at);
        const std::string word = text.substr(at, end == std::string::npos ? end : end - at);
        at = end == std::string::npos ? text.size() : end;
        if (!valueNext && configTable::find(word) != nullptr) {
            lines[word] = line;
            valueNext = true;
        } else {
            valueNext = false;
        }
    }
    return lines;
}

// A whole decimal number and nothing else, as a player types one.
bool parseNumber(const std::string& text, int& value)
{
    std::istringstream in(text);
    return in >> value && (in >> std::ws).eof();
}

}  // namespace

void settingsFile::load()
{
    std::ifstream file;
    if (configTable::open(file)) {
        load(file);
        return;
    }
    std::istringstream none;
    load(none);
}

void settingsFile::load(std::istream& file)
{
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    lines = lastLines(text);
    std::istringstream words(text);
    values.clear();
    for (const auto& entry : configTable::keys())
        values[entry.name] = entry.platformDefault();
    // As in the game, the key map takes each slot's last value once the
    // whole file is read, and every other setting takes effect at once.
    readingStop = configTable::read(words, [this](const configKey& entry, int value) {
        const bool slot = entry.what == configKey::keySlot;
        values[entry.name] = slot ? value : entry.gameValue(value, values[entry.name]);
    });
    for (const auto& entry : configTable::keys())
        if (entry.what == configKey::keySlot)
            values[entry.name] = entry.gameValue(values[entry.name], entry.platformDefault());
}

const std::string& settingsFile::getReadingStop() const { return readingStop; }

int settingsFile::get(const std::string& setting) const
{
    const auto found = values.find(setting);
    return found == values.end() ? -1 : found->second;
}

std::string settingsFile::set(const std::string& setting, int value)
{
    return change(setting, value, true);
}

std::string settingsFile::change(const std::string& setting, int value, bool againstOtherActions)
{
    if (values.count(setting) == 0) {
        std::string known;
        for (const auto& entry : configTable::keys())
            known += (known.empty() ? "" : ", ") + std::string(entry.name);
        return "there is no setting \"" + setting + "\"; the settings are " + known;
    }
    const configKey& entry = *configTable::find(setting);
    std::string problem;
    if (entry.what == configKey::keySlot)
        problem = checkKey(entry, value, againstOtherActions);
    else if (!entry.allows(value))
        problem = setting + " is " + entry.allowedValues() + ", not " + std::to_string(value);
    if (problem.empty())
        values[setting] = value;
    return problem;
}

std::string settingsFile::checkKey(const configKey& entry, int code, bool againstOtherActions) const
{
    const std::string setting = entry.name;
    if (!entry.allows(code))
        return setting + " is a key code from " + entry.allowedValues() + ", not "
               + std::to_string(code);
    for (const auto& reserved : configTable::fixedKeys())
        if (code == reserved.code)
            return setting + ": " + keyName(code) + " is fixed (it " + reserved.what
                   + "); choose another key";
    if (!againstOtherActions)
        return "";
    if (const configKey* other = actionWithKey(entry, code, true))
        return setting + ": " + keyName(code) + " is already the key of " + other->name
               + "; choose another key";
    return "";
}

const configKey* settingsFile::actionWithKey(const configKey& entry, int code, bool allOthers) const
{
    for (const auto& other : configTable::keys()) {
        if (&other == &entry && !allOthers)
            return nullptr;
        if (other.what == configKey::keySlot && &other != &entry && get(other.name) == code)
            return &other;
    }
    return nullptr;
}

std::vector<std::pair<std::string, std::string>> settingsFile::refusedActions() const
{
    std::vector<std::pair<std::string, std::string>> found;
    for (const auto& entry : configTable::keys()) {
        if (entry.what != configKey::keySlot)
            continue;
        const int code = get(entry.name);
        std::string why = checkKey(entry, code, false);
        if (const configKey* earlier = actionWithKey(entry, code, false); why.empty() && earlier)
            why = std::string(entry.name) + ": " + keyName(code) + " is already the key of "
                  + earlier->name + "; choose another key";
        if (!why.empty())
            found.emplace_back(entry.name, why);
    }
    return found;
}

std::vector<std::string> settingsFile::conflicts() const
{
    std::vector<std::string> found;
    for (const auto& [setting, why] : refusedActions()) {
        const auto line = lines.find(setting);
        found.push_back((line == lines.end() ? "" : "line " + std::to_string(line->second) + ": ")
                        + why);
    }
    return found;
}

std::string settingsFile::assign(const std::string& assignment) { return assign(assignment, true); }

std::string settingsFile::assignAll(const std::vector<std::string>& assignments)
{
    const std::map<std::string, int> before = values;
    for (const auto& assignment : assignments) {
        const std::string refused = assign(assignment, false);
        if (!refused.empty()) {
            values = before;
            return refused;
        }
    }
    const auto refused = refusedActions();
    if (refused.empty())
        return "";
    values = before;
    return refused.front().second;
}

std::string settingsFile::assign(const std::string& assignment, bool againstOtherActions)
{
    const auto equals = assignment.find('=');
    if (equals == std::string::npos)
        return "\"" + assignment + "\" is not key=value";
    const std::string setting = assignment.substr(0, equals);
    const std::string text = assignment.substr(equals + 1);
    int value = 0;
    if (parseNumber(text, value))
        return change(setting, value, againstOtherActions);
    if (isActionKey(setting) && keyCode(text) >= 0)
        return change(setting, keyCode(text), againstOtherActions);
    return setting + ": \"" + text + "\" is not a whole number"
           + (isActionKey(setting) ? " or a key name such as W, SPACE or F10" : "");
}

std::string settingsFile::text() const
{
    std::string text;
    for (const auto& entry : configTable::keys())
        text += std::string(entry.name) + " " + std::to_string(get(entry.name)) + "\n";
    return text;
}

std::string settingsFile::save() const
{
    namespace fs = std::filesystem;
    const fs::path target = fs::absolute(fileName);
    const fs::path temporary = target.string() + ".new";
    const std::string failed = "cannot write " + target.string() + ": ";
    const std::string kept = "; nothing was saved, and the file is as it was";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out)
            return failed + std::strerror(errno) + kept;
        out << text();
        out.close();
        if (!out) {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return failed + "the disk refused the data" + kept;
        }
    }
    std::error_code error;
    fs::rename(temporary, target, error);
    if (error) {
        std::error_code ignored;
        fs::remove(temporary, ignored);
        return failed + error.message() + kept;
    }
    return "";
}

std::string settingsFile::keyName(int code)
{
    if (code < 1 || code >= KEY_MAX)
        return "none";
    return _keyboard_common_names[code];
}

int settingsFile::keyCode(const std::string& name)
{
    for (int code = 1; code < KEY_MAX; ++code)
        if (upperCase(name) == _keyboard_common_names[code])
            return code;
    return -1;
}
