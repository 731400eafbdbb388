#pragma once

// The stage's widgets and look, for the stage window. The layout pass calls its element enum
// StageElement, as the draw engine's stage hooks do; inside the stage window "StageElement" means
// the engine's, so the layout's enum is seen here under the name LayoutElement. Nothing the window
// calls takes that enum, so the rename stays inside this header's users.

#define StageElement LayoutElement
#include "stage/custom_background.h"
#include "stage/layout_edit.h"
#include "stage/marquee_label.h"
#include "stage/picture_button.h"
#include "stage/prize_picture_panel.h"
#include "stage/rolling_panel.h"
#include "stage/stage_elements.h"
#include "stage/stage_label.h"
#include "stage/stage_layout.h"
#include "stage/stage_look.h"
#undef StageElement
