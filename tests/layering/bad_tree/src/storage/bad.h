#pragma once
// Storage looking up at the engine: the layering check must reject this tree.
#include "engine/draw_state.h"
