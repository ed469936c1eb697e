// The explosion.
#include "fx/explosion.hpp"

// Not built yet: nothing is loaded or played.
void BlowInit(cBlow& /*blow*/) {}
void BlowPlay(cBlow& /*blow*/, int32_t /*width*/, int32_t /*height*/, double /*x*/, double /*y*/,
              double /*depth*/, int32_t /*volume*/, uint8_t& /*active*/, double& /*soundGate*/) {}
