#include "app/ConfirmaSaida.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QValidator>

namespace vesko {
namespace {
// Every typed letter in upper case.
class TMaiusculas : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& texto, int&) const override {
        texto = texto.toUpper();
        return Acceptable;
    }
};
}  // namespace

TConfirmaSaida::TConfirmaSaida(const QString& NomeSistema, const QString& NomeProduto, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint) {
    QFont fonte(QStringLiteral("Segoe UI"));
    fonte.setPixelSize(13);
    setFont(fonte);
    QFont fonteLabel = fonte;
    fonteLabel.setPixelSize(15);
    const QString marrom = QStringLiteral("color: #800000; background: transparent;");

    lblDescricao = new QLabel(this);
    lblDescricao->setObjectName(QStringLiteral("lblDescricao"));
    lblDescricao->setAlignment(Qt::AlignCenter);
    lblDescricao->setWordWrap(true);
    lblDescricao->setFont(fonteLabel);
    lblDescricao->setStyleSheet(marrom);
    lblConfirmacao = new QLabel(this);
    lblConfirmacao->setObjectName(QStringLiteral("lblConfirmacao"));
    lblConfirmacao->setAlignment(Qt::AlignCenter);
    lblConfirmacao->setFont(fonteLabel);
    lblConfirmacao->setStyleSheet(marrom);
    lblConfirmo = new QLabel(QStringLiteral("Digite CONFIRMO"), this);
    lblConfirmo->setObjectName(QStringLiteral("lblConfirmo"));
    lblConfirmo->setStyleSheet(QStringLiteral("background: transparent;"));
    edtConfirmo = new QLineEdit(this);
    edtConfirmo->setObjectName(QStringLiteral("edtConfirmo"));
    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setEnabled(false);
    btnCancel = new QPushButton(QStringLiteral("Cancelar"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    setTabOrder(edtConfirmo, btnOk);
    setTabOrder(btnOk, btnCancel);

    setWindowTitle(QStringLiteral("Encerrar %1").arg(NomeSistema));
    lblDescricao->setText(QStringLiteral("Se o %1 for encerrado não haverá integração entre o %2 e a retaguarda e "
                                         "os dados poderão ficar desatualizados.")
                              .arg(NomeSistema, NomeProduto));
    lblConfirmacao->setText(QStringLiteral("Para encerrar o %1 digite CONFIRMO").arg(NomeSistema));

    // The design's layout (162 high); the width is the instruction line's + 10.
    const int largura = lblConfirmacao->fontMetrics().horizontalAdvance(lblConfirmacao->text()) + 10;
    const int larguraTexto = largura - 10;
    lblDescricao->setGeometry(5, 8, larguraTexto, 60);
    lblConfirmacao->setGeometry(5, 72, larguraTexto, 22);
    lblConfirmo->setGeometry(8, 104, 120, 18);
    edtConfirmo->setGeometry(8, 124, 150, 26);
    btnOk->setGeometry(largura - 168, 124, 78, 28);  // anchored to the right edge
    btnCancel->setGeometry(largura - 86, 124, 78, 28);
    setFixedSize(largura, 162);

    edtConfirmo->setValidator(new TMaiusculas(edtConfirmo));
    connect(edtConfirmo, &QLineEdit::textChanged, this, &TConfirmaSaida::edtConfirmoChange);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    edtConfirmo->installEventFilter(this);
}

void TConfirmaSaida::edtConfirmoChange(const QString& texto) {
    btnOk->setEnabled(texto == QLatin1String("CONFIRMO"));
    if (btnOk->isEnabled()) btnOk->setFocus();
}

bool TConfirmaSaida::eventFilter(QObject* objeto, QEvent* evento) {
    if (objeto == edtConfirmo && evento->type() == QEvent::KeyPress) {
        const int tecla = static_cast<QKeyEvent*>(evento)->key();
        if (tecla == Qt::Key_Return || tecla == Qt::Key_Enter) {
            focusNextChild();
            return true;
        }
        if (tecla == Qt::Key_Escape) {
            btnCancel->click();
            return true;
        }
    }
    return QDialog::eventFilter(objeto, evento);
}

}  // namespace vesko
