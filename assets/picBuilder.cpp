// picbuilder: draws every picture of the game and writes picData.dat, or
// the fighter as a desktop icon.
// Usage: picbuilder <output.dat> | picbuilder --icon <size> <output.png> |
//        picbuilder --status-icons <folder> | picbuilder --icon-source <output.cpp> |
//        picbuilder --ico <output.ico>
#include "datWriter.h"
#include "iconWriter.h"
#include "picArt.h"
#include "pngWriter.h"
#include "shell/picLayout.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace picLayout;

struct PictureRecipe {
    int index;
    const char* role;
    std::function<BITMAP*()> draw;
};

// In file order. Each entry names its index so a slip in the order is
// caught before anything is written.
const std::vector<PictureRecipe>& recipes()
{
    static const std::vector<PictureRecipe> list{
        {floorRound0, "FLOOR_ROUND0", [] { return floorPicture(0); }},
        {floorRound1, "FLOOR_ROUND1", [] { return floorPicture(1); }},
        {floorRound2, "FLOOR_ROUND2", [] { return floorPicture(2); }},
        {seekerDead1, "SEEKER_DEAD1", [] { return seekerPicture(SeekerPose::burst); }},
        {seekerDead2, "SEEKER_DEAD2", [] { return seekerPicture(SeekerPose::fireball); }},
        {seekerDead3, "SEEKER_DEAD3", [] { return seekerPicture(SeekerPose::smoke); }},
        {seekerIdle, "SEEKER_IDLE", [] { return seekerPicture(SeekerPose::idle); }},
        {seekerMoving1, "SEEKER_MOVING1", [] { return seekerMovingPicture(0); }},
        {seekerMoving2, "SEEKER_MOVING2", [] { return seekerMovingPicture(1); }},
        {seekerMoving3, "SEEKER_MOVING3", [] { return seekerMovingPicture(2); }},
        {timerIcon, "ICON_TIMER", timerIconPicture},
        {weakenIcon, "ICON_WEAKEN", [] { return statusIcon(Ailment::weaken); }},
        {hpIcon, "ICON_HP", hpIconPicture},
        {chaserIdle, "CHASER_IDLE", [] { return chaserPicture(ChaserPose::idle); }},
        {chaserDead, "CHASER_DEAD", [] { return chaserPicture(ChaserPose::dead); }},
        {chaserIntro1, "CHASER_INTRO1", [] { return chaserPicture(ChaserPose::intro1); }},
        {chaserIntro2, "CHASER_INTRO2", [] { return chaserPicture(ChaserPose::intro2); }},
        {chaserIntro3, "CHASER_INTRO3", [] { return chaserPicture(ChaserPose::intro3); }},
        {chaserStunned1, "CHASER_STUNNED1", [] { return chaserStunnedPicture(0); }},
        {chaserStunned2, "CHASER_STUNNED2", [] { return chaserStunnedPicture(1); }},
        {chaserStunned3, "CHASER_STUNNED3", [] { return chaserStunnedPicture(2); }},
        {chaserStunned4, "CHASER_STUNNED4", [] { return chaserStunnedPicture(3); }},
        {titleRound0, "TITLE_ROUND0", [] { return bannerPicture("ROUND 1", BannerStyle::title); }},
        {titleRound1, "TITLE_ROUND1", [] { return bannerPicture("ROUND 2", BannerStyle::title); }},
        {titleRound2, "TITLE_ROUND2", [] { return bannerPicture("ROUND 3", BannerStyle::title); }},
        {titleEndRound, "TITLE_END",
         [] { return bannerPicture("ALL CLEAR", BannerStyle::allClear); }},
        {invincibleIcon, "ICON_INVINCIBLE", [] { return statusIcon(Ailment::invincible); }},
        {healOrbPic, "HEAL_ORB", healOrbPicture},
        {juiceBoostIcon, "ICON_JUICE_BOOST", [] { return statusIcon(Ailment::juiceBoost); }},
        {spare29, "SPARE", sparePicture},
        {orbiterIdle, "ORBITER", [] { return orbiterPicture(0); }},
        {orbiterFading, "ORBITER_FADING", [] { return orbiterPicture(1); }},
        {orbiterFaded, "ORBITER_FADED", [] { return orbiterPicture(2); }},
        {juiceBlockIcon, "ICON_JUICE_BLOCK", [] { return statusIcon(Ailment::juiceBlock); }},
        {spare34, "SPARE", sparePicture},
        {aimMarkerPic, "AIM_MARKER", aimMarkerPicture},
        {poleonAttack1a, "POLEON_FIRE1", [] { return poleonPicture(PoleonPose::fire1); }},
        {poleonAttack1b, "POLEON_FIRE2", [] { return poleonPicture(PoleonPose::fire2); }},
        {poleonAttack2a, "POLEON_CALL1", [] { return poleonPicture(PoleonPose::call1); }},
        {poleonAttack2b, "POLEON_CALL2", [] { return poleonPicture(PoleonPose::call2); }},
        {poleonAttack2c, "POLEON_CALL3", [] { return poleonPicture(PoleonPose::call3); }},
        {poleonAttack2d, "POLEON_CALL4", [] { return poleonPicture(PoleonPose::call4); }},
        {poleonDead, "POLEON_DEAD", [] { return poleonPicture(PoleonPose::dead); }},
        {poleonAttack3, "POLEON_BLAST", [] { return poleonPicture(PoleonPose::blast); }},
        {poleonIdle, "POLEON_IDLE", [] { return poleonPicture(PoleonPose::idle); }},
        {poleonMoving, "POLEON_MOVING", [] { return poleonPicture(PoleonPose::moving); }},
        {poleonStunned, "POLEON_STUNNED", [] { return poleonPicture(PoleonPose::stunned); }},
        {blastPic, "BLAST", blastPicture},
        {boltPic, "BOLT", boltPicture},
        {slowIcon, "ICON_SLOW", [] { return statusIcon(Ailment::slow); }},
        {hasteIcon, "ICON_HASTE", [] { return statusIcon(Ailment::haste); }},
        {stunIcon, "ICON_STUN", [] { return statusIcon(Ailment::stun); }},
        {cursorPic, "CURSOR", cursorPicture},
        {lostBanner, "BANNER_LOST", [] { return bannerPicture("YOU LOST", BannerStyle::lost); }},
        {wonBanner, "BANNER_WON", [] { return bannerPicture("ROUND WON", BannerStyle::won); }},
    };
    return list;
}

