#include "audit/VisualizacaoDetalhesLog.h"

#include <QFontDatabase>
#include <QKeyEvent>

#include "audit/JanelaDialogo.h"
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

namespace vesko {

TfrmVisualizaDetalhesLog::TfrmVisualizaDetalhesLog(QWidget* Owner, int TipoAuditoria)
    : QDialog(Owner, kBordaDialogo), m_tipoAuditoria(TipoAuditoria) {
    PrepararJanelaDialogo(*this, QStringLiteral("frmVisualizaDetalhesLog"),
                          QStringLiteral("Visualização de detalhes da auditoria"), QSize(784, 311));

    lblDetalhesException = new QLabel(this);
    lblDetalhesException->setObjectName(QStringLiteral("lblDetalhesException"));
    lblDetalhesException->setGeometry(10, 10, 765, 16);
    MemoDetalhesAuditoria = new QPlainTextEdit(this);
    MemoDetalhesAuditoria->setObjectName(QStringLiteral("MemoDetalhesAuditoria"));
    MemoDetalhesAuditoria->setGeometry(10, 26, 765, 241);
    MemoDetalhesAuditoria->setReadOnly(true);
    MemoDetalhesAuditoria->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont mono(QStringLiteral("Consolas"));
    mono.setPointSize(9);
    mono.setStyleHint(QFont::Monospace);
    if (!QFontDatabase::families().contains(mono.family())) mono.setFamily(QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    MemoDetalhesAuditoria->setFont(mono);
    btnOK = new QPushButton(QStringLiteral("&OK"), this);
    btnOK->setObjectName(QStringLiteral("btnOK"));
    btnOK->setGeometry(713, 276, 61, 25);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    lblDetalhesException->setText(TipoAuditoria == 0 ? QStringLiteral("Detalhes da exceção ocorrida - TExceptionClassName")
                                                     : QStringLiteral("Detalhes da auditoria"));
}

void TfrmVisualizaDetalhesLog::SetTipoExcecao(const QString& TipoExcecao) {
    lblDetalhesException->setText(m_tipoAuditoria == 0
                                      ? QStringLiteral("Detalhes da exceção ocorrida - %1").arg(TipoExcecao)
                                      : QStringLiteral("Detalhes da auditoria"));
}

void TfrmVisualizaDetalhesLog::SetDetalhes(const QString& Texto) { MemoDetalhesAuditoria->setPlainText(Texto); }

void TfrmVisualizaDetalhesLog::keyPressEvent(QKeyEvent* evento) {
    if (!TratarTeclaDialogo(*this, *evento)) QDialog::keyPressEvent(evento);
}

}  // namespace vesko
