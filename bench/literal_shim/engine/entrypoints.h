// engine/entrypoints.h as the literal programs see it: the frozen literal engine's
// declarations, with its names brought into the global namespace, so that the form's own sources
// compile against the literal engine unchanged. Used only by bench/CMakeLists.txt (form_literal).
#pragma once

#include "tests/engine/literal/entrypoints.h"

using namespace literal;  // NOLINT: this header exists to do exactly this
