#ifndef BROX_HOMINGUNIT_H
#define BROX_HOMINGUNIT_H

#include "unit.h"

// The enemies that go for the player's fighter. The chaser stands and aims,
// then dashes along the line it aimed at; the seeker flies straight at the
// fighter and slows down near it.
class homingUnit : public unit {
public:
    // Chaser: aim and dash are its phase lengths in steps; variant 1 makes
    // the large chaser. The seeker ignores the arguments.
    void init(int aim, int dash, int variant) override;
    void processInput(dataObj* data, unitList* list) override;
    void describeState(std::vector<stateField>& fields) const override;

protected:
    fixed heading = 0;   // steered and faced direction
    int phaseTimer = 0;  // steps left in the chaser's current phase
    int aimTime = 0;
    int dashTime = 0;
    bool dashing = false;

private:
    void initChaser(int aim, int dash, int variant);
    void initSeeker();
    void chase(const unit* target);
    void seek(const unit* target);
    void aimAt(const unit& target);
};

#endif
