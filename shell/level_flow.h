#pragma once
// Which level is being played, and the moves from one level to the next.

extern int currentLevel;
extern float currentCameraAngleA;
extern float currentCameraAngleB;

// Reads the level list and puts the ball at the start of its first level. False, after one
// line on stderr, when the list has no level at all: there is nothing to play.
bool StartGame();

// The ball at the level's start position, at rest.
void ReturnBallToStart();

// The ball reached the goal: the next level, or the closing message on the last one.
void AdvanceLevel();
