// The main menu.
#include "ui/menu.hpp"

// Not built yet: the step draws nothing and changes no flag.
void RunMenu() {}
