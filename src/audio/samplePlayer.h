#ifndef BROX_SAMPLEPLAYER_H
#define BROX_SAMPLEPLAYER_H

// Plays sound effects: Allegro's mixer in the game, a recorder in tests.
class samplePlayer {
public:
    virtual ~samplePlayer() = default;
    // pan runs from 0 (left) to 255 (right), as Allegro's does.
    virtual void play(int effect, int pan) = 0;
};

#endif
