#pragma once

#include <QIcon>

namespace glanex {

// The program's icon, an envelope marked "@", drawn at the sizes windows and pictures use.
QIcon programIcon();

}  // namespace glanex
