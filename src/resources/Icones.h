#pragma once
// The tray icons (0 idle, 1 export running, 2 import running) and the 24 x 24
// menu images of the tray menu, by their index in the menu's image list.
#include <QIcon>

namespace vesko {

QIcon IconeBandeja(int indice);
QIcon ImagemMenu(int indice);

}  // namespace vesko
