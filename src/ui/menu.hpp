// The main menu.
#pragma once

void RunMenu();
