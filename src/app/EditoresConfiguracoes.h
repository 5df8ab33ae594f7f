#pragma once
// The two kinds of editor of the settings dialog: a directory edit with its
// folder button, and a spin edit whose typing is limited by a digit count
// rather than by its bounds.
#include <QLineEdit>
#include <QSpinBox>

class QAction;

namespace vesko {

// True when the focus, already moved away from `editor`, went to another
// control of the same window. A message box or another window taking the
// focus, or the window losing it, is not a leave.
bool FocoFoiParaOutroControle(const QWidget* editor);

// A directory edit with a folder button inside it; F2 presses the button.
class TEdicaoDiretorio : public QLineEdit {
    Q_OBJECT
public:
    TEdicaoDiretorio(const QString& nome, QWidget* parent);

    QAction* BotaoPasta;

signals:
    void BotaoClicado();
    // The user moved from this edit to another control of the dialog.
    void Saida();

protected:
    void keyPressEvent(QKeyEvent* evento) override;
    void focusOutEvent(QFocusEvent* evento) override;
};

// A right-aligned integer spin edit. Its buttons and arrow keys stay within
// Minimo..Maximo, while typing takes up to Tag digits whatever their value;
// leaving the edit (CorrigirAoSair) brings a typed value into the bounds.
class TEdicaoNumero : public QSpinBox {
    Q_OBJECT
public:
    TEdicaoNumero(const QString& nome, int minimo, int maximo, int tag, int valorDesenho, QWidget* parent);

    int Minimo() const { return m_minimo; }
    int Maximo() const { return m_maximo; }
    int Tag() const { return m_tag; }

    // Above 120: 120; below the minimum (or empty): the minimum; above the maximum: the maximum.
    void CorrigirAoSair();

    void stepBy(int passos) override;

    static constexpr int kLimiteDigitado = 120;

protected:
    StepEnabled stepEnabled() const override;
    void keyPressEvent(QKeyEvent* evento) override;
    void focusOutEvent(QFocusEvent* evento) override;

private:
    bool TeclaDescartada(const QKeyEvent& evento) const;

    int m_minimo;
    int m_maximo;
    int m_tag;
};

}  // namespace vesko
