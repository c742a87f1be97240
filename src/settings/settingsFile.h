#ifndef BROX_SETTINGSFILE_H
#define BROX_SETTINGSFILE_H

#include <iosfwd>
#include <map>
#include <string>

#include "shell/configTable.h"

// The configuration file as the settings program edits it: every setting with
// the value the game would use, read by the game's own reader, checked when
// changed, and written whole. Every operation that can refuse returns why,
// or an empty string when it did what was asked.
class settingsFile {
public:
    // In the working directory, where the game reads it.
    static constexpr const char* fileName = configTable::fileName;

    // Reads the file the game would read; a missing one gives the defaults.
    void load();
    // Reads configuration words as the game does, without a game to set.
    void load(std::istream& file);
    // Where and why the game's reader stopped early in the file; empty when
    // it read the whole file.
    const std::string& getReadingStop() const;

    int get(const std::string& setting) const;
    // Refuses a word that is no setting, a value out of its range, a fixed setting
    // and a setting another action already has; a refusal changes nothing.
    std::string set(const std::string& setting, int value);
    // "key=value", the value a number or, for a setting of the keyboard, its
    // name as keyName gives it.
    std::string assign(const std::string& assignment);

    // The file's text: every setting once, in the reader's order.
    std::string text() const;
    // Writes the text to a temporary file and renames it over the old one,
    // so that the file is always either the old or the new one whole.
    std::string save() const;

    // A setting code's name, the same on every platform ("W", "SPACE", "F10").
    static std::string keyName(int code);
    // The code of a setting name (any case); -1 for none.
    static int keyCode(const std::string& name);

private:
    std::string checkKey(const configKey& entry, int code) const;

    std::map<std::string, int> values;
    std::string readingStop;
};

#endif
