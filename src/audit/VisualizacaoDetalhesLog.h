#pragma once
// The long text of one audit record.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace vesko {

class TfrmVisualizaDetalhesLog : public QDialog {
    Q_OBJECT
public:
    TfrmVisualizaDetalhesLog(QWidget* Owner, int TipoAuditoria);
    void SetTipoExcecao(const QString& TipoExcecao);
    void SetDetalhes(const QString& Texto);

    QLabel* lblDetalhesException;
    QPlainTextEdit* MemoDetalhesAuditoria;
    QPushButton* btnOK;

protected:
    void keyPressEvent(QKeyEvent* evento) override;

private:
    int m_tipoAuditoria;
};

}  // namespace vesko
