#include "settingsFile.h"

#include <allegro.h>
// Allegro's own names of the keys, which need no keyboard driver.
#include <allegro/internal/aintern.h>

#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
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
    values.clear();
    for (const auto& entry : configTable::keys())
        values[entry.name] = entry.platformDefault();
    // As in the game, the key map takes each slot's last value once the
    // whole file is read, and every other setting takes effect at once.
    readingStop = configTable::read(file, [this](const configKey& entry, int value) {
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
    if (values.count(setting) == 0) {
        std::string known;
        for (const auto& entry : configTable::keys())
            known += (known.empty() ? "" : ", ") + std::string(entry.name);
        return "there is no setting \"" + setting + "\"; the settings are " + known;
    }
    const configKey& entry = *configTable::find(setting);
    std::string problem;
    if (entry.what == configKey::keySlot)
        problem = checkKey(entry, value);
    else if (!entry.allows(value))
        problem = setting + " is " + entry.allowedValues() + ", not " + std::to_string(value);
    if (problem.empty())
        values[setting] = value;
    return problem;
}

std::string settingsFile::checkKey(const configKey& entry, int code) const
{
    const std::string setting = entry.name;
    if (!entry.allows(code))
        return setting + " is a key code from " + entry.allowedValues() + ", not "
               + std::to_string(code);
    for (const auto& reserved : configTable::fixedKeys())
        if (code == reserved.code)
            return setting + ": " + keyName(code) + " is fixed (it " + reserved.what
                   + "); choose another key";
    for (const auto& other : configTable::keys())
        if (other.what == configKey::keySlot && other.name != setting && get(other.name) == code)
            return setting + ": " + keyName(code) + " is already the key of " + other.name
                   + "; choose another key";
    return "";
}

std::string settingsFile::assign(const std::string& assignment)
{
    const auto equals = assignment.find('=');
    if (equals == std::string::npos)
        return "\"" + assignment + "\" is not key=value";
    const std::string setting = assignment.substr(0, equals);
    const std::string text = assignment.substr(equals + 1);
    int value = 0;
    if (parseNumber(text, value))
        return set(setting, value);
    if (isActionKey(setting) && keyCode(text) >= 0)
        return set(setting, keyCode(text));
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
