// Placing a round. The rows keep the places they were read or given with; the placing routines compute
// them from the row orders.
#include "model/D_Result.h"

void TResultatManager::CalcPlacering() {}
