#pragma once
// The busy cursor for as long as the object lives, given back however the scope
// ends, an exception included.

#include <QApplication>

namespace orvex::gui {

class BusyCursor {
 public:
  BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
  ~BusyCursor() { QApplication::restoreOverrideCursor(); }
};

}  // namespace orvex::gui
