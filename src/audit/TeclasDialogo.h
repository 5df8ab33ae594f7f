#pragma once
// Keys of the viewer's windows: Enter moves to the next control as Tab does,
// Escape closes the window.
#include <QCoreApplication>
#include <QDialog>
#include <QKeyEvent>

namespace vesko {

// True when the key was handled.
inline bool TratarTeclaDialogo(QDialog& dialogo, const QKeyEvent& evento) {
    if (evento.key() == Qt::Key_Return || evento.key() == Qt::Key_Enter) {
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QCoreApplication::sendEvent(&dialogo, &tab);  // the dialog moves the focus as for Tab
        return true;
    }
    if (evento.key() == Qt::Key_Escape) {
        dialogo.close();
        return true;
    }
    return false;
}

}  // namespace vesko
