#pragma once

#include <QGuiApplication>

namespace glanex {

// Shows the busy pointer over every window while it lives, as desktop programs do during a command that
// may take seconds. Scoped to the work itself, so that a dialog or an error box never shows it.
class BusyCursor {
 public:
  BusyCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace glanex
