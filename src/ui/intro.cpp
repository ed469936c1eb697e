// The intro slide show.
#include "ui/intro.hpp"

// Not built yet: the step draws nothing and changes no flag.
void RunIntro(const std::string& /*folder*/, int /*slides*/, double /*secondsPerSlide*/, uint8_t& /*done*/,
              double /*frameTime*/) {}
