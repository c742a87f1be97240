// brox-settings: the settings window beside the game, or, with --show and
// --set, the same settings for scripts. It edits the broxConfig.txt of the
// folder it starts in, the one the game started there reads; on Windows
// that is the folder of the programs.
#include <allegro.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#ifdef ALLEGRO_WINDOWS
#include <process.h>
#else
#include <unistd.h>
#endif

#include "settingsFile.h"
#include "settingsWindow.h"
#include "shell/main.h"
#include "shell/windowIdentity.h"

namespace {

const char* const usage =
    "usage: brox-settings                      the settings window\n"
    "       brox-settings --show               every setting as the game reads it\n"
    "       brox-settings --set KEY=VALUE ...  changes settings and saves them\n";

void reportReadingStop(const settingsFile& file)
{
    if (!file.getReadingStop().empty())
        std::fprintf(stderr, "brox-settings: %s, %s\n", settingsFile::fileName,
                     file.getReadingStop().c_str());
}

int show(const settingsFile& file)
{
    reportReadingStop(file);
    for (const auto& conflict : file.conflicts())
        std::fprintf(stderr, "brox-settings: %s, %s; the settings window would refuse it\n",
                     settingsFile::fileName, conflict.c_str());
    std::fputs(file.text().c_str(), stdout);
    return 0;
}

// Every change or none: the file is written only when all are accepted,
// checked together so that two actions can swap their keys.
int setAll(settingsFile& file, const std::vector<std::string>& assignments)
{
    reportReadingStop(file);
    const std::string refused = file.assignAll(assignments);
    if (!refused.empty()) {
        std::fprintf(stderr, "brox-settings: %s; nothing was saved\n", refused.c_str());
        return 1;
    }
    const std::string failed = file.save();
    if (!failed.empty()) {
        std::fprintf(stderr, "brox-settings: %s\n", failed.c_str());
        return 1;
    }
    return 0;
}

bool openWindow()
{
    windowIdentity::beforeLibrary();
    if (!startLibrary()) {
        std::fprintf(stderr, "brox-settings: cannot start the Allegro game library: %s\n",
                     allegro_error[0] != '\0' ? allegro_error : "no display to show the window on");
        return false;
    }
    install_keyboard();
    install_timer();
    install_mouse();
    install_joystick(JOY_TYPE_AUTODETECT);
    windowIdentity::beforeGraphicsMode("brox-settings");
    const int depth = desktop_color_depth() > 8 ? desktop_color_depth() : 32;
    set_color_depth(depth);
    if (set_gfx_mode(GFX_AUTODETECT_WINDOWED, 640, 480, 0, 0) != 0
        && set_gfx_mode(GFX_SAFE, 640, 480, 0, 0) != 0) {
        allegro_message("brox-settings: no window could be opened\n%s\n", allegro_error);
        return false;
    }
    set_window_title("Brox settings");
    show_mouse(screen);
    return true;
}

// The game, from beside this program, in the same folder.
int startGame()
{
    char self[1024];
    get_executable_name(self, sizeof self);
#ifdef ALLEGRO_WINDOWS
    const std::string game = (std::filesystem::path(self).parent_path() / "brox.exe").string();
#else
    const std::string game = (std::filesystem::path(self).parent_path() / "brox").string();
#endif
    allegro_exit();
#ifdef ALLEGRO_WINDOWS
    _execl(game.c_str(), game.c_str(), nullptr);
#else
    execl(game.c_str(), game.c_str(), nullptr);
#endif
    std::fprintf(stderr, "brox-settings: cannot start %s\n", game.c_str());
    return 1;
}

int runWindow(settingsFile& file)
{
    if (!openWindow())
        return 1;
    settingsWindow window(file);
    if (window.run() == settingsWindow::play)
        return startGame();
    return 0;
}

}  // namespace

int main(int argc, char* argv[])
{
#ifdef ALLEGRO_WINDOWS
    // Started from Explorer or a shortcut, the folder may be any; the game's
    // files are beside the programs.
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::path(argv[0]).parent_path(), ignored);
#endif
    const std::vector<std::string> args(argv + 1, argv + argc);
    settingsFile file;
    file.load();
    if (args.empty())
        return runWindow(file);
    if (args.size() == 1 && args[0] == "--show")
        return show(file);
    if (args.size() > 1 && args[0] == "--set")
        return setAll(file, {args.begin() + 1, args.end()});
    std::fputs(usage, args[0] == "--help" ? stdout : stderr);
    return args[0] == "--help" ? 0 : 2;
}
END_OF_MAIN()
