#pragma once
// The icons of the commands: the desktop's icon theme where it has the icon, the
// Breeze theme shipped with the program's packages otherwise, and a few of our own.

#include <QIcon>

namespace orvex::gui {

// `name` is a freedesktop icon name, or the path of one of our own (":/icons/...").
QIcon commandIcon(const char* name);

}  // namespace orvex::gui
