#pragma once
// Sideways: a results window reaching into the settings windows, which share its rank.
#include "settings/award_settings_window.h"
