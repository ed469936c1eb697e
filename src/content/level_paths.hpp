// The files the level load opens besides the kinds' own (which their rows in game/kinds.cpp
// name) and the items' (game/items.hpp), as the game spells them. The content checker's list of
// paths is made from these.
#pragma once

inline constexpr char kLevelTitlePath[] = "data\\levels\\level1\\title.dx";
inline constexpr char kLevelMapPath[] = "data\\levels\\level1\\level.mrv";
inline constexpr char kLevelFolder[] = "data\\levels\\level1\\";
inline constexpr char kLevelBackgroundPath[] = "DATA\\levels\\LEVEL1\\bg.dx";
inline constexpr char kDeathOverlayPath[] = "data\\hud\\rSquare.tga";
inline constexpr char kBloodParticlePath[] = "data\\fx\\blood_particle.tga";
inline constexpr char kBloodSprayFolder[] = "DATA\\fx\\bloodSpray\\";
inline constexpr char kExplosionFolder[] = "DATA\\fx\\blow1\\";
inline constexpr char kExplosionSoundPath[] = "data\\sounds\\fx\\explode0.wav";
// The explosion plays this many frames of its folder.
inline constexpr int kExplosionFrames = 11;
// The voice comments after a beheading or a full combo.
inline constexpr const char* kCommentSoundPaths[] = {
    "DATA\\sounds\\coments\\c1.wav",
    "DATA\\sounds\\coments\\c2.wav",
    "DATA\\sounds\\coments\\c3.wav",
};
