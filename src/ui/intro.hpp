// The intro slide show.
#pragma once

#include <cstdint>
#include <string>

void RunIntro(const std::string& folder, int slides, double secondsPerSlide, uint8_t& done, double frameTime);
