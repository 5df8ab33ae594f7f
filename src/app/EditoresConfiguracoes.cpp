#include "app/EditoresConfiguracoes.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QStyle>

namespace vesko {

bool FocoFoiParaOutroControle(const QWidget* editor) {
    // During the focus-out the application already names the new focus widget.
    const QWidget* novo = QApplication::focusWidget();
    return novo && novo != editor && !editor->isAncestorOf(novo) && novo->window() == editor->window();
}

// ---- directory edit ----------------------------------------------------------

TEdicaoDiretorio::TEdicaoDiretorio(const QString& nome, QWidget* parent) : QLineEdit(parent) {
    setObjectName(nome);
    BotaoPasta = addAction(style()->standardIcon(QStyle::SP_DirOpenIcon), QLineEdit::TrailingPosition);
    BotaoPasta->setObjectName(nome + QStringLiteral("Botao"));
    connect(BotaoPasta, &QAction::triggered, this, &TEdicaoDiretorio::BotaoClicado);
}

void TEdicaoDiretorio::keyPressEvent(QKeyEvent* evento) {
    if (evento->key() == Qt::Key_F2 && evento->modifiers() == Qt::NoModifier) {
        evento->accept();
        emit BotaoClicado();
        return;
    }
    QLineEdit::keyPressEvent(evento);
}

void TEdicaoDiretorio::focusOutEvent(QFocusEvent* evento) {
    const bool saida = FocoFoiParaOutroControle(this);
    QLineEdit::focusOutEvent(evento);
    if (saida) emit Saida();
}

// ---- spin edit ---------------------------------------------------------------

namespace {
int MaiorComDigitos(int digitos) {
    int n = 1;
    for (int i = 0; i < digitos; ++i) n *= 10;
    return n - 1;
}
}  // namespace

TEdicaoNumero::TEdicaoNumero(const QString& nome, int minimo, int maximo, int tag, int valorDesenho, QWidget* parent)
    : QSpinBox(parent), m_minimo(minimo), m_maximo(maximo), m_tag(tag) {
    setObjectName(nome);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    // What may be typed is limited by the digit count; the bounds are applied
    // by the buttons and on leaving.
    setRange(0, MaiorComDigitos(tag));
    setValue(valorDesenho);
}

void TEdicaoNumero::CorrigirAoSair() {
    bool ok = false;
    int v = lineEdit()->text().trimmed().toInt(&ok);
    if (!ok) v = m_minimo;  // nothing typed
    if (v > kLimiteDigitado) v = kLimiteDigitado;
    v = qBound(m_minimo, v, m_maximo);
    setValue(v);
}

void TEdicaoNumero::stepBy(int passos) {
    setValue(qBound(m_minimo, value() + passos, m_maximo));
    selectAll();
}

QAbstractSpinBox::StepEnabled TEdicaoNumero::stepEnabled() const {
    if (isReadOnly()) return StepNone;
    // A typed value out of the bounds: either button brings it back into them.
    StepEnabled passos = StepNone;
    if (value() != m_maximo) passos |= StepUpEnabled;
    if (value() != m_minimo) passos |= StepDownEnabled;
    return passos;
}

bool TEdicaoNumero::TeclaDescartada(const QKeyEvent& evento) const {
    if (evento.modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) return false;
    const QString texto = evento.text();
    if (texto.size() != 1) return false;
    const char16_t c = texto.front().unicode();
    if (c == u'+' || c == u'-' || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return true;
    if (c >= u'0' && c <= u'9') {
        // A digit that would make the text longer than Tag characters. Typing
        // over selected text replaces it, so the selection does not count.
        const QLineEdit* edit = lineEdit();
        return edit->text().size() - edit->selectedText().size() >= m_tag;
    }
    return false;
}

void TEdicaoNumero::keyPressEvent(QKeyEvent* evento) {
    if (TeclaDescartada(*evento)) {
        evento->accept();
        return;
    }
    QSpinBox::keyPressEvent(evento);
}

void TEdicaoNumero::focusOutEvent(QFocusEvent* evento) {
    if (FocoFoiParaOutroControle(this)) CorrigirAoSair();
    QSpinBox::focusOutEvent(evento);
}

}  // namespace vesko
