#include "settingsFile.h"

#include <allegro.h>
// Allegro's own names of the keys, which need no keyboard driver.
#include <allegro/internal/aintern.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "shell/dataObj.h"

namespace {

// What the settings program lets a setting hold; the game's reader itself
// forgives more, and falls back to a default.
struct valueRule {
    const char* setting;
    std::vector<int> choices;  // empty: any value from low to high
    int low;
    int high;
};

constexpr int lastAxis = MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS - 1;
constexpr int lastButton = MAX_JOYSTICK_BUTTONS - 1;

const valueRule rules[] = {
    {"resolution", {640, 800, 1024}, 0, 0},
    {"colorDepth", {24, 32}, 0, 0},
    {"windowed", {0, 1}, 0, 0},
    {"controlThreshold", {}, -1, 32768},
    {"soundVolume", {}, 0, 255},
    {"musicVolume", {}, 0, 255},
    {"joystick", {0, 1}, 0, 0},
    {"joyDeadZone", {}, 0, 90},
    {"joyMoveAxisX", {}, -1, lastAxis},
    {"joyMoveAxisY", {}, -1, lastAxis},
    {"joyDpadAxisX", {}, -1, lastAxis},
    {"joyDpadAxisY", {}, -1, lastAxis},
    {"joyAimAxisX", {}, -1, lastAxis},
    {"joyAimAxisY", {}, -1, lastAxis},
    {"joyFireAxis", {}, -1, lastAxis},
    {"joyOrbitersAxis", {}, -1, lastAxis},
    {"joyFire", {}, -1, lastButton},
    {"joyOrbiters", {}, -1, lastButton},
    {"joyBlast", {}, -1, lastButton},
    {"joyPause", {}, -1, lastButton},
    {"joyRestart", {}, -1, lastButton},
};

const char* const actionKeys[] = {"keyUp",    "keyDown",    "keyLeft",
                                  "keyRight", "keyDefense", "keyMenu"};

// The keys the game reads on its own, whatever the file says.
const std::pair<int, const char*> fixedKeys[] = {
    {KEY_TAB, "pauses and resumes"}, {KEY_ESC, "quits"}, {KEY_M, "mutes the sound"}};

bool isActionKey(const std::string& setting)
{
    return std::find(std::begin(actionKeys), std::end(actionKeys), setting) != std::end(actionKeys);
}

const valueRule* ruleOf(const std::string& setting)
{
    for (const auto& rule : rules)
        if (setting == rule.setting)
            return &rule;
    return nullptr;
}

std::string allowedValues(const valueRule& rule)
{
    if (rule.choices.empty())
        return std::to_string(rule.low) + " to " + std::to_string(rule.high);
    std::string list;
    for (std::size_t i = 0; i < rule.choices.size(); ++i)
        list += (i == 0                         ? ""
                 : i + 1 == rule.choices.size() ? " or "
                                                : ", ")
                + std::to_string(rule.choices[i]);
    return list;
}

bool allows(const valueRule& rule, int value)
{
    if (rule.choices.empty())
        return value >= rule.low && value <= rule.high;
    return std::find(rule.choices.begin(), rule.choices.end(), value) != rule.choices.end();
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
    dataObj data;
    data.readConfig();
    load(data);
}

void settingsFile::load(const dataObj& data)
{
    values.clear();
    for (const auto& setting : dataObj::configKeys())
        values[setting] = data.getConfigValue(setting);
    readingStop = data.getConfigStop();
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
        for (const auto& name : dataObj::configKeys())
            known += (known.empty() ? "" : ", ") + name;
        return "there is no setting \"" + setting + "\"; the settings are " + known;
    }
    std::string problem;
    if (isActionKey(setting)) {
        problem = checkKey(setting, value);
    } else if (const valueRule* rule = ruleOf(setting); rule != nullptr && !allows(*rule, value)) {
        problem = setting + " is " + allowedValues(*rule) + ", not " + std::to_string(value);
    }
    if (problem.empty())
        values[setting] = value;
    return problem;
}

std::string settingsFile::checkKey(const std::string& setting, int code) const
{
    if (code < 1 || code >= KEY_MAX)
        return setting + " is a key code from 1 to " + std::to_string(KEY_MAX - 1) + ", not "
               + std::to_string(code);
    for (const auto& [fixedCode, what] : fixedKeys)
        if (code == fixedCode)
            return setting + ": " + keyName(code) + " is fixed (it " + what
                   + "); choose another key";
    for (const char* other : actionKeys)
        if (other != setting && get(other) == code)
            return setting + ": " + keyName(code) + " is already the key of " + other
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
    for (const auto& setting : dataObj::configKeys())
        text += setting + " " + std::to_string(get(setting)) + "\n";
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
