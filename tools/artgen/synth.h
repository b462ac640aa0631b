// Small synthesis building blocks shared by the sound effects and the music loops.
#pragma once
#include "artgen.h"

constexpr float kTwoPi = 6.2831853f;
Samples Silence(float seconds);
void Mix(Samples& into, const Samples& add, float at, float gain);
Samples Bell(float freq, float seconds, float decay);
Samples Brass(float freq, float seconds, float attack);
