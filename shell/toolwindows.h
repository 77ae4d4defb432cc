// The windows beyond the form, each opened from the form's right-click menu (and on Windows its
// system menu) and by its own key; created on first use, as children of the form so that they
// take input while the form runs.
#pragma once

class CCalcWnd;

void InstallToolWindows(CCalcWnd& form);
