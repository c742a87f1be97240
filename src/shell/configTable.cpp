#include "configTable.h"

#include <allegro.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <iterator>
#include <sstream>

namespace {

constexpr int lastAxis = MAX_JOYSTICK_STICKS * MAX_JOYSTICK_AXIS - 1;
constexpr int lastButton = MAX_JOYSTICK_BUTTONS - 1;

configKey keySlotKey(const char* name, int slot, int code, const char* label, const char* text)
{
    return {name, configKey::keySlot, slot, {}, 1, KEY_MAX - 1, configKey::kept, code, code, label,
            text};
}

// The axis numbers differ: Linux counts as the kernel does, Windows in
// DirectInput's order.
configKey padAxisKey(const char* name, int role, int onLinux, int onWindows, const char* label,
                     const char* text)
{
    return {name,    configKey::padAxis, role,  {},  -1, lastAxis, configKey::kept,
            onLinux, onWindows,          label, text};
}

configKey padButtonKey(const char* name, int role, int number, const char* label, const char* text)
{
    return {name,       configKey::padButton, role,   {},     -1,
            lastButton, configKey::kept,      number, number, label,
            text};
}

// A value too large to read, as against a word that is no number at all.
bool startsWithDigits(const std::string& word)
{
    const std::size_t first = word[0] == '-' || word[0] == '+' ? 1 : 0;
    return first < word.size() && std::isdigit(static_cast<unsigned char>(word[first]));
}

// Where and why the reading ended early, in words for the player: the
// value after `key`, which ends at `keyEnd` in the text, is unusable.
std::string describeStop(const std::string& text, std::size_t keyEnd, const std::string& key)
{
    const auto line = 1 + std::count(text.begin(), text.begin() + keyEnd, '\n');
    std::istringstream rest(text.substr(keyEnd));
    std::string found;
    rest >> found;
    std::string why;
    if (found.empty())
        why = "the file ends where its value belongs";
    else if (startsWithDigits(found))
        why = "its value " + found + " is too large";
    else
        why = "its value \"" + found + "\" is not a whole number";
    return "line " + std::to_string(line) + ": " + key + ": " + why
           + "; the game stops reading there, and ignores every setting after it";
}

}  // namespace

bool configKey::allows(int value) const
{
    if (choices.empty())
        return value >= low && value <= high;
    return std::any_of(choices.begin(), choices.end(),
                       [value](const configChoice& choice) { return choice.value == value; });
}

std::string configKey::allowedValues() const
{
    if (choices.empty())
        return std::to_string(low) + " to " + std::to_string(high);
    std::string list;
    for (std::size_t i = 0; i < choices.size(); ++i)
        list += (i == 0                    ? ""
                 : i + 1 == choices.size() ? " or "
                                           : ", ")
                + std::to_string(choices[i].value);
    return list;
}

int configKey::gameValue(int written, int current) const
{
    if (allows(written) || odd == taken)
        return written;
    if (odd == fallsBack)
        return choices.front().value;
    if (odd == clamped)
        return std::clamp(written, low, high);
    return current;
}

int configKey::platformDefault() const
{
#ifdef ALLEGRO_WINDOWS
    return windowsDefault;
#else
    return defaultValue;
#endif
}

const char* configKey::labelOf(int value) const
{
    for (const auto& choice : choices)
        if (choice.value == value)
            return choice.label;
    return "";
}

