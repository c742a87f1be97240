#include "settingsWindow.h"

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "audio/musicDevice.h"
#include "audio/soundDevice.h"
#include "audio/soundEffects.h"
#include "input/gamepad.h"
#include "shell/configTable.h"

namespace {

constexpr int width = 640;
constexpr int height = 480;
constexpr int messageWidth = 76;  // characters of the 8-pixel font across the window
// Seconds a pad control is waited for.
constexpr int padWaitSeconds = 10;
// Half of full travel away from where it rested: a deliberate push.
constexpr int padAxisPush = 64;

settingsWindow* activeWindow = nullptr;
std::atomic<bool> closeRequested{false};

void onCloseButton() { closeRequested = true; }

// The table's settings of one kind, in its order.
std::vector<const configKey*> settingsOf(configKey::target what)
{
    std::vector<const configKey*> found;
    for (const auto& entry : configTable::keys())
        if (entry.what == what)
            found.push_back(&entry);
    return found;
}

const std::vector<const configKey*> keyActions = settingsOf(configKey::keySlot);
// The pad's buttons, then its axes, as the window lists them.
const std::vector<const configKey*> padControls = [] {
    std::vector<const configKey*> controls = settingsOf(configKey::padButton);
    const std::vector<const configKey*> axes = settingsOf(configKey::padAxis);
    controls.insert(controls.end(), axes.begin(), axes.end());
    return controls;
}();
const int padButtonCount = static_cast<int>(settingsOf(configKey::padButton).size());
const configKey& resolutionSetting = *settingsOf(configKey::resolution).front();
const configKey& depthSetting = *settingsOf(configKey::colorDepth).front();
const configKey& windowedSetting = *settingsOf(configKey::windowed).front();

// "Keys (Tab, Escape and M are fixed)"
std::string fixedKeysHeading()
{
    const auto& fixed = configTable::fixedKeys();
    std::string heading = "Keys (";
    for (std::size_t i = 0; i < fixed.size(); ++i)
        heading += std::string(i == 0                  ? ""
                               : i + 1 == fixed.size() ? " and "
                                                       : ", ")
                   + fixed[i].name;
    return heading + " are fixed)";
}

char* text(const char* literal) { return const_cast<char*>(literal); }

DIALOG object(DIALOG_PROC proc, int x, int y, int w, int h, void* dp = nullptr)
{
    return DIALOG{proc, x, y, w, h, 0, 0, 0, 0, 0, 0, dp, nullptr, nullptr};
}

DIALOG exitButton(int x, int y, int w, char* label)
{
    DIALOG button = object(d_button_proc, x, y, w, 14, label);
    button.flags = D_EXIT;
    return button;
}

// The value beside a slider follows it while it moves.
int showSliderValue(void* label, int value)
{
    auto* shown = static_cast<DIALOG*>(label);
    std::snprintf(static_cast<char*>(shown->dp), 12, "%-5d", value);
    object_message(shown, MSG_DRAW, 0);
    return D_O_K;
}

int volumeSliderProc(int msg, DIALOG* d, int c)
{
    const int result = d_slider_proc(msg, d, c);
    // A click returns once the mouse lets the knob go.
    if (activeWindow != nullptr
        && (msg == MSG_CLICK || (msg == MSG_CHAR && (result & D_USED_CHAR))))
        activeWindow->sliderLetGo(d);
    return result;
}

// The window's close button, seen while the dialog waits for input.
int closeWatchProc(int msg, DIALOG*, int)
{
    return msg == MSG_IDLE && closeRequested ? D_CLOSE : D_O_K;
}

std::string valueName(int value) { return value < 0 ? "none" : std::to_string(value); }

// A refusal names the actions as the window does ("Up", not "keyUp").
std::string inPlayersWords(std::string message)
{
    for (const configKey* action : keyActions)
        for (auto at = message.find(action->name); at != std::string::npos;
             at = message.find(action->name))
            message.replace(at, std::strlen(action->name), action->label);
    return message;
}

}  // namespace

settingsWindow::settingsWindow(settingsFile& edited) : file(edited)
{
    keysHeading = fixedKeysHeading();
    keyLabels.resize(keyActions.size());
    padLabels.resize(padControls.size());
    pathText = "File: " + (std::filesystem::current_path() / settingsFile::fileName).string();
    if (pathText.size() > messageWidth)
        pathText = "File: ..." + pathText.substr(pathText.size() - messageWidth + 9);
}

settingsWindow::~settingsWindow()
{
    if (activeWindow == this)
        activeWindow = nullptr;
    if (musicExcerpt != nullptr)
        destroy_sample(musicExcerpt);
}

void settingsWindow::addObject(DIALOG entry) { dialog.push_back(entry); }

