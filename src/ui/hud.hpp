// The HUD over the running level.
#pragma once

void LoadHud();
