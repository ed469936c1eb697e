// Drawing the running level: background, level picture and unit sprites.
#pragma once

#include "fx/scene_frame.hpp"

// The parallax background (following the player at a tenth of its speed), the sky flash as
// StepSkyFlashes left it, and the level picture, one 800 x 600 quad per screen.
void DrawLevelBackground(const SceneFrame& s);
// The background picture's size.
constexpr double kBackgroundWidth = 3200;
constexpr double kBackgroundHeight = 1600;
// Where the background's top-left corner lies on the screen (the sky flash covers it exactly).
double BackgroundX(const Unit& player);
double BackgroundY(const Unit& player);
class cItem;
// An item at screen (x, y), as high as its flight after a pick-up has taken it.
void DrawItem(const cItem& item, double x, double y);
// The unit's sprite: the picture its animation stands at (the rules chose and stepped it).
void DrawUnit(const LevelFrame& f, int i);
