#pragma once
// Key presses that play the shipped levels (game/map/jeu.txt), shared by every test that
// plays the game: the physics harness and the end-to-end run through the real loop.
//
// Format: each press is a key and the time at which it is pressed, in milliseconds counted from
// the moment the level began, that is the first turn of the game for the first level, the turn
// of the level change for the others, and the turn of the return to the start after a fall.
// Presses come in order, at least 100 ms apart, and each acts once, like one key-down message.
//
// The keys: I and K push the ball away from and toward the camera (along z), L and J to the
// right and to the left (along x), M jumps. A push changes the speed by 0.001 per ms and
// nothing slows the ball down, so every move is stopped with the opposite key. Two pushes give
// 0.002 per ms: 2 cells a second on these levels, whose tiles are 1 unit apart.
//
// The scripts leave wide margins: they win with the clock moving 1 to 19 ms a turn and with
// each press up to a tenth of a second late. One thing they cannot absorb: the ball's first
// step on a new level spans the time the next-level box stayed open, and after about 10 s of
// it the ball drops into the ground it should land on. Dismiss that box sooner.
//
// The levels, in the grid files' terms (rows along x, columns along z):
//   run     flat ground between two rails; a pit to the right of the start.
//   holes   three rows of pits across the way, each with a gap on another side.
//   steps   a step up, a ridge, a drop, and a barrier that is low only on the left.
//   summit  pits, two steps up, and the goal on a tower one step higher still.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace content {

struct KeyPress {
    std::uint32_t atMs;  // after the level began
    char key;            // 'I', 'K', 'J', 'L' or 'M'
};

struct LevelScript {
    const char* header;            // the level's line in map/jeu.txt
    std::vector<KeyPress> keys;
    std::uint32_t goalWithinMs;    // the ball is in the goal area before this time
};

// One script per line of map/jeu.txt, in playing order. Each reaches the goal without a fall.
inline const std::vector<LevelScript>& winningScripts()
{
    static const std::vector<LevelScript> scripts = {
        {"map/run.txt",
         {
             // The game opens with the ball high above (2, 2, 2); it lands within a second.
             {1500, 'I'}, {1600, 'I'},  // straight ahead, to the goal at column 14
         },
         10000},
        {"map/holes.txt",
         {
             {800, 'L'}, {900, 'L'},    // right, to the gap of the first pits (x 5.5)
             {1000, 'I'}, {1100, 'I'},  // ahead
             {1800, 'J'}, {1900, 'J'},  // stop at x 5.5
             {3900, 'J'}, {4000, 'J'},  // past the first pits: left, to the next gap (x 2.5)
             {5400, 'L'}, {5500, 'L'},  // stop at x 2.5
             {7400, 'L'}, {7500, 'L'},  // past the second pits: right, to the middle (x 4)
             {8150, 'J'}, {8250, 'J'},  // stop at x 4, the goal is straight ahead
         },
         15000},
        {"map/steps.txt",
         {
             {1000, 'I'}, {1100, 'I'},  // ahead
             {2550, 'M'},               // jump onto the step at column 6
             {3800, 'J'}, {4800, 'L'},  // on the step: one cell to the left (x 2.5)
             {5050, 'M'},               // jump onto the ridge at column 11, then drop down
             {9050, 'M'},               // jump the barrier at column 20 where it is low
         },
         15000},
        {"map/summit.txt",
         {
             {600, 'L'}, {700, 'L'},    // right, to the gap of the first pits (x 6.5)
             {1000, 'I'}, {1100, 'I'},  // ahead
             {1600, 'J'}, {1700, 'J'},  // stop at x 6.5
             {5050, 'M'},               // jump onto the first step at column 11
             {5900, 'J'}, {6000, 'J'},  // left, around the pits at columns 15 and 16 (x 2.5)
             {7900, 'L'}, {8000, 'L'},  // stop at x 2.5
             {8900, 'L'}, {9000, 'L'},  // past the pits: right, in line with the tower (x 4.5)
             {9900, 'J'}, {10000, 'J'}, // stop at x 4.5
             {10100, 'M'},              // jump onto the second step at column 21
             {12050, 'M'},              // jump onto the tower at column 25; its top is the goal
         },
         16000},
    };
    return scripts;
}

// A deliberate fall: on the level of this index, straight ahead into the first pits. The ball
// drops below -5 and comes back to the level's start; that level's winning script then
// wins it from there.
struct FallScript {
    std::size_t level;  // index in map/jeu.txt
    std::vector<KeyPress> keys;
    std::uint32_t fallWithinMs;
};

inline const FallScript& fallScript()
{
    static const FallScript script = {1, {{1000, 'I'}, {1100, 'I'}}, 6000};
    return script;
}

}  // namespace content
