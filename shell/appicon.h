// The application icon IDI_APP, from the images compiled into the program.
#pragma once

#include <QIcon>

QIcon AppIcon();
