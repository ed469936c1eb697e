// The screens' own state as a whole.
#pragma once

// Puts every screen back to its start-of-run state: no pictures loaded, first page, no press
// pending. The program starts that way; tests call it between runs.
void ResetFrontEnd();
