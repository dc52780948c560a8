#pragma once
// One picture of the game: the grid, the goal marker and the ball, seen from behind the ball.

void DrawFrame();
void DisableLighting();
// A fixed camera at (0, 3, -5) looking at the origin. Unused: each frame sets its own view.
void SetViewAndProjection();
