// The windows beyond the form: each gets an entry in the form's right-click menu (and on Windows
// in its system menu) with its shortcut, and is created on first use as the form's own top-level
// window, so that the form's modal loop lets it work.
#pragma once

class CCalcWnd;

void InstallToolWindows(CCalcWnd& form);