const std::vector<configKey>& configTable::keys()
{
    using entry = configKey;
    // The order is the reader's and the written file's: the first ten are the
    // game's oldest keys, in the order the reader has always compared them.
    static const std::vector<configKey> table = {
        {"resolution",
         entry::resolution,
         0,
         {{640, "640 x 480"}, {800, "800 x 600"}, {1024, "1024 x 768"}},
         0,
         0,
         entry::fallsBack,
         640,
         640,
         "Screen",
         "the size of the screen, or of the window"},
        {"colorDepth",
         entry::colorDepth,
         0,
         {{24, "24-bit colour"}, {32, "32-bit colour"}},
         0,
         0,
         entry::fallsBack,
         24,
         24,
         "Colours",
         "the colour depth of the screen"},
        {"windowed",
         entry::windowed,
         0,
         {{0, "full screen"}, {1, "in a window"}},
         0,
         0,
         entry::fallsBack,
         0,
         0,
         "Window",
         "whether the game plays in a window or on the whole screen"},
        {"controlThreshold",
         entry::controlThreshold,
         0,
         {},
         -1,
         32768,
         entry::taken,
         0,
         0,
         "Mouse threshold",
         "the mouse speed, in mickeys a step, above which the aiming marker turns at once instead "
         "of a tenth of the way: 32768 or more never, below 0 always"},
        keySlotKey("keyUp", 0, KEY_W, "Up", "moves the fighter up"),
        keySlotKey("keyDown", 1, KEY_S, "Down", "moves the fighter down"),
        keySlotKey("keyLeft", 2, KEY_A, "Left", "moves the fighter left"),
        keySlotKey("keyRight", 3, KEY_D, "Right", "moves the fighter right"),
        keySlotKey("keyDefense", 4, KEY_SPACE, "Blast",
                   "sets off the blast around the fighter (it costs 1500 HP)"),
        keySlotKey("keyMenu", 5, KEY_F10, "Restart round", "restarts the round"),
        {"soundVolume",
         entry::soundVolume,
         0,
         {},
         0,
         255,
         entry::clamped,
         192,
         192,
         "Sound volume",
         "the loudness of the sound effects; 0 turns them off"},
        {"musicVolume",
         entry::musicVolume,
         0,
         {},
         0,
         255,
         entry::clamped,
         128,
         128,
         "Music volume",
         "the loudness of the music; 0 turns it off, and with both volumes at 0 the game opens no "
         "sound device"},
        {"joystick",
         entry::joystick,
         0,
         {{0, "off"}, {1, "the first gamepad"}},
         0,
         0,
         entry::kept,
         1,
         1,
         "Gamepad",
         "whether the first gamepad plays; with 0 the game does not even look for one"},
        {"joyDeadZone",
         entry::joyDeadZone,
         0,
         {},
         0,
         90,
         entry::kept,
         25,
         25,
         "Dead zone %",
         "how far, in percent of full travel, a stick must lean before it counts"},
        padAxisKey("joyMoveAxisX", 0, 0, 0, "Move X",
                   "the axis of the moving stick, left and right"),
        padAxisKey("joyMoveAxisY", 1, 1, 1, "Move Y", "the axis of the moving stick, up and down"),
        padAxisKey("joyDpadAxisX", 2, 6, 3, "D-pad X", "the d-pad's axis, left and right"),
        padAxisKey("joyDpadAxisY", 3, 7, 4, "D-pad Y", "the d-pad's axis, up and down"),
        padAxisKey("joyAimAxisX", 4, 3, -1, "Aim X",
                   "the axis of the aiming stick, left and right"),
        padAxisKey("joyAimAxisY", 5, 4, -1, "Aim Y", "the axis of the aiming stick, up and down"),
        padAxisKey("joyFireAxis", 6, 5, -1, "Fire trigger",
                   "the trigger that fires bolts, counted once pulled past its centre by the dead "
                   "zone"),
        padAxisKey("joyOrbitersAxis", 7, 2, 2, "Orbit trigger",
                   "the trigger that calls orbiters, counted the same way"),
        padButtonKey("joyFire", 0, 5, "Fire button", "the button that fires bolts (RB)"),
        padButtonKey("joyOrbiters", 1, 4, "Orbiters button", "the button that calls orbiters (LB)"),
        padButtonKey("joyBlast", 2, 0, "Blast button", "the button that sets off the blast (A)"),
        padButtonKey("joyPause", 3, 7, "Pause button",
                     "the button that pauses and resumes (Start; 9 on a PlayStation pad)"),
        padButtonKey("joyRestart", 4, 6, "Restart button",
                     "the button that restarts the round (Back; 8 on a PlayStation pad)"),
    };
    return table;
}

const configKey* configTable::find(const std::string& word)
{
    const auto& table = keys();
    const auto found = std::find_if(table.begin(), table.end(),
                                    [&word](const configKey& entry) { return word == entry.name; });
    return found == table.end() ? nullptr : &*found;
}

const std::vector<fixedKey>& configTable::fixedKeys()
{
    static const std::vector<fixedKey> keys = {{KEY_TAB, "Tab", "pauses and resumes"},
                                               {KEY_ESC, "Escape", "quits"},
                                               {KEY_M, "M", "mutes the sound"}};
    return keys;
}

bool configTable::open(std::ifstream& file)
{
    // Anything but a regular file counts as no file: a FIFO or a device
    // would hold up the start.
    std::error_code error;
    if (!std::filesystem::is_regular_file(fileName, error))
        return false;
    file.open(fileName);
    return file.is_open();
}

std::string configTable::read(std::istream& file,
                              const std::function<void(const configKey&, int)>& take)
{
    // The whole text is kept so that a stop can be told by its line.
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::istringstream in(text);
    std::string word;
    int value = 0;
    while (in >> word) {
        const configKey* entry = find(word);
        if (entry == nullptr)
            continue;
        const std::size_t keyEnd = in.eof() ? text.size() : static_cast<std::size_t>(in.tellg());
        if (!(in >> value))
            return describeStop(text, keyEnd, word);
        take(*entry, value);
    }
    return "";
}
