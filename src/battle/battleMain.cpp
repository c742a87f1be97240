#include "battleMain.h"

#include <cstdio>
#include <ctime>
#include <cstdlib>
#include <string>

#include "dataObj.h"
#include "datafileInspector.h"
#include "main.h"

namespace {

constexpr int cursorPicIndex = 52;
constexpr int arenaFloorGrey = 64;

} // namespace

battleMain::battleMain() = default;

battleMain::~battleMain()
{
    if (arenaBuffer != nullptr)
        destroy_bitmap(arenaBuffer);
    if (buffer != nullptr)
        destroy_bitmap(buffer);
}

void battleMain::setDataObj(dataObj* newData) { data = newData; }

BITMAP* battleMain::getBuffer() { return buffer; }

BITMAP* battleMain::datafilePic(int index) const
{
    return static_cast<BITMAP*>(datafile[index].dat);
}

bool battleMain::loadDatafile()
{
    // Allegro's loader crashes on a damaged file, so the file is checked
    // before it is loaded, and what was loaded is checked again.
    std::string problem = exists(datafileName) ? datafileInspector::fileProblem(datafileName) : "";
    if (problem.empty())
        datafile = data->setDatafile(datafileName);
    std::srand(static_cast<unsigned>(std::time(nullptr)));
    if (problem.empty() && datafile == nullptr && !exists(datafileName)) {
        std::printf("Graphics datafile not found. Now exiting.\n");
        return false;
    }
    if (problem.empty())
        problem = datafileInspector::loadedProblem(datafile);
    if (!problem.empty()) {
        std::printf("Graphics datafile %s is unusable: %s. Now exiting.\n",
                    datafileName, problem.c_str());
        data->releaseDatafile();
        datafile = nullptr;
        return false;
    }
    return true;
}

int battleMain::init()
{
    if (!loadDatafile())
        return -1;
    set_palette(desktop_palette);
    buffer = create_bitmap(SCREEN_W, SCREEN_H);
    install_int_ex(incFrameTick, BPS_TO_TIMER(30));
    arena* field = data->getArena();
    arenaBuffer = create_bitmap(field->getArenaSizeX(), field->getArenaSizeY());
    data->getVideoSettings()->setObjectPositions(field->getArenaSizeX(),
                                                 field->getArenaSizeY());
    data->getInputObj()->getCursor()->setCursorPic(datafilePic(cursorPicIndex));
    return 0;
}

void battleMain::go()
{
    int resolutionX = 0;
    int resolutionY = 0;
    data->getVideoSettings()->getResolution(resolutionX, resolutionY);
    if (frameTick > 0)
        draw(buffer, arenaBuffer);
    data->getInputObj()->processInput(resolutionX, resolutionY, frameTick > 0);
    frameTick = 0;
}

void battleMain::draw(BITMAP* target, BITMAP* arenaTarget)
{
    drawBackground(target, arenaTarget);
    const videoSettings* video = data->getVideoSettings();
    arena* field = data->getArena();
    const fixed scale = video->getArenaScale();
    stretch_blit(arenaTarget, target, 0, 0, field->getArenaSizeX(), field->getArenaSizeY(),
                 video->getArenaPosX(), video->getArenaPosY(),
                 fixtoi(field->getArenaSizeX() * scale), fixtoi(field->getArenaSizeY() * scale));
    drawCursor(target);
}

void battleMain::drawBackground(BITMAP* target, BITMAP* arenaTarget)
{
    int r = 0;
    int g = 0;
    int b = 0;
    data->getVideoSettings()->getBackgroundColor(r, g, b);
    clear_to_color(target, makecol(r, g, b));
    clear_to_color(arenaTarget, makecol(arenaFloorGrey, arenaFloorGrey, arenaFloorGrey));
    arena* field = data->getArena();
    if (field->getArenaPic() != nullptr)
        stretch_sprite(arenaTarget, field->getArenaPic(), 0, 0,
                       field->getArenaSizeX(), field->getArenaSizeY());
}

void battleMain::drawCursor(BITMAP* target)
{
    cursor* mouseCursor = data->getInputObj()->getCursor();
    int x = 0;
    int y = 0;
    mouseCursor->getCursorShouldBe(x, y);
    mouseCursor->setCursor(x, y);
    BITMAP* pic = mouseCursor->getCursorPic();
    if (pic != nullptr)
        draw_sprite(target, pic, x - pic->w / 2, y - pic->h / 2);
}
