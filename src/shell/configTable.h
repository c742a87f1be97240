#ifndef BROX_CONFIGTABLE_H
#define BROX_CONFIGTABLE_H

#include <fstream>
#include <functional>
#include <iosfwd>
#include <string>
#include <vector>

// One value a setting offers by name, as the settings program shows it.
struct configChoice {
    int value;
    const char* label;
};

// One key of broxConfig.txt: what the game sets with it, what it allows,
// what it does with other values, its default and its words for players.
struct configKey {
    // What the game sets; `role` says which key map slot or pad role.
    enum target {
        resolution,
        colorDepth,
        windowed,
        controlThreshold,
        keySlot,
        soundVolume,
        musicVolume,
        joystick,
        joyDeadZone,
        padAxis,
        padButton
    };
    // What the game does with a value the settings program refuses.
    enum oddValue {
        fallsBack,  // takes the first choice
        clamped,    // takes the nearest end of the range
        kept,       // leaves the setting as it was
        taken       // takes it as it is
    };

    const char* name;
    target what;
    int role;
    // The settings program allows the choices, or with none low to high.
    std::vector<configChoice> choices;
    int low;
    int high;
    oddValue odd;
    int defaultValue;
    int windowsDefault;
    // The action or control in the settings window and on the page.
    const char* label;
    // One line for players' references.
    const char* text;

    bool allows(int value) const;
    // "640, 800 or 1024", "0 to 255".
    std::string allowedValues() const;
    // The value the game plays with when the file gives `written` to a
    // setting that stood at `current`.
    int gameValue(int written, int current) const;
    // The default of the platform this is built for.
    int platformDefault() const;
    const char* labelOf(int value) const;
};

// A key the game reads on its own, which no action may take.
struct fixedKey {
    int code;
    const char* name;
    const char* what;
};

// Every configuration key the game reads, in the order the reader compares
// them and a written file holds them, and the reader of the file.
class configTable {
public:
    static constexpr const char* fileName = "broxConfig.txt";

    static const std::vector<configKey>& keys();
    // Null for a word that is no entry.
    static const configKey* find(const std::string& word);
    // Tab, Escape and M.
    static const std::vector<fixedKey>& fixedKeys();

    // Opens broxConfig.txt in the working directory; false when there is no
    // regular file there to read.
    static bool open(std::ifstream& file);
    // Reads configuration words and hands each key with its value to `take`,
    // in the file's order. A value that is missing, not a number or too
    // large ends the reading: returns where and why ("line 3: keyUp: ..."),
    // or an empty string when it read to the end.
    static std::string read(std::istream& file,
                            const std::function<void(const configKey&, int)>& take);
};

#endif
