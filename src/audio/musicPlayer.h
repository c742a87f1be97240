#ifndef BROX_MUSICPLAYER_H
#define BROX_MUSICPLAYER_H

// Plays the music: an audio stream in the game, a recorder in tests.
class musicPlayer {
public:
    virtual ~musicPlayer() = default;
    // The piece from its beginning, taking over from whatever played.
    virtual void startPiece(int piece) = 0;
    // 0 (silent) to 255.
    virtual void setLevel(int level) = 0;
};

#endif
