// records.cpp — score records. Loading and saving arrive with the score list.
#include "scores/records.h"

void LoadScores() {}
void SaveScores() {}
