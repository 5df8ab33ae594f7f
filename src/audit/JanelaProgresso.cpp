#include "audit/JanelaProgresso.h"

#include <QCoreApplication>

namespace vesko {

TJanelaProgresso::TJanelaProgresso(const QString& legenda, QWidget* parent) : QProgressDialog(parent) {
    setWindowTitle(QStringLiteral("Integrador Vesko"));
    setLabelText(legenda);
    setCancelButton(nullptr);
    setRange(0, 0);  // animation, no percentage
    setMinimumDuration(0);
    setWindowModality(Qt::ApplicationModal);
    setAutoClose(false);
    setAutoReset(false);
}

void TJanelaProgresso::Mostrar() {
    show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace vesko
