#pragma once

// The stage's widgets and look, for the stage window.

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
