#pragma once
// Confirmation of the program's end: the user types CONFIRMO before Ok works.
#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;

namespace vesko {

class TConfirmaSaida : public QDialog {
    Q_OBJECT
public:
    TConfirmaSaida(const QString& NomeSistema, const QString& NomeProduto, QWidget* parent = nullptr);

    QLabel* lblDescricao;
    QLabel* lblConfirmacao;
    QLabel* lblConfirmo;
    QLineEdit* edtConfirmo;
    QPushButton* btnOk;
    QPushButton* btnCancel;

protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

private:
    void edtConfirmoChange(const QString& texto);
};

}  // namespace vesko
