// Hands the main window's events to the form's handlers and the input devices.
#pragma once

#include "app/platform.hpp"

// Applies one event; returns true when it closes the main window.
bool HandleWindowEvent(const Event& event);