void settingsWindow::build()
{
    dialog.clear();
    addObject(object(d_clear_proc, 0, 0, 0, 0));
    addObject(object(d_ctext_proc, width / 2, 6, 0, 8, text("Brox settings")));
    addObject(object(d_text_proc, 16, 22, 0, 8, text(pathText.c_str())));

    addObject(object(d_text_proc, 16, 44, 0, 8, text("Screen")));
    firstResolution = static_cast<int>(dialog.size());
    for (std::size_t i = 0; i < resolutionSetting.choices.size(); ++i) {
        DIALOG radio = object(d_radio_proc, 16, 58 + 14 * static_cast<int>(i), 120, 10,
                              text(resolutionSetting.choices[i].label));
        radio.d1 = 1;
        addObject(radio);
    }
    windowedRadio = static_cast<int>(dialog.size());
    for (int i = 0; i < 2; ++i) {
        DIALOG radio = object(d_radio_proc, 160, 58 + 14 * i, 120, 10,
                              text(windowedSetting.labelOf(i == 0 ? 1 : 0)));
        radio.d1 = 2;
        addObject(radio);
    }
    fullScreenRadio = windowedRadio + 1;
    firstDepth = static_cast<int>(dialog.size());
    for (std::size_t i = 0; i < depthSetting.choices.size(); ++i) {
        DIALOG radio = object(d_radio_proc, 16, 108 + 14 * static_cast<int>(i), 140, 10,
                              text(depthSetting.choices[i].label));
        radio.d1 = 3;
        addObject(radio);
    }

    addObject(object(d_text_proc, 16, 150, 0, 8, text("Sound")));
    const configKey* const volumes[] = {configTable::find("soundVolume"),
                                        configTable::find("musicVolume")};
    for (int i = 0; i < 2; ++i) {
        const int y = 166 + 18 * i;
        addObject(object(d_text_proc, 16, y + 2, 0, 8, text(volumes[i]->label)));
        DIALOG slider = object(volumeSliderProc, 130, y, 130, 12);
        slider.d1 = volumes[i]->high;
        addObject(slider);
        addObject(object(d_text_proc, 268, y + 2, 40, 8, sliderLabels[i].data()));
        (i == 0 ? soundVolumeSlider : musicVolumeSlider) = static_cast<int>(dialog.size()) - 2;
    }

    addObject(object(d_text_proc, 16, 220, 0, 8, text("Mouse threshold (mickeys a step)")));
    DIALOG threshold = object(d_edit_proc, 16, 234, 64, 12, thresholdText.data());
    threshold.d1 = static_cast<int>(thresholdText.size()) - 1;
    thresholdEdit = static_cast<int>(dialog.size());
    addObject(threshold);

    addObject(object(d_text_proc, 16, 262, 0, 8, text("Gamepad axes (choose, then move it)")));
    addObject(object(d_text_proc, 344, 44, 0, 8, text(keysHeading.c_str())));
    firstKeyButton = static_cast<int>(dialog.size());
    for (std::size_t i = 0; i < keyActions.size(); ++i)
        addObject(exitButton(344, 58 + 18 * static_cast<int>(i), 220, keyLabels[i].data()));

    addObject(object(d_text_proc, 344, 176, 0, 8, text("Gamepad")));
    padCheck = static_cast<int>(dialog.size());
    addObject(object(d_check_proc, 344, 190, 220, 10, text("use the first gamepad")));
    const configKey& deadZoneSetting = *configTable::find("joyDeadZone");
    addObject(object(d_text_proc, 344, 210, 0, 8, text(deadZoneSetting.label)));
    DIALOG deadZone = object(d_slider_proc, 444, 208, 100, 12);
    deadZone.d1 = deadZoneSetting.high;
    deadZoneSlider = static_cast<int>(dialog.size());
    addObject(deadZone);
    addObject(object(d_text_proc, 552, 210, 40, 8, sliderLabels[2].data()));
    firstPadButton = static_cast<int>(dialog.size());
    for (int i = 0; i < static_cast<int>(padControls.size()); ++i) {
        const bool button = i < padButtonCount;
        const int axis = i - padButtonCount;
        const int x = button ? 344 : 16 + 164 * (axis / 4);
        const int y = button ? 230 + 18 * i : 276 + 18 * (axis % 4);
        addObject(exitButton(x, y, button ? 220 : 156, padLabels[i].data()));
    }

    firstMessageLine = static_cast<int>(dialog.size());
    for (int i = 0; i < 3; ++i)
        addObject(object(d_text_proc, 16, 370 + 12 * i, 0, 8, messageLines[i].data()));
    playButton = static_cast<int>(dialog.size());
    addObject(exitButton(150, 430, 100, text("Play")));
    saveButton = playButton + 1;
    addObject(exitButton(270, 430, 100, text("Save")));
    cancelButton = playButton + 2;
    addObject(exitButton(390, 430, 100, text("Cancel")));
    closeWatch = static_cast<int>(dialog.size());
    addObject(object(closeWatchProc, 0, 0, 0, 0));
    addObject(object(d_yield_proc, 0, 0, 0, 0));
    addObject(DIALOG{});

    // The sliders' values sit in the objects after them.
    for (int slider : {soundVolumeSlider, musicVolumeSlider, deadZoneSlider}) {
        dialog[slider].dp2 = reinterpret_cast<void*>(showSliderValue);
        dialog[slider].dp3 = &dialog[slider + 1];
    }
    set_dialog_color(dialog.data(), makecol(225, 230, 240), makecol(28, 32, 48));
}

