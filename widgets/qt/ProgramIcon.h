#pragma once

#include <QIcon>

namespace glanex {

// The program's icon, an envelope marked "@", in the sizes windows and pictures use (16, 32 and 48 pixels),
// the same pictures the desktop shows for the installed program.
QIcon programIcon();

}  // namespace glanex
