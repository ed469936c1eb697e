// Lightning in the sky behind the level, with thunder.
#pragma once

void DrawSkyFlashes();
