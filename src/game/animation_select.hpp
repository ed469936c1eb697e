// Which entry of its animation table a unit shows, and how its animation object plays.
#pragma once

// Sets the unit's animIndex and its animation's mirrored, playing and oneShot flags from the
// unit's state; ends the player's attack when its animation has played through.
void SelectAnimation(int i);
