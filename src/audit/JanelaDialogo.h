#pragma once
// What the viewer's windows share: a fixed dialog border with only the system
// menu, Segoe UI 9 points, and their keys (Enter moves to the next control as
// Tab does, Escape closes the window).
#include <QCoreApplication>
#include <QDialog>
#include <QFont>
#include <QKeyEvent>
#include <QSize>

namespace vesko {

constexpr Qt::WindowFlags kBordaDialogo =
    Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;

inline void PrepararJanelaDialogo(QDialog& dialogo, const QString& nome, const QString& titulo, QSize tamanho) {
    dialogo.setObjectName(nome);
    dialogo.setWindowTitle(titulo);
    QFont fonte(QStringLiteral("Segoe UI"));
    fonte.setPointSize(9);
    dialogo.setFont(fonte);
    dialogo.setFixedSize(tamanho);
}

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
