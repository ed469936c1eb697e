// The once-per-run level load.
#pragma once

void LoadLevel();
