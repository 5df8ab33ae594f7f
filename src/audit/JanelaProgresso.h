#pragma once
// A small busy window with an animation and a caption, shown while the
// viewer reads files.
#include <QProgressDialog>

namespace vesko {

class TJanelaProgresso : public QProgressDialog {
    Q_OBJECT
public:
    explicit TJanelaProgresso(const QString& legenda, QWidget* parent = nullptr);
    void Mostrar();  // shows it at once and lets it paint
};

}  // namespace vesko
