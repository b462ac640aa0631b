// records.h — the score records of every finished game and "scores.dat".
#pragma once

void LoadScores();
void SaveScores();