void settingsWindow::showValues()
{
    for (std::size_t i = 0; i < resolutionSetting.choices.size(); ++i)
        if (file.get(resolutionSetting.name) == resolutionSetting.choices[i].value)
            dialog[firstResolution + i].flags |= D_SELECTED;
    dialog[file.get("windowed") == 1 ? windowedRadio : fullScreenRadio].flags |= D_SELECTED;
    for (std::size_t i = 0; i < depthSetting.choices.size(); ++i)
        if (file.get(depthSetting.name) == depthSetting.choices[i].value)
            dialog[firstDepth + i].flags |= D_SELECTED;
    if (file.get("joystick") == 1)
        dialog[padCheck].flags |= D_SELECTED;
    const std::pair<int, const char*> sliders[] = {{soundVolumeSlider, "soundVolume"},
                                                   {musicVolumeSlider, "musicVolume"},
                                                   {deadZoneSlider, "joyDeadZone"}};
    for (const auto& [slider, setting] : sliders) {
        dialog[slider].d2 = file.get(setting);
        std::snprintf(static_cast<char*>(dialog[slider + 1].dp), 12, "%-5d", dialog[slider].d2);
    }
    std::snprintf(thresholdText.data(), thresholdText.size(), "%d", file.get("controlThreshold"));
    showLabels();
}

void settingsWindow::showLabels()
{
    for (std::size_t i = 0; i < keyActions.size(); ++i)
        std::snprintf(keyLabels[i].data(), keyLabels[i].size(), "%s: %s", keyActions[i]->label,
                      settingsFile::keyName(file.get(keyActions[i]->name)).c_str());
    for (std::size_t i = 0; i < padControls.size(); ++i)
        std::snprintf(padLabels[i].data(), padLabels[i].size(), "%s: %s", padControls[i]->label,
                      valueName(file.get(padControls[i]->name)).c_str());
}

// Up to three lines, broken between words, each padded so that it covers
// whatever stood there before.
void settingsWindow::say(const std::string& message)
{
    std::string rest = message;
    for (auto& line : messageLines) {
        std::string shown = rest.substr(0, messageWidth);
        if (rest.size() > messageWidth && shown.rfind(' ') != std::string::npos)
            shown = shown.substr(0, shown.rfind(' '));
        rest = rest.substr(std::min(rest.size(), shown.size() + 1));
        shown.resize(messageWidth, ' ');
        std::snprintf(line.data(), line.size(), "%s", shown.c_str());
    }
    redrawMessage();
}

void settingsWindow::redrawMessage()
{
    if (dialog.empty())
        return;
    for (int i = 0; i < 3; ++i)
        object_message(&dialog[firstMessageLine + i], MSG_DRAW, 0);
}

void settingsWindow::captureKey(int index)
{
    const configKey& chosen = *keyActions[index];
    say(std::string("Press the key for ") + chosen.label + ".");
    clear_keybuf();
    const int code = readkey() >> 8;
    const std::string refused = file.set(chosen.name, code);
    showLabels();
    say(refused.empty() ? std::string(chosen.label) + " is now " + settingsFile::keyName(code) + "."
                        : inPlayersWords(refused));
}

