// The options screen.
#pragma once

void RunOptions();
