// The blood fountain's particles.
#include "fx/particles.hpp"

// Not built yet: no particle is laid out, spawned or drawn.
void cParticle::ParticleInit(int32_t /*spread*/, int32_t /*height*/, int32_t /*count*/,
                             int32_t /*rate*/) {}
void cParticle::ParticleDraw(double /*x*/, double /*y*/, double /*camX*/, double /*camY*/,
                             double /*frameTime*/) {}