void settingsWindow::capturePad(int index)
{
    const configKey& chosen = *padControls[index];
    const bool isButton = index < padButtonCount;
    if (num_joysticks == 0) {
        say("No gamepad found: connect one, then open the settings again.");
        return;
    }
    say(std::string(isButton ? "Press the button for " : "Move the stick or trigger for ")
        + chosen.label + " (Backspace: none, Escape: keep it as it is).");
    clear_keybuf();
    poll_joystick();
    const std::vector<int> resting = gamepad::axisPositions();
    constexpr int notYet = gamepad::noInput - 1;
    int found = notYet;
    for (int waited = 0; waited < padWaitSeconds * 100 && found == notYet; ++waited) {
        rest(10);
        poll_joystick();
        if (keypressed()) {
            const int pressed = readkey() >> 8;
            if (pressed == KEY_ESC)
                break;
            if (pressed == KEY_BACKSPACE)
                found = gamepad::noInput;
        } else if (isButton) {
            if (gamepad::heldButton() != gamepad::noInput)
                found = gamepad::heldButton();
        } else {
            const std::vector<int> now = gamepad::axisPositions();
            for (std::size_t axis = 0; axis < now.size() && found == notYet; ++axis)
                if (std::abs(now[axis] - resting[axis]) > padAxisPush)
                    found = static_cast<int>(axis);
        }
    }
    if (found == notYet) {
        say(std::string(chosen.label) + " stays as it was.");
        return;
    }
    const std::string refused = file.set(chosen.name, found);
    showLabels();
    say(refused.empty() ? std::string(chosen.label) + " is now " + valueName(found) + "."
                        : refused);
}

bool settingsWindow::saveChanges()
{
    char* end = nullptr;
    const long threshold = std::strtol(thresholdText.data(), &end, 10);
    if (end == thresholdText.data() || *end != '\0') {
        say("The mouse threshold must be a whole number; nothing was saved.");
        return false;
    }
    const auto selected = [this](int index) { return (dialog[index].flags & D_SELECTED) != 0; };
    const std::pair<const char*, int> changes[] = {
        {"resolution", selected(firstResolution + 2)   ? 1024
                       : selected(firstResolution + 1) ? 800
                                                       : 640},
        {"windowed", selected(windowedRadio) ? 1 : 0},
        {"colorDepth", selected(firstDepth + 1) ? 32 : 24},
        {"soundVolume", dialog[soundVolumeSlider].d2},
        {"musicVolume", dialog[musicVolumeSlider].d2},
        {"joystick", selected(padCheck) ? 1 : 0},
        {"joyDeadZone", dialog[deadZoneSlider].d2},
        {"controlThreshold", static_cast<int>(threshold)}};
    for (const auto& [setting, value] : changes) {
        const std::string refused = file.set(setting, value);
        if (!refused.empty()) {
            say(refused + "; nothing was saved.");
            return false;
        }
    }
    const std::string failed = file.save();
    say(failed.empty() ? "Saved. The game uses these settings from its next start." : failed);
    return failed.empty();
}

void settingsWindow::sliderLetGo(const DIALOG* slider)
{
    if (!sound)
        return;
    if (slider == &dialog[musicVolumeSlider]) {
        playMusicExcerpt(slider->d2);
        return;
    }
    set_volume(slider->d2, -1);
    sound->play(soundHealTaken, 128);
}

// The first round's opening, faded in and out, made as the game makes it.
void settingsWindow::playMusicExcerpt(int volume)
{
    constexpr int rate = musicSequencer::sampleRate;
    constexpr int length = 2 * rate;
    constexpr int fadeOut = rate / 5;
    if (musicExcerpt != nullptr) {
        stop_sample(musicExcerpt);
        destroy_sample(musicExcerpt);
    }
    musicExcerpt = create_sample(16, FALSE, rate, length);
    if (musicExcerpt == nullptr)
        return;
    auto* samples = static_cast<std::uint16_t*>(musicExcerpt->data);
    musicDevice music;
    music.setLevel(volume);
    music.startPiece(musicRound0);
    music.mix(samples, length - fadeOut);
    music.setLevel(0);
    music.mix(samples + length - fadeOut, fadeOut);
    set_volume(255, -1);
    play_sample(musicExcerpt, 255, 128, 1000, 0);
}

settingsWindow::outcome settingsWindow::run()
{
    activeWindow = this;
    closeRequested = false;
    set_close_button_callback(onCloseButton);
    sound = std::make_unique<soundDevice>();
    if (!sound->start(255, 255))
        sound.reset();
    build();
    showValues();
    const std::string& stop = file.getReadingStop();
    say(stop.empty() ? "Choose with the mouse or Tab and Enter. Save writes the file; Play saves "
                       "and starts the game; Escape cancels."
                     : std::string(settingsFile::fileName) + ", " + stop + ".");
    int focus = -1;
    for (;;) {
        const int chosen = do_dialog(dialog.data(), focus);
        focus = chosen;
        if (chosen < 0 || chosen == cancelButton || chosen == closeWatch)
            return cancelled;
        if (chosen == playButton && saveChanges())
            return play;
        if (chosen == saveButton)
            saveChanges();
        if (chosen >= firstKeyButton
            && chosen < firstKeyButton + static_cast<int>(keyActions.size()))
            captureKey(chosen - firstKeyButton);
        if (chosen >= firstPadButton
            && chosen < firstPadButton + static_cast<int>(padControls.size()))
            capturePad(chosen - firstPadButton);
    }
}
