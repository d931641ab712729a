#pragma once
// Between the main window and the settings store: the window's geometry, the
// places of its toolbars (dock 0 for floating to 4, row and position), the
// background colour, the listing and grid switches, the recent files and the
// standard block sizes. Restoring applies only what the store holds and
// ignores toolbar places off every screen.

#include "app/settings.h"

class TMainForm;

void ApplyWindowSettings(TMainForm& form, const TSettingsValues& v);
TSettingsValues CaptureWindowSettings(const TMainForm& form);
