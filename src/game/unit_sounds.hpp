// The sounds units make: steps, swings, impacts, pain, cries, deaths, comments.
#pragma once

void UpdatePlayerSounds();
void UpdateUnitSounds(int i);