// "07_SEEKER_MOVING1": the index leads the name so that tools which sort
// objects by name keep them in index order.
std::string objectName(const PictureRecipe& recipe)
{
    char prefix[8];
    std::snprintf(prefix, sizeof prefix, "%02d_", recipe.index);
    return prefix + std::string(recipe.role);
}

bool recipesInOrder()
{
    const auto& list = recipes();
    if (static_cast<int>(list.size()) != objectCount)
        return false;
    for (int i = 0; i < objectCount; ++i)
        if (list[i].index != i)
            return false;
    return true;
}

int writeIcon(int size, const char* path)
{
    if (size <= 0 || size % poleonSide != 0) {
        std::fprintf(stderr, "picbuilder: an icon's size is a multiple of %d\n", poleonSide);
        return 2;
    }
    BITMAP* icon = fighterIcon(size / poleonSide);
    const bool written = writePng(path, icon);
    destroy_bitmap(icon);
    if (!written) {
        std::fprintf(stderr, "picbuilder: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

// The HUD's status icons, enlarged, one PNG each, for the README's legend.
int writeStatusIcons(const std::string& folder)
{
    constexpr int zoom = 2;
    const std::pair<Ailment, const char*> icons[] = {{Ailment::haste, "haste"},
                                                     {Ailment::juiceBlock, "juiceBlock"},
                                                     {Ailment::weaken, "weaken"},
                                                     {Ailment::stun, "stun"},
                                                     {Ailment::invincible, "invincible"},
                                                     {Ailment::juiceBoost, "juiceBoost"},
                                                     {Ailment::slow, "slow"}};
    for (const auto& [ailment, name] : icons) {
        BITMAP* icon = statusIcon(ailment);
        BITMAP* large = create_bitmap(icon->w * zoom, icon->h * zoom);
        stretch_blit(icon, large, 0, 0, icon->w, icon->h, 0, 0, large->w, large->h);
        const std::string path = folder + "/" + name + ".png";
        const bool written = writePng(path.c_str(), large);
        destroy_bitmap(large);
        destroy_bitmap(icon);
        if (!written) {
            std::fprintf(stderr, "picbuilder: cannot write %s\n", path.c_str());
            return 1;
        }
    }
    return 0;
}

int writePictures(const char* path)
{
    if (!recipesInOrder()) {
        std::fprintf(stderr, "picbuilder: picture list is out of index order\n");
        return 1;
    }
    std::vector<NamedPicture> pictures;
    for (const PictureRecipe& recipe : recipes())
        pictures.push_back({objectName(recipe), recipe.draw()});
    const bool written = writeDatafile(path, pictures);
    for (NamedPicture& pic : pictures)
        destroy_bitmap(pic.bitmap);
    if (!written) {
        std::fprintf(stderr, "picbuilder: cannot write %s\n", path);
        return 1;
    }
    return 0;
}

}  // namespace

// Runs one of the writers of a single file and says when it failed.
int writeFile(bool (*writer)(const char*), const char* path)
{
    if (writer(path))
        return 0;
    std::fprintf(stderr, "picbuilder: cannot write %s\n", path);
    return 1;
}

int main(int argc, char** argv)
{
    const std::string mode = argc > 1 ? argv[1] : "";
    const bool icon = argc == 4 && mode == "--icon";
    const bool statusIcons = argc == 3 && mode == "--status-icons";
    const bool iconSource = argc == 3 && mode == "--icon-source";
    const bool ico = argc == 3 && mode == "--ico";
    if (argc != 2 && !icon && !statusIcons && !iconSource && !ico) {
        std::fprintf(stderr,
                     "usage: %s <output.dat> | %s --icon <size> <output.png> | "
                     "%s --status-icons <folder> | %s --icon-source <output.cpp> | "
                     "%s --ico <output.ico>\n",
                     argv[0], argv[0], argv[0], argv[0], argv[0]);
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "picbuilder: cannot start Allegro\n");
        return 1;
    }
    set_color_depth(32);
    if (statusIcons)
        return writeStatusIcons(argv[2]);
    if (iconSource)
        return writeFile(writeIconSource, argv[2]);
    if (ico)
        return writeFile(writeIco, argv[2]);
    return icon ? writeIcon(std::atoi(argv[2]), argv[3]) : writePictures(argv[1]);
}
END_OF_MAIN()
