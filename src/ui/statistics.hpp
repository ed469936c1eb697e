// The statistics screen at the end of the level.
#pragma once

void RunStatistics();
