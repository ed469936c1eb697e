// The level driver: restart and the per-frame level step.
#pragma once

void RestartLevel();
void RunLevel();
