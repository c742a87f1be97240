#ifndef BROX_SETTINGSWINDOW_H
#define BROX_SETTINGSWINDOW_H

#include <allegro.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "settingsFile.h"

class soundDevice;

// The settings window, on Allegro's own dialogs: the screen, the sound, the
// keys, the mouse and the gamepad of a settings file, which it saves only
// when asked. Needs Allegro with a graphics mode, keyboard, mouse and timer.
class settingsWindow {
public:
    enum outcome {
        cancelled,
        play
    };

    explicit settingsWindow(settingsFile& file);
    ~settingsWindow();
    settingsWindow(const settingsWindow&) = delete;
    settingsWindow& operator=(const settingsWindow&) = delete;

    // Until the player leaves: Play (saved), Cancel, Escape or the close
    // button. Save keeps the window open.
    outcome run();

    // A volume slider let go: its sound at its volume, so the player hears it.
    void sliderLetGo(const DIALOG* slider);

private:
    void build();
    void addObject(DIALOG object);
    void showValues();
    void showLabels();
    void say(const std::string& message);
    void redrawMessage();
    void captureKey(int action);
    void capturePad(int control);
    bool saveChanges();
    void playMusicExcerpt(int volume);

    settingsFile& file;
    std::vector<DIALOG> dialog;
    std::unique_ptr<soundDevice> sound;
    // The excerpt the music slider plays, kept while it sounds.
    SAMPLE* musicExcerpt = nullptr;
    int soundVolumeSlider = 0;
    int musicVolumeSlider = 0;
    int deadZoneSlider = 0;
    int firstResolution = 0;
    int windowedRadio = 0;
    int fullScreenRadio = 0;
    int firstDepth = 0;
    int padCheck = 0;
    int thresholdEdit = 0;
    int firstKeyButton = 0;
    int firstPadButton = 0;
    int firstMessageLine = 0;
    int playButton = 0;
    int saveButton = 0;
    int cancelButton = 0;
    int closeWatch = 0;
    // The texts the dialog objects point at.
    std::array<std::array<char, 80>, 3> messageLines{};
    std::vector<std::array<char, 40>> keyLabels;
    std::vector<std::array<char, 40>> padLabels;
    std::array<std::array<char, 12>, 3> sliderLabels{};
    std::array<char, 8> thresholdText{};
    std::string pathText;
    std::string keysHeading;
};

#endif
