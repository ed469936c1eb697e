// The training pages.
#pragma once

void RunTraining();
